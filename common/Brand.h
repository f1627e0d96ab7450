#pragma once

#include "LoggerHandOver.h"

#include <QCoreApplication>
#include <QString>

// Build constants that make up the application's identity. The organisation name keys the
// settings stores and the data folder, and picks the brand's pictures from the resources.
namespace Brand {
inline QString organisationName()
{
    return QStringLiteral("Halvern");
}
inline QString organisationDomain()
{
    return QStringLiteral("halvern.example");
}
inline QString applicationName()
{
    return QStringLiteral("Kestrovan Elements");
}
inline QString applicationVersion()
{
    return QStringLiteral("V3.0");
}
inline QString loggerProgramName()
{
    return QStringLiteral("HalvernDataLogger");
}
inline QString loggerApplicationName()
{
    return LoggerHandOver::applicationName();
}
inline QString sharedProjectsFolderName()
{
    return QStringLiteral("Shared Kestrovan Projects");
}
inline QString templateFolderName()
{
    return QStringLiteral("reports");
}

// The product's name as windows and message boxes show it.
inline QString productTitle()
{
    return QCoreApplication::translate("MainWindow", "Kestrovan");
}

// ":res/images/<organisation><suffix>", e.g. brandImage("_splash.png").
inline QString brandImage(const QString& suffix)
{
    return QStringLiteral(":res/images/%1%2").arg(organisationName(), suffix);
}
} // namespace Brand
