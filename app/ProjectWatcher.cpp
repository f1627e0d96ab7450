#include "ProjectWatcher.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

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
{
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProjectWatcher::directoryChanged);
    if (root.isEmpty())
        return;
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
