#include "DataLoggerProgram.h"

#include "Brand.h"
#include "LoggerHandOver.h"

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
    QSettings logger(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    return logger.value(LoggerHandOver::lastSavedFilePathKey()).toString();
}

void DataLoggerProgram::overridePathForTests(const QString& path)
{
    overridden() = path;
}
