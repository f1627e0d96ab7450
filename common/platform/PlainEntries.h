#pragma once

#include <QByteArray>
#include <QString>

// Small files that someone else may have planted (lock files beside shared documents): what
// stands at a name is looked at without following a symbolic link, and writing never goes
// through one.
namespace PlainEntries {
enum class Kind {
    Missing,
    File, // a regular file
    Folder,
    Other, // a symbolic link (also to a file), a named pipe, a device or a socket
};
Kind kindOf(const QString& path);

// Reads a regular file of at most maxSize bytes. False, with content empty, for anything else:
// a link (never followed), a folder, a named pipe (never waited on), a device, a bigger file.
bool read(const QString& path, qint64 maxSize, QByteArray* content);

// Puts a new regular file holding data at path: written to a fresh file beside it (created
// exclusively, so never through a link) and renamed over the name. What stood there before, a
// link, pipe or device included, is replaced itself; what a link pointed to is never touched. An
// empty folder at the name is removed first; a folder with something in it stays and makes this
// fail. The file is readable by everybody (others read locks on a share).
bool replace(const QString& path, const QByteArray& data);

// Removes what stands at path itself (a link, never what it points to); not a folder.
bool remove(const QString& path);
} // namespace PlainEntries
