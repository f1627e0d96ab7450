#pragma once

#include "MdiWindow.h"

#include <QModelIndex>
#include <QSet>

class AbstractDocument;
class DataLoggerLauncher;
class DialogImportResults;
class FindInFiles;
class ProjectModel;
class ProjectTreeView;
class ProjectWatcher;
class QAction;
class QDockWidget;
class QItemSelectionModel;
class QMenu;
class ResultsImport;

// The one top-level window of Kestrovan: the document browser on the left, the open documents
// as tabs in the middle, and the menus.
class MainWindow : public MdiWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The open document of this file, or null; paths are compared in canonical form, so a
    // relative path or one through a symbolic link finds the same document.
    AbstractDocument* findDocument(const QString& filePath) const;
    // The open documents of this file, or of files anywhere inside this folder.
    QList<AbstractDocument*> documentsUnder(const QString& path) const;

    // Where the window opens when no geometry is stored: most of the available screen area,
    // centred on it, and never smaller than the window can be.
    static QRect firstStartGeometry(const QRect& available, const QSize& minimum);

    ProjectModel* projectModel() const { return m_model; }
    ProjectTreeView* treeView() const { return m_tree; }
    ProjectWatcher* projectWatcher() const { return m_watcher; }
    // The tree's context menu at a point of the tree's viewport (shown by showTreeContextMenu).
    QMenu* createTreeContextMenu(const QPoint& pos);
    // Selects a path in the tree (clearing the selection), scrolls to it and, when asked,
    // opens its name editor.
    void selectPath(const QString& path, bool editName = false);
    // Closes every open document whose file no longer exists, and tells about unmodified ones
    // whose file someone else changed.
    void closeDocumentsOfMissingFiles();

    DialogImportResults* importDialog() const;
    ResultsImport* resultsImport() const { return m_resultsImport; }
    DataLoggerLauncher* dataLogger() const { return m_logger; }
    FindInFiles* findInFiles() const { return m_findInFiles; }
    QDockWidget* searchDock() const { return m_searchDock; }
    // Shows a tester's results file in the import dialog (after a download or Import...).
    void importFile(const QString& path);

public slots:
    AbstractDocument* openDocument(const QString& filePath);
    void import();
    void download();

private slots:
    void projectsFolderChanged(const QString& newFolder);
    void selectionChanged(const QModelIndex& current, const QModelIndex& previous);
    void openDocument(const QModelIndex& index);
    void directoryChanged(const QString& path);
    void createNewInspectionReport();
    void createNewTestReport();
    void createNewVerificationCertificate();
    void createNewInstallationDiagram();
    void createNewChecklistReport();
    void createNewCurveData();
    void createClientHandoverPack();
    void createNewFolder();
    void showSettingsDialog();
    void open();
    void remove();
    void rename();
    void save();
    void showTreeContextMenu(const QPoint& pos);
    void documentTitleChanged(AbstractDocument* doc);
    void showAbout();
    void loadCommandLineFiles();
    void documentChanged(AbstractDocument* from, AbstractDocument* to);
    void showResultsDocument();
    void openSearchHit(const QString& path);
    void showScreencastTutorial();
    void showPDFManual();
    void switchLanguage(QAction* action);

public:
    void resetWindowLayout() override;

protected:
    bool event(QEvent* event) override;

private:
    void buildForm();
    // The tree's item of a path in the projects folder, by whatever name the path was given.
    QModelIndex indexInTree(const QString& path) const;
    // A fresh project model and selection on the tree.
    void attachModel();
    // The projects folder went away or came back: show it anew.
    void projectsFolderCameOrWent();
    // The projects folder went away or its share hangs: said once, documents kept.
    void projectsFolderUnreachable();
    // True when the projects folder exists; tells the user otherwise.
    bool projectsFolderIsThere();
    QAction* makeAction(const char* objectName, const QString& text, const QString& icon);
    QString createNew(const QString& fileName);
    QString targetFolderForNew() const;
    // A new folder (numbered when taken) whose path is the pattern with the projects root for %1;
    // empty when it could not be made.
    QString createFolderInRoot(const QString& pathPattern);
    // The folders expanded in the tree, the root not included.
    QStringList expandedFolders() const;
    // Opens a path and throws away a document that could not be shown.
    void openAndKeepValid(const QString& filePath);
    // A new language was stored: says it takes effect at the next start, offers to restart now.
    void offerRestartForLanguage();

    ProjectModel* m_model = nullptr;
    ProjectTreeView* m_tree = nullptr;
    QItemSelectionModel* m_selection = nullptr;
    ProjectWatcher* m_watcher = nullptr;
    QDockWidget* m_browserDock = nullptr;
    QDockWidget* m_searchDock = nullptr;
    FindInFiles* m_findInFiles = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    bool m_checkingDocuments = false;
    bool m_projectsUnreachable = false;
    // Documents whose file vanished but whose user chose to keep them open: asked once only.
    QSet<QString> m_keptWithoutFile;

    QAction* m_actionNewInspectionReport = nullptr;
    QAction* m_actionNewTestReport = nullptr;
    QAction* m_actionNewVerificationCertificate = nullptr;
    QAction* m_actionNewInstallationDiagram = nullptr;
    QAction* m_actionNewChecklist = nullptr;
    QAction* m_actionNewCurveData = nullptr;
    QAction* m_actionNewClientHandoverPack = nullptr;
    QAction* m_actionNewFolder = nullptr;
    QAction* m_actionSave = nullptr;
    QAction* m_actionDelete = nullptr;
    QAction* m_actionRename = nullptr;
    QAction* m_actionOpen = nullptr;
    QAction* m_actionSettings = nullptr;
    QAction* m_actionAbout = nullptr;
    QAction* m_actionScreencastTutorial = nullptr;
    QAction* m_actionPDFManual = nullptr;
    QAction* m_actionImport = nullptr;
    QAction* m_actionDownload = nullptr;

    ResultsImport* m_resultsImport = nullptr;
    DataLoggerLauncher* m_logger = nullptr;
};
