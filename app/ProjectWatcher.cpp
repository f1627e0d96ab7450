#include "ProjectWatcher.h"

#include "ProjectScanner.h"

#include <QCoreApplication>
#include <QFileSystemWatcher>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <iterator>

ProjectWatcher::ProjectWatcher(const QString& root, QObject* parent, std::shared_ptr<FolderProbe> probe)
    : QObject(parent)
    , m_root(root)
    , m_aboveRoot(new QFileSystemWatcher(this))
    , m_watcher(new QFileSystemWatcher(this))
    , m_pollTimer(new QTimer(this))
    , m_hangTimer(new QTimer(this))
    , m_recheckTimer(new QTimer(this))
{
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProjectWatcher::directoryChanged);
    connect(m_pollTimer, &QTimer::timeout, this, &ProjectWatcher::poll);
    m_hangTimer->setSingleShot(true);
    m_hangTimer->setInterval(DefaultHangTimeout);
    connect(m_hangTimer, &QTimer::timeout, this, &ProjectWatcher::hung);
    m_recheckTimer->setInterval(DefaultRecheckInterval);
    connect(m_recheckTimer, &QTimer::timeout, this, &ProjectWatcher::checkRoot);
    if (root.isEmpty()) {
        m_walkDone = true;
        return;
    }
    // Until the first answer the root counts as there: nothing is closed or announced for a
    // share that is merely slow to answer at first.
    m_rootPresent = true;
    connect(m_aboveRoot, &QFileSystemWatcher::directoryChanged, this, &ProjectWatcher::checkRoot);

    m_thread = new QThread;
    m_scanner = new ProjectScanner(root, std::move(probe));
    m_scanner->moveToThread(m_thread);
    // Both go once the thread has ended, which may be long after this watcher (a hung share).
    connect(m_thread, &QThread::finished, m_scanner, &QObject::deleteLater);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    connect(m_scanner, &ProjectScanner::networkFound, this, [this](bool onNetwork) {
        if (onNetwork && !isPolling())
            setPolling(true);
    });
    connect(m_scanner, &ProjectScanner::rootChecked, this, &ProjectWatcher::rootChecked);
    connect(m_scanner, &ProjectScanner::foldersFound, this, &ProjectWatcher::foldersFound);
    connect(m_scanner, &ProjectScanner::walkFinished, this, [this]() {
        m_walkDone = true;
        emit walkFinished();
    });
    connect(m_scanner, &ProjectScanner::directoryChanged, this, &ProjectWatcher::directoryChanged);
    connect(m_scanner, &ProjectScanner::fileSeen, this,
        [this](const QString& path, bool exists, qint64 size, const QDateTime& modified) {
            FolderProbe::FileState& state = m_seenFiles[path];
            state.exists = exists;
            state.size = size;
            state.modified = modified;
        });
    connect(m_scanner, &ProjectScanner::fileChanged, this, &ProjectWatcher::fileChanged);
    connect(m_scanner, &ProjectScanner::passDone, this, &ProjectWatcher::passDone);
    m_thread->start();
    send(Start, [scanner = m_scanner]() { scanner->start(Start); });
}

ProjectWatcher::~ProjectWatcher()
{
    if (!m_thread)
        return;
    // Waited for only briefly: a thread stuck in a hung share ends (and cleans up) when the share
    // answers. One that ends at once is deleted here, because the deferred delete it would post
    // to this thread is lost when the program ends before it is handled.
    m_scanner->stop();
    disconnect(m_scanner, nullptr, this, nullptr);
    m_thread->quit();
    if (m_thread->wait(ThreadEndWait))
        delete m_thread;
}

bool ProjectWatcher::send(Request kind, const std::function<void()>& request)
{
    // One request of a kind at a time: a share that is slow to answer is not asked more.
    if (!m_scanner || m_inFlight[kind])
        return false;
    m_inFlight[kind] = true;
    if (!m_hangTimer->isActive())
        m_hangTimer->start();
    QMetaObject::invokeMethod(m_scanner, request, Qt::QueuedConnection);
    return true;
}

void ProjectWatcher::passDone(int kind)
{
    if (kind >= 0 && kind < RequestKinds)
        m_inFlight[kind] = false;
    if (isIdle())
        m_hangTimer->stop();
    else
        m_hangTimer->start();
}

bool ProjectWatcher::isIdle() const
{
    return std::none_of(std::begin(m_inFlight), std::end(m_inFlight), [](bool busy) { return busy; });
}

void ProjectWatcher::hung()
{
    // Still no answer: the share hangs. It counts as gone until it answers again.
    setRootPresent(false);
}

bool ProjectWatcher::lastSeen(const QString& path, FolderProbe::FileState* state) const
{
    const auto seen = m_seenFiles.constFind(path);
    if (seen == m_seenFiles.constEnd())
        return false;
    *state = *seen;
    return true;
}

void ProjectWatcher::setTimings(int hangTimeoutMs, int recheckIntervalMs)
{
    m_hangTimer->setInterval(qMax(1, hangTimeoutMs));
    m_recheckTimer->setInterval(qMax(1, recheckIntervalMs));
}

void ProjectWatcher::rootChecked(bool present, const QString& above)
{
    // Watches the nearest folder above the root that exists, where the root comes and goes.
    if (above != m_watchedAbove) {
        if (!m_watchedAbove.isEmpty())
            m_aboveRoot->removePath(m_watchedAbove);
        m_watchedAbove = !above.isEmpty() && m_aboveRoot->addPath(above) ? above : QString();
    }
    setRootPresent(present);
}

void ProjectWatcher::setRootPresent(bool present)
{
    // While the root is gone it is looked for again and again: a share mounted again makes no
    // change in the folder above that notification would see.
    if (present)
        m_recheckTimer->stop();
    else if (!m_recheckTimer->isActive())
        m_recheckTimer->start();
    if (present == m_rootPresent)
        return;
    m_rootPresent = present;
    if (present)
        emit rootReturned();
    else
        emit rootVanished();
}

void ProjectWatcher::foldersFound(const QStringList& folders)
{
    // A walk that reports progress is slow, not hung.
    if (m_hangTimer->isActive())
        m_hangTimer->start();
    const QStringList refused = m_watcher->addPaths(folders);
    m_refused += refused.size();
    m_watched += folders.size() - refused.size();
}

void ProjectWatcher::finish()
{
    while (!m_walkDone && m_rootPresent && m_scanner)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void ProjectWatcher::checkRoot()
{
    send(Check, [scanner = m_scanner]() { scanner->checkRoot(Check); });
}

bool ProjectWatcher::isPolling() const
{
    return m_pollTimer->isActive();
}

void ProjectWatcher::setPolling(bool on, int intervalMs)
{
    if (!on) {
        m_pollTimer->stop();
        m_seenFiles.clear();
        if (m_scanner)
            QMetaObject::invokeMethod(m_scanner, &ProjectScanner::forget, Qt::QueuedConnection);
        return;
    }
    m_pollTimer->start(qMax(1, intervalMs));
    // The baseline: changes count from now on.
    poll();
}

void ProjectWatcher::setPollSources(PathList folders, PathList files)
{
    m_pollFolders = std::move(folders);
    m_pollFiles = std::move(files);
}

void ProjectWatcher::poll()
{
    if (m_root.isEmpty() || !m_scanner || m_inFlight[Poll])
        return;
    QStringList folders { m_root };
    if (m_pollFolders)
        folders += m_pollFolders();
    folders.removeDuplicates();
    const QStringList files = m_pollFiles ? m_pollFiles() : QStringList();
    send(Poll, [scanner = m_scanner, folders, files]() { scanner->poll(Poll, folders, files); });
}
