#pragma once

#include <QString>

// Where the companion data-logger program is: beside Kestrovan, built into the same folder.
namespace DataLoggerProgram {
QString path();
// The logger's own settings store, where it leaves "Device/LastSavedFilePath".
QString lastSavedFilePath();
// Points at a stand-in program; for tests only, users cannot move the logger.
void overridePathForTests(const QString& path);
} // namespace DataLoggerProgram
