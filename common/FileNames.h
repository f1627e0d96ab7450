#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Numbers a file or folder name until nothing exists at it: "Checklist.kstchk" becomes
// "Checklist (2).kstchk", a folder "New Folder" becomes "New Folder (2)". Only the text after
// the last dot of the name is the suffix. The path is rewritten in place.
void uniqueFileName(QString& path);

// Copies a file (usually out of the resources) and makes the copy readable and writable by
// everybody, as a copy out of the resources is read-only otherwise. An existing target is kept.
bool copyAsWritable(const QString& source, const QString& target);

// The one form in which paths are compared: absolute, with "." and ".." and symbolic links
// resolved, so that "Site A.kstatr" given on the command line and the tree's path of the same
// file are one file. A path that does not exist is made absolute and cleaned only.
QString canonicalPath(const QString& path);
// True when path is the folder itself or lies anywhere inside it (compared canonically).
bool isSameOrInside(const QString& path, const QString& folder);

// Reads a plain file whole when it holds at most maxSize bytes. False, with content empty, for
// anything else: a missing or unreadable file, a folder, a device or a named pipe (which may never
// end), a file above the limit (also one that grew beyond it while it was read).
bool readPlainFile(const QString& path, qint64 maxSize, QByteArray* content);
// Opens a plain file of at most maxSize bytes for reading, refusing what readPlainFile refuses,
// for readers that stop at their own limits while they read.
bool openPlainFile(const QString& path, qint64 maxSize, QFile* file);
