#pragma once

#include <QObject>
#include <QStringList>
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
class ProjectWatcher : public QObject
{
    Q_OBJECT
public:
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

signals:
    void directoryChanged(const QString& path);
    void walkFinished();
    // The root itself disappeared (a stick pulled out, a share gone offline, renamed away) or
    // came back.
    void rootVanished();
    void rootReturned();

private:
    void walkSlice(int maxFolders);
    // Watches the nearest folder above the root that exists, where the root comes and goes.
    void watchAboveRoot();

    QString m_root;
    bool m_rootPresent = false;
    QFileSystemWatcher* m_aboveRoot;
    QString m_watchedAbove;
    QFileSystemWatcher* m_watcher;
    QTimer* m_timer;
    std::unique_ptr<QDirIterator> m_iterator;
    int m_watched = 0;
    int m_refused = 0;
};
