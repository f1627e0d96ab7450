#include "MainWindow.h"

#include "AbstractDocument.h"
#include "Folders.h"
#include "ProjectModel.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "Prompts.h"
#include "SearchResultsDocument.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

// The main window's side of the projects folder: the tree's folder and its watcher, the folder
// going out of reach and coming back, and open documents whose files went or changed.

void MainWindow::projectsFolderChanged(const QString& newFolder)
{
    // Always a fresh model: one whose folder went away and came back keeps stale entries and
    // never sees new ones.
    attachModel();
    if (QFileInfo(newFolder).isDir()) {
        m_model->setRootPath(newFolder);
        m_tree->setRootIndex(m_model->index(newFolder));
    } else {
        // A projects folder that is not there shows nothing, not the folders around it.
        m_tree->setProjectModel(nullptr);
    }
    delete m_watcher;
    m_watcher = new ProjectWatcher(newFolder, this);
    connect(m_watcher, &ProjectWatcher::directoryChanged, this, &MainWindow::directoryChanged);
    // Queued: the watcher that reports it is replaced in the handling.
    connect(m_watcher, &ProjectWatcher::rootVanished, this, &MainWindow::projectsFolderCameOrWent,
        Qt::QueuedConnection);
    connect(m_watcher, &ProjectWatcher::rootReturned, this, &MainWindow::projectsFolderCameOrWent,
        Qt::QueuedConnection);
    // Polling (a network share) looks at what the user sees: expanded folders, open documents.
    m_watcher->setPollSources([this]() { return expandedFolders(); },
        [this]() {
            QStringList paths;
            const QList<AbstractDocument*> docs = documents();
            for (const AbstractDocument* doc : docs)
                paths.append(doc->filePath());
            return paths;
        });
    connect(m_watcher, &ProjectWatcher::fileChanged, this, &MainWindow::closeDocumentsOfMissingFiles);
}

QStringList MainWindow::expandedFolders() const
{
    QStringList folders;
    if (!m_model || !m_tree->model())
        return folders;
    QList<QModelIndex> pending { m_tree->rootIndex() };
    while (!pending.isEmpty()) {
        const QModelIndex parent = pending.takeLast();
        const int rows = m_model->rowCount(parent);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = m_model->index(row, 0, parent);
            if (m_tree->isExpanded(child) && m_model->isDir(child)) {
                folders.append(m_model->filePath(child));
                pending.append(child);
            }
        }
    }
    return folders;
}

void MainWindow::projectsFolderCameOrWent()
{
    if (m_watcher && !m_watcher->isRootPresent()) {
        projectsFolderUnreachable();
        return;
    }
    // Back (or another one): shown afresh, with a watcher of its own.
    m_projectsUnreachable = false;
    projectsFolderChanged(Folders::instance()->projectsFolder());
    closeDocumentsOfMissingFiles();
}

void MainWindow::projectsFolderUnreachable()
{
    // The watcher stays and tells when the folder is back. The tree shows nothing meanwhile:
    // using what it showed would wait on the share.
    const bool wasShown = m_tree->model() != nullptr;
    m_tree->setProjectModel(nullptr);
    if (m_projectsUnreachable || !wasShown)
        return;
    m_projectsUnreachable = true;
    // Documents stay open: their files may only be out of reach for a while, and closing them
    // would ask to save to a place that cannot be written.
    Prompts::show(QMessageBox::Warning, this,
        QCoreApplication::translate("Error Message", "The projects folder \"%1\" cannot be reached.")
            .arg(Folders::instance()->projectsFolder()),
        QCoreApplication::translate("Error Message",
            "The network share or drive that holds it may be disconnected. Open documents stay open, but "
            "they cannot be saved until it is back; the tree shows it again as soon as it is."));
}

bool MainWindow::projectsFolderIsThere()
{
    const QString root = Folders::instance()->projectsFolder();
    if (root.isEmpty())
        return false;
    if (!m_projectsUnreachable && QFileInfo(root).isDir())
        return true;
    Prompts::show(QMessageBox::Warning, this,
        QCoreApplication::translate("Error Message",
            "The projects folder \"%1\" cannot be found. Connect the drive or network share that holds "
            "it, or choose another projects folder in the settings.")
            .arg(root));
    return false;
}

void MainWindow::directoryChanged(const QString& path)
{
    // The model's own notification misses what other machines change on a share.
    if (m_watcher && m_watcher->isPolling())
        m_model->refreshFolder(path);
    closeDocumentsOfMissingFiles();
}

void MainWindow::closeDocumentsOfMissingFiles()
{
    // A save question may run the event loop, which may report the same change again.
    if (m_checkingDocuments)
        return;
    m_checkingDocuments = true;
    // Questions and notices below run the event loop, in which a document may go.
    QList<QPointer<AbstractDocument>> docs;
    for (AbstractDocument* doc : documents())
        docs.append(doc);
    // Files in a projects folder out of reach are not gone: their documents stay, unlooked at.
    const QString root = Folders::instance()->projectsFolder();
    // A share that is polled is looked at by the watcher's thread only; the window goes by what
    // it saw last.
    const bool polled = m_watcher && m_watcher->isPolling();
    bool rootReachable = !m_projectsUnreachable && (!m_watcher || m_watcher->isRootPresent());
    if (rootReachable && !polled && !root.isEmpty() && !QFileInfo(root).isDir()) {
        rootReachable = false;
        if (m_watcher)
            m_watcher->checkRoot();
    }
    for (const QPointer<AbstractDocument>& doc : qAsConst(docs)) {
        // The search results list has a name but no file of its own.
        if (!doc || qobject_cast<SearchResultsDocument*>(doc))
            continue;
        const QString path = doc->filePath();
        if (!rootReachable && !root.isEmpty() && path.startsWith(root + QLatin1Char('/')))
            continue;
        FolderProbe::FileState seen;
        const bool wasSeen = polled && m_watcher->lastSeen(path, &seen);
        if (wasSeen ? seen.exists : QFileInfo::exists(path)) {
            m_keptWithoutFile.remove(path);
            // Someone else saved it: what is shown here is no longer what the file holds.
            if (wasSeen ? doc->takeUnannouncedDiskChange(seen.size, seen.modified)
                        : doc->takeUnannouncedDiskChange()) {
                Prompts::show(QMessageBox::Information, this,
                    QCoreApplication::translate("Informative Message",
                        "%1 was changed on disk since you opened it, by someone else or by another program.")
                        .arg(doc->fileName()),
                    QCoreApplication::translate("Informative Message",
                        "Close it and open it again to see those changes. If you change it here and save "
                        "it, you will be asked before they are overwritten."));
            }
        } else if (!m_keptWithoutFile.contains(path)) {
            QPointer<AbstractDocument> guard(doc);
            closeDocument(guard);
            if (guard && findDocument(path))
                m_keptWithoutFile.insert(path);
        }
    }
    m_checkingDocuments = false;
}
