#pragma once

#include <QFileInfo>
#include <QString>
#include <functional>

// Visits every file and folder below root, depth first: a folder's files, then each of its
// subfolders followed by that subfolder's contents; entries in name order, case-insensitively.
// Symbolic links and hidden entries are skipped, so a link loop cannot trap the walk; folders
// that cannot be read are passed over silently. The walk keeps its own stack, so no nesting depth
// can exhaust the thread's. visit returns false to end the walk, and walk then returns false. The
// walk does not touch an entry once visit has seen it, so visit may hand it to another thread.
namespace FolderWalk {
bool walk(const QString& root, const std::function<bool(const QFileInfo&)>& visit);
}
