#pragma once

#include <QString>

// The keys of the logger's settings store (the store itself is named in LoggerHandOver.h).
namespace LoggerSettings {
inline QString portName()
{
    return QStringLiteral("Device/PortName");
}
inline QString readTimeout()
{
    return QStringLiteral("Device/ReadTimeout");
}
inline QString geometry()
{
    return QStringLiteral("MainWindow/Geometry");
}
inline QString state()
{
    return QStringLiteral("MainWindow/State");
}
inline QString convertData()
{
    return QStringLiteral("ConvertData");
}
inline QString languageGroup()
{
    return QStringLiteral("HvGui/DialogLanguage");
}
inline QString languageFilePath()
{
    return QStringLiteral("%1/FilePath").arg(languageGroup());
}
inline QString languageCode()
{
    return QStringLiteral("%1/Iso639Code").arg(languageGroup());
}
// Read time-out in milliseconds when none (or nonsense) is stored.
constexpr int DefaultReadTimeout = 110;
} // namespace LoggerSettings
