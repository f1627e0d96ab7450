#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QDirIterator;
class QFileSystemWatcher;
class QTimer;

// Watches every folder below the projects root (not the root itself, not hidden folders) so
// that documents whose files disappear can be closed. The folders are walked a slice at a time
// from the event loop, so a large projects folder does not hold up the window. Folders beyond
// the system's limit of watches are simply not watched; the main window also checks its open
// documents when it is activated. The root itself is watched from the folder above it, so that
// its disappearance and return are noticed.
//
// Change notification does not see what other machines do on a network share, so a projects
// folder on a network file system is polled as well: every few seconds the folders the user
// can see (the root and the expanded folders, given by a callback) are listed and the open
// documents' files looked at; a difference is signalled like a local change.
class ProjectWatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultPollInterval = 3000; // milliseconds
    using PathList = std::function<QStringList()>;

    explicit ProjectWatcher(const QString& root, QObject* parent = nullptr);
    ~ProjectWatcher() override;

    bool isComplete() const { return !m_iterator; }
    int watchedCount() const { return m_watched; }
    int refusedCount() const { return m_refused; }
    // Walks the rest of the tree at once (tests and benchmarks).
    void finish();
    // Looks whether the root went away or came back (also done whenever the folder above it
    // changes); signals a change.
    void checkRoot();

    // Polling is switched on by itself for a folder on a network file system; tests force it.
    bool isPolling() const;
    void setPolling(bool on, int intervalMs = DefaultPollInterval);
    // Where polling looks: folders (besides the root) and files, asked again at every pass.
    void setPollSources(PathList folders, PathList files);
    // One pass of polling now.
    void poll();

signals:
    void directoryChanged(const QString& path);
    void walkFinished();
    // The root itself disappeared (a stick pulled out, a share gone offline, renamed away) or
    // came back.
    void rootVanished();
    void rootReturned();
    // Polling saw a file it was told to look at change or vanish.
    void fileChanged(const QString& path);

private:
    void walkSlice(int maxFolders);
    // Watches the nearest folder above the root that exists, where the root comes and goes.
    void watchAboveRoot();

    struct FileState
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const FileState& other) const;
    };
    static FileState stateOf(const QString& path);
    static QStringList listingOf(const QString& folder);

    QString m_root;
    bool m_rootPresent = false;
    QFileSystemWatcher* m_aboveRoot;
    QString m_watchedAbove;
    QFileSystemWatcher* m_watcher;
    QTimer* m_timer;
    std::unique_ptr<QDirIterator> m_iterator;
    int m_watched = 0;
    int m_refused = 0;

    QTimer* m_pollTimer;
    PathList m_pollFolders;
    PathList m_pollFiles;
    // What the last pass saw; a path seen for the first time only sets its baseline.
    QHash<QString, QStringList> m_listings;
    QHash<QString, FileState> m_files;
};
