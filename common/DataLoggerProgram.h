#pragma once

#include <QString>

// Where the companion data-logger program is: beside Kestrovan, built into the same folder.
namespace DataLoggerProgram {
QString path();
// The logger's own settings store, where it leaves "Device/LastSavedFilePath".
QString lastSavedFilePath();
// What the logger started with this hand-over key saved: true with the path (empty when it
// saved nothing) when the logger took the key, false when it did not (a logger that knows only
// the shared key). The key is removed from the store.
bool takeLaunchResult(const QString& key, QString* path);
// Points at a stand-in program; for tests only, users cannot move the logger.
void overridePathForTests(const QString& path);
} // namespace DataLoggerProgram
