#pragma once

#include <QString>

// The contract between Kestrovan and its data logger: the logger keeps its settings in the
// store named here and leaves the path of the file it saved last under lastSavedFilePathKey;
// Kestrovan reads it when the logger has finished. Both programs use these definitions.
namespace LoggerHandOver {
inline QString organisationName()
{
    return QStringLiteral("Halvern");
}
inline QString applicationName()
{
    return QStringLiteral("Halvern DataLogger");
}
inline QString lastSavedFilePathKey()
{
    return QStringLiteral("Device/LastSavedFilePath");
}
// Each start of the logger may be given its own key on the command line ("--hand-over-key KEY");
// the logger then acknowledges the key at start (an empty value) and leaves every saved path
// under it as well, so that a launcher reads the file its own logger saved, whatever another
// logger saved meanwhile. The shared key above stays for whatever reads it alone.
inline QString launchKeyArgument()
{
    return QStringLiteral("--hand-over-key");
}
inline QString launchKey(const QString& key)
{
    return QStringLiteral("HandOver/%1").arg(key);
}
// Keys are made by the launcher; anything else is not taken as a settings key.
inline bool isValidLaunchKey(const QString& key)
{
    if (key.isEmpty() || key.size() > 64)
        return false;
    for (const QChar c : key) {
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('-')))
            return false;
    }
    return true;
}
} // namespace LoggerHandOver
