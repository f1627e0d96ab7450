#pragma once

#include "FolderProbe.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

// The part of the projects folder watcher that touches the file system: it runs on a thread of
// its own, so that a slow or hung network share never holds up the window. Each request ends
// with passDone(); what it found is signalled before.
class ProjectScanner : public QObject
{
    Q_OBJECT
public:
    ProjectScanner(const QString& root, std::shared_ptr<FolderProbe> probe);

    // From any thread: a walk under way stops at the next folder.
    void stop() { m_stopped = true; }

public slots:
    // Whether the root lies on a network share and is there; then the folders below it, in batches.
    // Each request carries a tag that its passDone() gives back.
    void start(int tag);
    void checkRoot(int tag);
    // One pass of polling: folders (the root among them) and files compared with the last pass;
    // a path seen for the first time only sets its baseline.
    void poll(int tag, const QStringList& folders, const QStringList& files);
    void forget();

signals:
    void networkFound(bool onNetwork);
    // above: the nearest folder above the root that exists.
    void rootChecked(bool present, const QString& above);
    void foldersFound(const QStringList& folders);
    void walkFinished();
    void directoryChanged(const QString& path);
    void fileChanged(const QString& path);
    // What a pass saw of each file it was told to look at.
    void fileSeen(const QString& path, bool exists, qint64 size, const QDateTime& modified);
    void passDone(int tag);

private:
    bool reportRoot();
    QStringList listingOf(const QString& folder);

    const QString m_root;
    const std::shared_ptr<FolderProbe> m_probe;
    std::atomic<bool> m_stopped { false };
    QHash<QString, QStringList> m_listings;
    QHash<QString, FolderProbe::FileState> m_files;
};
