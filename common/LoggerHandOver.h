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
} // namespace LoggerHandOver
