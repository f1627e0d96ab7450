#include "ProjectWatcher.h"

#include <QDirIterator>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {
// Folders added per pass of the event loop: small enough to keep the window responsive.
constexpr int SliceSize = 200;
} // namespace

ProjectWatcher::ProjectWatcher(const QString& root, QObject* parent)
    : QObject(parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_timer(new QTimer(this))
{
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProjectWatcher::directoryChanged);
    if (root.isEmpty())
        return;
    m_iterator = std::make_unique<QDirIterator>(
        root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDirIterator::Subdirectories);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, [this]() { walkSlice(SliceSize); });
    m_timer->start();
}

ProjectWatcher::~ProjectWatcher() = default;

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
