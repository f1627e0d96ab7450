#pragma once

#include <QDateTime>
#include <QStringList>
#include <memory>

// The file-system calls the projects folder watcher makes. They may block for a long time on a
// slow or hung network share, so the watcher makes them on a thread of its own; tests give it a
// probe of their own to play such a share.
class FolderProbe
{
public:
    struct FileState
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const FileState& other) const;
    };

    virtual ~FolderProbe();
    virtual bool isFolder(const QString& path) = 0;
    // Every name in a folder, hidden ones included, sorted.
    virtual QStringList entries(const QString& folder) = 0;
    // The folders directly inside a folder (full paths), without hidden ones and links to folders.
    virtual QStringList subfolders(const QString& folder) = 0;
    virtual FileState state(const QString& path) = 0;
    virtual bool isOnNetwork(const QString& path) = 0;

    // The real file system, or what a test put in its place.
    static std::shared_ptr<FolderProbe> system();
    static void replaceSystem(std::shared_ptr<FolderProbe> probe);
};
