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

bool DataLoggerProgram::takeLaunchResult(const QString& key, QString* path)
{
    QSettings logger(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    const QString name = LoggerHandOver::launchKey(key);
    if (!LoggerHandOver::isValidLaunchKey(key) || !logger.contains(name))
        return false;
    *path = logger.value(name).toString();
    logger.remove(name);
    return true;
}

void DataLoggerProgram::overridePathForTests(const QString& path)
{
    overridden() = path;
}
