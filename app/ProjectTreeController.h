#pragma once

#include "DocumentRegistry.h"
#include "ProjectModel.h"

#include <QList>
#include <QObject>
#include <QSet>

class MdiWindow;
class ProjectTreeView;
class ProjectWatcher;
class QAction;
class QItemSelectionModel;
class QModelIndex;

// What the document browser does with the projects folder: New, Rename, Delete and Open on the
// tree's selection, drops and renames the model refused, the folder's watcher and what it
// reports (the folder out of reach and back, files changed or gone under open documents). The
// window only places the tree and the actions; questions and notices go to the window.
class ProjectTreeController : public QObject
{
    Q_OBJECT
public:
    // window: the document area whose documents the tree must respect, the parent of the actions
    // and of every question; tree: the view the controller gives its model and selection.
    ProjectTreeController(MdiWindow* window, ProjectTreeView* tree);

    ProjectModel* model() const { return m_model; }
    ProjectWatcher* watcher() const { return m_watcher; }

    // New of each kind the registry lists, in its order.
    const QList<QAction*>& newDocumentActions() const { return m_newDocumentActions; }
    QAction* newFolderAction() const { return m_newFolder; }
    QAction* newClientHandoverPackAction() const { return m_newClientHandoverPack; }
    QAction* openAction() const { return m_open; }
    QAction* renameAction() const { return m_rename; }
    QAction* deleteAction() const { return m_delete; }

    // Selects a path in the tree (clearing the selection), scrolls to it and, when asked,
    // opens its name editor.
    void selectPath(const QString& path, bool editName = false);
    // Closes every open document whose file no longer exists, and tells about unmodified ones
    // whose file someone else changed.
    void closeDocumentsOfMissingFiles();
    // A new file of a kind in the selected folder (or the projects folder), selected with its
    // name editor open; its path, or empty when none was made (the user was told why).
    QString createNew(const DocumentRegistry::NewKind& kind);
    // Moves the selection to the trash after asking, outermost items only.
    void removeSelected();

public slots:
    void projectsFolderChanged(const QString& newFolder);
    // The window came to the front: what changed meanwhile is looked at now.
    void windowActivated();

signals:
    // A file of the tree to open as a document (activated, or Open).
    void openRequested(const QString& path);

private:
    void makeActions();
    // A fresh project model and selection on the tree.
    void attachModel();
    void selectionChanged(const QModelIndex& current);
    void activated(const QModelIndex& index);
    // The tree's item of a path in the projects folder, by whatever name the path was given.
    QModelIndex indexInTree(const QString& path) const;
    QString targetFolderForNew() const;
    // A new folder (numbered when taken) whose path is the pattern with the projects root for %1;
    // empty when it could not be made.
    QString createFolderInRoot(const QString& pathPattern);
    void createClientHandoverPack();
    // The folders expanded in the tree, the root not included.
    QStringList expandedFolders() const;
    void directoryChanged(const QString& path);
    // The projects folder went away or came back: show it anew.
    void projectsFolderCameOrWent();
    // The projects folder went away or its share hangs: said once, documents kept.
    void projectsFolderUnreachable();
    // True when the projects folder exists; tells the user otherwise.
    bool projectsFolderIsThere();
    void tellRenameRefused(ProjectModel::RenameProblem problem, const QString& name);
    void tellDropIncomplete(
        Qt::DropAction action, const QString& folder, const QStringList& open, const QStringList& failed);

    MdiWindow* m_window;
    ProjectTreeView* m_tree;
    ProjectModel* m_model = nullptr;
    QItemSelectionModel* m_selection = nullptr;
    ProjectWatcher* m_watcher = nullptr;
    bool m_checkingDocuments = false;
    bool m_projectsUnreachable = false;
    // Documents whose file vanished but whose user chose to keep them open: asked once only.
    QSet<QString> m_keptWithoutFile;

    QList<QAction*> m_newDocumentActions;
    QAction* m_newFolder = nullptr;
    QAction* m_newClientHandoverPack = nullptr;
    QAction* m_open = nullptr;
    QAction* m_rename = nullptr;
    QAction* m_delete = nullptr;
};
