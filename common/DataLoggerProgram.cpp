#include "DataLoggerProgram.h"

#include "Brand.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
QString& overridden()
{
    static QString path;
    return path;
}
} // namespace

QString DataLoggerProgram::path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QStringLiteral("%1/%2").arg(QCoreApplication::applicationDirPath(), Brand::loggerProgramName());
}

QString DataLoggerProgram::lastSavedFilePath()
{
    QSettings logger(Brand::organisationName(), Brand::loggerApplicationName());
    return logger.value(QStringLiteral("Device/LastSavedFilePath")).toString();
}

void DataLoggerProgram::overridePathForTests(const QString& path)
{
    overridden() = path;
}
