#include "ProjectTreeController.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "DocumentFactory.h"
#include "FileNames.h"
#include "Folders.h"
#include "MdiWindow.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "Prompts.h"
#include "SearchResultsDocument.h"
#include "platform/Trash.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>

namespace {
QAction* makeAction(QObject* parent, const char* objectName, const QString& text, const QString& icon)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(objectName));
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    return action;
}

QString fileTypeIcon(const char* name)
{
    return QStringLiteral(":/res/fileTypes/%1.png").arg(QLatin1String(name));
}

QString toolButtonIcon(const char* name)
{
    return QStringLiteral(":/res/toolButtons/%1.png").arg(QLatin1String(name));
}
} // namespace

ProjectTreeController::ProjectTreeController(MdiWindow* window, ProjectTreeView* tree)
    : QObject(window)
    , m_window(window)
    , m_tree(tree)
{
    makeActions();
    attachModel();
    connect(m_tree, &ProjectTreeView::deleteRequested, this, &ProjectTreeController::removeSelected);
    connect(m_tree, &QAbstractItemView::activated, this, &ProjectTreeController::activated);
}

// The texts keep the translation context of the window that shows them.
void ProjectTreeController::makeActions()
{
    for (const DocumentRegistry::NewKind& kind : DocumentRegistry::newKinds()) {
        QAction* action = makeAction(m_window, kind.actionName,
            QCoreApplication::translate("MainWindow", kind.actionText), fileTypeIcon(kind.icon));
        connect(action, &QAction::triggered, this, [this, &kind] { createNew(kind); });
        m_newDocumentActions.append(action);
    }
    m_newClientHandoverPack = makeAction(m_window, "actionNewClientHandoverPack",
        QCoreApplication::translate("MainWindow", "New Client Handover Pack"), fileTypeIcon("chp_folder"));
    m_newClientHandoverPack->setToolTip(
        QCoreApplication::translate("MainWindow", "Create a new folder with a checklist in it"));
    m_newFolder = makeAction(m_window, "actionNewFolder",
        QCoreApplication::translate("MainWindow", "New Folder"), fileTypeIcon("folder"));
    m_delete = makeAction(m_window, "actionDelete", QCoreApplication::translate("MainWindow", "Delete"),
        toolButtonIcon("delete"));
    m_rename = makeAction(m_window, "actionRename", QCoreApplication::translate("MainWindow", "Rename"),
        toolButtonIcon("rename"));
    m_rename->setShortcut(QKeySequence(QStringLiteral("F2")));
    m_open = makeAction(m_window, "actionOpen", QCoreApplication::translate("MainWindow", "Open"), QString());
    m_open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    // Open and Rename act on the tree's selection; Rename's F2 and Open's Ctrl+O also work in the tree.
    for (QAction* action : { m_open, m_rename, m_delete })
        action->setEnabled(false);
    m_tree->addAction(m_open);
    m_tree->addAction(m_rename);

    connect(
        m_newClientHandoverPack, &QAction::triggered, this, &ProjectTreeController::createClientHandoverPack);
    connect(m_newFolder, &QAction::triggered, this,
        [this] { createFolderInRoot(QCoreApplication::translate("MainWindow", "%1/New Folder")); });
    connect(m_delete, &QAction::triggered, this, &ProjectTreeController::removeSelected);
    connect(m_rename, &QAction::triggered, this, [this] {
        const QModelIndex current = m_selection->currentIndex();
        if (current.isValid())
            m_tree->edit(current);
    });
    connect(m_open, &QAction::triggered, this, [this] { activated(m_selection->currentIndex()); });
}

void ProjectTreeController::attachModel()
{
    ProjectModel* oldModel = m_model;
    QItemSelectionModel* oldSelection = m_selection;
    m_model = new ProjectModel(this);
    m_model->setOpenChecks([this](const QString& path) { return m_window->findDocument(path) != nullptr; },
        [this](const QString& path) { return !m_window->documentsUnder(path).isEmpty(); });
    connect(m_model, &ProjectModel::renameRefused, this, &ProjectTreeController::tellRenameRefused);
    connect(m_model, &ProjectModel::dropIncomplete, this, &ProjectTreeController::tellDropIncomplete);
    m_tree->setProjectModel(m_model);
    QItemSelectionModel* viewsOwn = m_tree->selectionModel();
    m_selection = new QItemSelectionModel(m_model, this);
    m_tree->setSelectionModel(m_selection);
    delete viewsOwn;
    connect(
        m_selection, &QItemSelectionModel::currentChanged, this, &ProjectTreeController::selectionChanged);
    // Files can vanish in folders the watcher does not cover; the model sees those it shows.
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
        &ProjectTreeController::closeDocumentsOfMissingFiles, Qt::QueuedConnection);
    // The renamed item stays selected (the model shows the new name only later).
    connect(
        m_model, &ProjectModel::renamed, this,
        [this](const QString&, const QString& newPath) { selectPath(newPath); }, Qt::QueuedConnection);
    if (oldModel) {
        disconnect(oldSelection, nullptr, this, nullptr);
        disconnect(oldModel, nullptr, this, nullptr);
        delete oldSelection;
        oldModel->deleteLater();
    }
}

void ProjectTreeController::selectionChanged(const QModelIndex& current)
{
    const bool valid = current.isValid();
    m_open->setEnabled(valid);
    m_rename->setEnabled(valid);
    m_delete->setEnabled(valid);
    if (!valid)
        return;
    if (AbstractDocument* doc = m_window->findDocument(m_model->filePath(current)))
        m_window->setActiveDocument(doc);
}

void ProjectTreeController::activated(const QModelIndex& index)
{
    // Activating a folder opens it in the tree, not in the desktop's file manager.
    if (!index.isValid() || m_model->isDir(index))
        return;
    emit openRequested(m_model->filePath(index));
}

QModelIndex ProjectTreeController::indexInTree(const QString& path) const
{
    const QString root = m_model->rootPath();
    const auto underRoot = [&root](const QString& candidate) {
        return candidate == root || candidate.startsWith(root + QLatin1Char('/'));
    };
    if (underRoot(path))
        return m_model->index(path);
    // Another name of a file in the projects folder (through a link): its place under the root.
    const QString canonical = canonicalPath(path);
    const QString canonicalRoot = canonicalPath(root);
    if (canonical == canonicalRoot || canonical.startsWith(canonicalRoot + QLatin1Char('/')))
        return m_model->index(root + canonical.mid(canonicalRoot.size()));
    return QModelIndex();
}

void ProjectTreeController::selectPath(const QString& path, bool editName)
{
    const QModelIndex index = indexInTree(path);
    if (!index.isValid())
        return;
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_tree->scrollTo(index);
    if (editName)
        m_tree->edit(index);
}

QString ProjectTreeController::targetFolderForNew() const
{
    const QModelIndexList selected = m_selection->selectedIndexes();
    if (selected.isEmpty())
        return Folders::instance()->projectsFolder();
    const QModelIndex last = selected.last();
    const QFileInfo info = m_model->fileInfo(last);
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

QString ProjectTreeController::createNew(const DocumentRegistry::NewKind& kind)
{
    if (!projectsFolderIsThere())
        return QString();
    const QString root = Folders::instance()->projectsFolder();
    QString folder = targetFolderForNew();
    // New documents go into the projects folder and nowhere else.
    if (!QFileInfo(folder).isDir() || !isSameOrInside(folder, root))
        folder = root;
    const QString fileName = QStringLiteral("%1.%2").arg(
        QCoreApplication::translate("MainWindow", kind.fileName), QLatin1String(kind.suffix));
    const QString path = createNewDocument(folder, fileName);
    if (!path.isEmpty())
        selectPath(path, true);
    return path;
}

QString ProjectTreeController::createFolderInRoot(const QString& pathPattern)
{
    if (!projectsFolderIsThere())
        return QString();
    QString path = pathPattern.arg(Folders::instance()->projectsFolder());
    uniqueFileName(path);
    if (!QDir().mkpath(path)) {
        Prompts::show(QMessageBox::Critical, m_window,
            QCoreApplication::translate("Error Message", "Error creating \"%1\"").arg(path));
        return QString();
    }
    return path;
}

void ProjectTreeController::createClientHandoverPack()
{
    const QString path
        = createFolderInRoot(QCoreApplication::translate("MainWindow", "%1/New Client Handover Pack"));
    if (path.isEmpty())
        return;
    selectPath(path);
    const auto& kinds = DocumentRegistry::newKinds();
    const auto checklist = std::find_if(kinds.cbegin(), kinds.cend(),
        [](const DocumentRegistry::NewKind& kind) { return kind.type == Checklist; });
    if (checklist != kinds.cend())
        createNew(*checklist);
}

void ProjectTreeController::removeSelected()
{
    QStringList paths;
    const QModelIndexList selected = m_selection->selectedIndexes();
    for (const QModelIndex& index : selected) {
        const QString path = m_model->filePath(index);
        if (!paths.contains(path))
            paths.append(path);
    }
    // A file inside a selected folder goes to the trash with its folder.
    QStringList canonical;
    for (const QString& path : paths)
        canonical.append(canonicalPath(path) + QLatin1Char('/'));
    QStringList outermost;
    for (int i = 0; i < paths.size(); ++i) {
        const QString& inner = canonical.at(i);
        const bool insideAnother = std::any_of(canonical.cbegin(), canonical.cend(),
            [&inner](const QString& outer) { return inner != outer && inner.startsWith(outer); });
        if (!insideAnother)
            outermost.append(paths.at(i));
    }
    paths = outermost;
    if (paths.isEmpty())
        return;
    // No desktop shell asks first here, so the program does.
    const QString question = paths.size() == 1
        ? QCoreApplication::translate("User prompt", "Move \"%1\" to the trash?")
              .arg(QFileInfo(paths.first()).fileName())
        : QCoreApplication::translate("User prompt", "Move these %1 items to the trash?").arg(paths.size());
    if (!Prompts::askYesNo(m_window, question))
        return;
    for (const QString& path : paths) {
        if (!moveToTrash(path))
            Prompts::show(QMessageBox::Warning, m_window,
                QCoreApplication::translate("Warning Message", "\"%1\" could not be moved to the trash.")
                    .arg(path));
    }
    closeDocumentsOfMissingFiles();
}

void ProjectTreeController::tellRenameRefused(ProjectModel::RenameProblem problem, const QString& name)
{
    switch (problem) {
    case ProjectModel::RenameProblem::FileOpen:
        Prompts::show(QMessageBox::Critical, m_window,
            QCoreApplication::translate("Error Message",
                "File is already open in Kestrovan. Close it before attempting to set the name."),
            QString(), QMessageBox::Ok, Brand::productTitle());
        return;
    case ProjectModel::RenameProblem::FolderHoldsOpenFile:
        Prompts::show(QMessageBox::Critical, m_window,
            QCoreApplication::translate("Error Message",
                "A file in this folder is open in Kestrovan. Close it before attempting to set the name."),
            QString(), QMessageBox::Ok, Brand::productTitle());
        return;
    case ProjectModel::RenameProblem::NameUnusable:
        Prompts::show(QMessageBox::Warning, m_window,
            QCoreApplication::translate("Error Message", "The name \"%1\" cannot be used.").arg(name));
        return;
    case ProjectModel::RenameProblem::NameTaken:
        Prompts::show(QMessageBox::Warning, m_window,
            QCoreApplication::translate("Error Message", "\"%1\" already exists.").arg(name));
        return;
    case ProjectModel::RenameProblem::Failed:
        Prompts::show(QMessageBox::Warning, m_window,
            QCoreApplication::translate("Error Message", "\"%1\" could not be renamed.").arg(name));
        return;
    }
}

void ProjectTreeController::tellDropIncomplete(
    Qt::DropAction action, const QString& folder, const QStringList& open, const QStringList& failed)
{
    if (!open.isEmpty())
        Prompts::show(QMessageBox::Critical, m_window,
            QCoreApplication::translate(
                "Error Message", "File is already open in Kestrovan. Close it before attempting to move it."),
            open.join(QLatin1Char('\n')), QMessageBox::Ok, Brand::productTitle());
    if (!failed.isEmpty())
        Prompts::show(QMessageBox::Warning, m_window,
            action == Qt::CopyAction
                ? QCoreApplication::translate("Error Message", "These items could not be copied to \"%1\":")
                      .arg(folder)
                : QCoreApplication::translate("Error Message", "These items could not be moved to \"%1\":")
                      .arg(folder),
            failed.join(QLatin1Char('\n')));
}

void ProjectTreeController::projectsFolderChanged(const QString& newFolder)
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
    connect(m_watcher, &ProjectWatcher::directoryChanged, this, &ProjectTreeController::directoryChanged);
    // Queued: the watcher that reports it is replaced in the handling.
    connect(m_watcher, &ProjectWatcher::rootVanished, this, &ProjectTreeController::projectsFolderCameOrWent,
        Qt::QueuedConnection);
    connect(m_watcher, &ProjectWatcher::rootReturned, this, &ProjectTreeController::projectsFolderCameOrWent,
        Qt::QueuedConnection);
    // Polling (a network share) looks at what the user sees: expanded folders, open documents.
    m_watcher->setPollSources([this]() { return expandedFolders(); },
        [this]() {
            QStringList paths;
            const QList<AbstractDocument*> docs = m_window->documents();
            for (const AbstractDocument* doc : docs)
                paths.append(doc->filePath());
            return paths;
        });
    connect(
        m_watcher, &ProjectWatcher::fileChanged, this, &ProjectTreeController::closeDocumentsOfMissingFiles);
}

void ProjectTreeController::windowActivated()
{
    closeDocumentsOfMissingFiles();
    if (m_watcher)
        m_watcher->checkRoot();
}

QStringList ProjectTreeController::expandedFolders() const
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

void ProjectTreeController::projectsFolderCameOrWent()
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

void ProjectTreeController::projectsFolderUnreachable()
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
    Prompts::show(QMessageBox::Warning, m_window,
        QCoreApplication::translate("Error Message", "The projects folder \"%1\" cannot be reached.")
            .arg(Folders::instance()->projectsFolder()),
        QCoreApplication::translate("Error Message",
            "The network share or drive that holds it may be disconnected. Open documents stay open, but "
            "they cannot be saved until it is back; the tree shows it again as soon as it is."));
}

bool ProjectTreeController::projectsFolderIsThere()
{
    const QString root = Folders::instance()->projectsFolder();
    if (root.isEmpty())
        return false;
    if (!m_projectsUnreachable && QFileInfo(root).isDir())
        return true;
    Prompts::show(QMessageBox::Warning, m_window,
        QCoreApplication::translate("Error Message",
            "The projects folder \"%1\" cannot be found. Connect the drive or network share that holds "
            "it, or choose another projects folder in the settings.")
            .arg(root));
    return false;
}

void ProjectTreeController::directoryChanged(const QString& path)
{
    // The model's own notification misses what other machines change on a share.
    if (m_watcher && m_watcher->isPolling())
        m_model->refreshFolder(path);
    closeDocumentsOfMissingFiles();
}

void ProjectTreeController::closeDocumentsOfMissingFiles()
{
    // A save question may run the event loop, which may report the same change again.
    if (m_checkingDocuments)
        return;
    m_checkingDocuments = true;
    // Questions and notices below run the event loop, in which a document may go.
    QList<QPointer<AbstractDocument>> docs;
    for (AbstractDocument* doc : m_window->documents())
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
                Prompts::show(QMessageBox::Information, m_window,
                    QCoreApplication::translate("Informative Message",
                        "%1 was changed on disk since you opened it, by someone else or by another program.")
                        .arg(doc->fileName()),
                    QCoreApplication::translate("Informative Message",
                        "Close it and open it again to see those changes. If you change it here and save "
                        "it, you will be asked before they are overwritten."));
            }
        } else if (!m_keptWithoutFile.contains(path)) {
            QPointer<AbstractDocument> guard(doc);
            m_window->closeDocument(guard);
            if (guard && m_window->findDocument(path))
                m_keptWithoutFile.insert(path);
        }
    }
    m_checkingDocuments = false;
}
