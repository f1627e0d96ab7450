#include "ProjectScanner.h"

#include "DocumentLock.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>

namespace {
// Folders reported at a time while walking.
constexpr int BatchSize = 200;
constexpr qint64 ReportEveryMs = 500;
} // namespace

ProjectScanner::ProjectScanner(const QString& root, std::shared_ptr<FolderProbe> probe)
    : m_root(root)
    , m_probe(std::move(probe))
{ }

void ProjectScanner::start(int tag)
{
    emit networkFound(m_probe->isOnNetwork(m_root));
    if (reportRoot()) {
        // Breadth first, without recursion: folder trees on a share can be deep.
        QStringList pending { m_root };
        QStringList batch;
        QElapsedTimer sinceReport;
        sinceReport.start();
        while (!pending.isEmpty() && !m_stopped) {
            const QStringList below = m_probe->subfolders(pending.takeFirst());
            pending += below;
            batch += below;
            // Often enough on a slow share that the watcher sees progress, not a hang.
            if (batch.size() >= BatchSize || sinceReport.elapsed() >= ReportEveryMs) {
                emit foldersFound(batch);
                batch.clear();
                sinceReport.restart();
            }
        }
        if (!batch.isEmpty())
            emit foldersFound(batch);
        if (!m_stopped)
            emit walkFinished();
    }
    emit passDone(tag);
}

bool ProjectScanner::reportRoot()
{
    const bool present = m_probe->isFolder(m_root);
    QString above = QFileInfo(m_root).absolutePath();
    while (!m_probe->isFolder(above)) {
        const QString next = QFileInfo(above).absolutePath();
        if (next == above)
            break;
        above = next;
    }
    emit rootChecked(present, above);
    return present;
}

void ProjectScanner::checkRoot(int tag)
{
    reportRoot();
    emit passDone(tag);
}

QStringList ProjectScanner::listingOf(const QString& folder)
{
    QStringList names = m_probe->entries(folder);
    // Other programs' document locks come and go; they are not part of what the tree shows.
    const QString lockPrefix = DocumentLock::lockFilePrefix();
    names.erase(std::remove_if(names.begin(), names.end(),
                    [&lockPrefix](const QString& name) { return name.startsWith(lockPrefix); }),
        names.end());
    return names;
}

void ProjectScanner::poll(int tag, const QStringList& folders, const QStringList& files)
{
    QHash<QString, QStringList> listings;
    for (const QString& folder : folders) {
        QStringList listing = listingOf(folder);
        const auto before = m_listings.constFind(folder);
        if (before != m_listings.constEnd() && *before != listing)
            emit directoryChanged(folder);
        listings.insert(folder, std::move(listing));
    }
    // Folders no longer shown are forgotten: looked at again, they start a new baseline.
    m_listings = std::move(listings);

    QHash<QString, FolderProbe::FileState> states;
    for (const QString& path : files) {
        const FolderProbe::FileState state = m_probe->state(path);
        emit fileSeen(path, state.exists, state.size, state.modified);
        const auto before = m_files.constFind(path);
        if (before != m_files.constEnd() && !(*before == state))
            emit fileChanged(path);
        states.insert(path, state);
    }
    m_files = std::move(states);
    reportRoot();
    emit passDone(tag);
}

void ProjectScanner::forget()
{
    m_listings.clear();
    m_files.clear();
}
