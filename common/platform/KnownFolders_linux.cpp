#include "KnownFolders.h"

#include <QDir>
#include <QStandardPaths>

// A Linux desktop has no shared "public" folders for all users, so the user's own
// documents folder and data folder stand in for them.
QString knownFolderPath(KnownFolder folder)
{
    QString path;
    switch (folder) {
    case KnownFolder::PublicDocuments:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case KnownFolder::ProgramData:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    }
    return QDir::fromNativeSeparators(path);
}
