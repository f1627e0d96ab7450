#include "ProjectWatcher.h"

#include "DocumentLock.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace {
// Folders added per pass of the event loop: small enough to keep the window responsive.
constexpr int SliceSize = 200;
} // namespace

ProjectWatcher::ProjectWatcher(const QString& root, QObject* parent)
    : QObject(parent)
    , m_root(root)
    , m_rootPresent(!root.isEmpty() && QFileInfo(root).isDir())
    , m_aboveRoot(new QFileSystemWatcher(this))
    , m_watcher(new QFileSystemWatcher(this))
    , m_timer(new QTimer(this))
    , m_pollTimer(new QTimer(this))
{
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProjectWatcher::directoryChanged);
    connect(m_pollTimer, &QTimer::timeout, this, &ProjectWatcher::poll);
    if (root.isEmpty())
        return;
    if (SystemInfo::isOnNetworkFileSystem(root))
        setPolling(true);
    connect(m_aboveRoot, &QFileSystemWatcher::directoryChanged, this, &ProjectWatcher::checkRoot);
    watchAboveRoot();
    if (!m_rootPresent)
        return;
    m_iterator = std::make_unique<QDirIterator>(
        root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDirIterator::Subdirectories);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, [this]() { walkSlice(SliceSize); });
    m_timer->start();
}

ProjectWatcher::~ProjectWatcher() = default;

void ProjectWatcher::watchAboveRoot()
{
    QDir above(QFileInfo(m_root).absolutePath());
    while (!above.exists() && !above.isRoot())
        above.setPath(QFileInfo(above.absolutePath()).absolutePath());
    const QString path = above.absolutePath();
    if (path == m_watchedAbove)
        return;
    if (!m_watchedAbove.isEmpty())
        m_aboveRoot->removePath(m_watchedAbove);
    m_watchedAbove = m_aboveRoot->addPath(path) ? path : QString();
}

void ProjectWatcher::checkRoot()
{
    if (m_root.isEmpty())
        return;
    const bool present = QFileInfo(m_root).isDir();
    watchAboveRoot();
    if (present == m_rootPresent)
        return;
    m_rootPresent = present;
    if (present)
        emit rootReturned();
    else
        emit rootVanished();
}

void ProjectWatcher::finish()
{
    walkSlice(std::numeric_limits<int>::max());
}

void ProjectWatcher::walkSlice(int maxFolders)
{
    if (!m_iterator)
        return;
    QStringList folders;
    while (folders.size() < maxFolders && m_iterator->hasNext())
        folders.append(m_iterator->next());
    if (!folders.isEmpty()) {
        const QStringList refused = m_watcher->addPaths(folders);
        m_refused += refused.size();
        m_watched += folders.size() - refused.size();
    }
    if (!m_iterator->hasNext()) {
        m_iterator.reset();
        m_timer->stop();
        emit walkFinished();
    }
}

bool ProjectWatcher::FileState::operator==(const FileState& other) const
{
    return exists == other.exists && size == other.size && modified == other.modified;
}

bool ProjectWatcher::isPolling() const
{
    return m_pollTimer->isActive();
}

void ProjectWatcher::setPolling(bool on, int intervalMs)
{
    if (!on) {
        m_pollTimer->stop();
        m_listings.clear();
        m_files.clear();
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

ProjectWatcher::FileState ProjectWatcher::stateOf(const QString& path)
{
    const QFileInfo info(path);
    FileState state;
    state.exists = info.exists();
    if (state.exists) {
        state.size = info.size();
        state.modified = info.lastModified();
    }
    return state;
}

QStringList ProjectWatcher::listingOf(const QString& folder)
{
    QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    // Other programs' document locks come and go; they are not part of what the tree shows.
    const QString lockPrefix = DocumentLock::lockFilePrefix();
    names.erase(std::remove_if(names.begin(), names.end(),
                    [&lockPrefix](const QString& name) { return name.startsWith(lockPrefix); }),
        names.end());
    return names;
}

void ProjectWatcher::poll()
{
    if (m_root.isEmpty())
        return;
    QStringList folders { m_root };
    if (m_pollFolders)
        folders += m_pollFolders();
    folders.removeDuplicates();
    QStringList changed;
    QHash<QString, QStringList> listings;
    for (const QString& folder : qAsConst(folders)) {
        QStringList listing = listingOf(folder);
        const auto before = m_listings.constFind(folder);
        if (before != m_listings.constEnd() && *before != listing)
            changed.append(folder);
        listings.insert(folder, std::move(listing));
    }
    // Folders no longer shown are forgotten: looked at again, they start a new baseline.
    m_listings = std::move(listings);

    QStringList changedFiles;
    QHash<QString, FileState> files;
    const QStringList paths = m_pollFiles ? m_pollFiles() : QStringList();
    for (const QString& path : paths) {
        const FileState state = stateOf(path);
        const auto before = m_files.constFind(path);
        if (before != m_files.constEnd() && !(*before == state))
            changedFiles.append(path);
        files.insert(path, state);
    }
    m_files = std::move(files);

    // Signalled last: a receiver may ask questions and run the event loop meanwhile, in which
    // this watcher may be replaced.
    const QPointer<ProjectWatcher> self(this);
    for (const QString& folder : qAsConst(changed)) {
        emit directoryChanged(folder);
        if (!self)
            return;
    }
    for (const QString& path : qAsConst(changedFiles)) {
        emit fileChanged(path);
        if (!self)
            return;
    }
    checkRoot();
}
