#pragma once

#include "FolderProbe.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class ProjectScanner;
class QFileSystemWatcher;
class QThread;
class QTimer;

// Watches every folder below the projects root (not the root itself, not hidden folders) so
// that documents whose files disappear can be closed. Folders beyond the system's limit of
// watches are simply not watched; the main window also checks its open documents when it is
// activated. The root itself is watched from the folder above it, and looked at again every few
// seconds while it is gone (a share mounted again is not seen by change notification).
//
// Change notification does not see what other machines do on a network share, so a projects
// folder on a network file system is polled as well: every few seconds the folders the user
// can see (the root and the expanded folders, given by a callback) are listed and the open
// documents' files looked at; a difference is signalled like a local change.
//
// Every call that may touch the share (walking, listing, looking at files and at the root) runs
// on a thread of the watcher's own: the window never waits for a slow share. A request that
// does not come back in time means the share hangs: the root counts as gone until it answers.
class ProjectWatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultPollInterval = 3000; // milliseconds
    static constexpr int DefaultRecheckInterval = 2000;
    static constexpr int DefaultHangTimeout = 5000;
    // How long closing waits for the scan thread to end before leaving it to end on its own.
    static constexpr int ThreadEndWait = 200;
    using PathList = std::function<QStringList()>;

    explicit ProjectWatcher(const QString& root, QObject* parent = nullptr,
        std::shared_ptr<FolderProbe> probe = FolderProbe::system());
    ~ProjectWatcher() override;

    bool isComplete() const { return m_walkDone; }
    int watchedCount() const { return m_watched; }
    int refusedCount() const { return m_refused; }
    // Waits until the walk of the tree is done (tests and benchmarks).
    void finish();
    // Looks whether the root went away or came back (also done whenever the folder above it
    // changes); signals a change.
    void checkRoot();
    // Whether the root was there at the last look, and answered in time.
    bool isRootPresent() const { return m_rootPresent; }
    // No request to the share is under way.
    bool isIdle() const;

    // Polling is switched on by itself for a folder on a network file system; tests force it.
    bool isPolling() const;
    void setPolling(bool on, int intervalMs = DefaultPollInterval);
    // Where polling looks: folders (besides the root) and files, asked again at every pass.
    void setPollSources(PathList folders, PathList files);
    // One pass of polling now (skipped while the previous request is still under way).
    void poll();
    // What the last pass of polling saw of a file it looked at; false when it has not looked.
    // The window asks this instead of looking at a polled share itself.
    bool lastSeen(const QString& path, FolderProbe::FileState* state) const;
    // How long a request may take before the share counts as hung, and how often a root that
    // is gone is looked for (tests make them short).
    void setTimings(int hangTimeoutMs, int recheckIntervalMs);

signals:
    void directoryChanged(const QString& path);
    void walkFinished();
    // The root itself disappeared (a stick pulled out, a share gone offline or hung, renamed
    // away) or came back.
    void rootVanished();
    void rootReturned();
    // Polling saw a file it was told to look at change or vanish.
    void fileChanged(const QString& path);

private:
    enum Request { Start, Check, Poll, RequestKinds };
    bool send(Request kind, const std::function<void()>& request);
    void passDone(int kind);
    void hung();
    void rootChecked(bool present, const QString& above);
    void setRootPresent(bool present);
    void foldersFound(const QStringList& folders);

    QString m_root;
    bool m_rootPresent = false;
    bool m_walkDone = false;
    QFileSystemWatcher* m_aboveRoot;
    QString m_watchedAbove;
    QFileSystemWatcher* m_watcher;
    QThread* m_thread = nullptr;
    ProjectScanner* m_scanner = nullptr;
    bool m_inFlight[RequestKinds] = {};
    int m_watched = 0;
    int m_refused = 0;

    QTimer* m_pollTimer;
    QTimer* m_hangTimer;
    QTimer* m_recheckTimer;
    PathList m_pollFolders;
    PathList m_pollFiles;
    QHash<QString, FolderProbe::FileState> m_seenFiles;
};
