#pragma once

#include "MdiWindow.h"

class AbstractDocument;
class DataLoggerLauncher;
class DialogImportResults;
class FindInFiles;
class ProjectModel;
class ProjectTreeController;
class ProjectTreeView;
class ProjectWatcher;
class QAction;
class QDockWidget;
class QMenu;
class ResultsImport;

// The one top-level window of Kestrovan: the document browser on the left, the open documents
// as tabs in the middle, and the menus. What the browser does is its controller's.
class MainWindow : public MdiWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Where the window opens when no geometry is stored: most of the available screen area,
    // centred on it, and never smaller than the window can be.
    static QRect firstStartGeometry(const QRect& available, const QSize& minimum);

    ProjectTreeController* projectTree() const { return m_projects; }
    ProjectTreeView* treeView() const { return m_tree; }
    // The tree's context menu at a point of the tree's viewport (shown by showTreeContextMenu).
    QMenu* createTreeContextMenu(const QPoint& pos);

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
    void showSettingsDialog();
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
    void buildMenus();
    QAction* makeAction(const char* objectName, const QString& text, const QString& icon);
    // Opens a path and throws away a document that could not be shown.
    void openAndKeepValid(const QString& filePath);
    // A new language was stored: says it takes effect at the next start, offers to restart now.
    void offerRestartForLanguage();

    ProjectTreeView* m_tree = nullptr;
    ProjectTreeController* m_projects = nullptr;
    QDockWidget* m_browserDock = nullptr;
    QDockWidget* m_searchDock = nullptr;
    FindInFiles* m_findInFiles = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_helpMenu = nullptr;

    QAction* m_actionSave = nullptr;
    QAction* m_actionSettings = nullptr;
    QAction* m_actionAbout = nullptr;
    QAction* m_actionScreencastTutorial = nullptr;
    QAction* m_actionPDFManual = nullptr;
    QAction* m_actionImport = nullptr;
    QAction* m_actionDownload = nullptr;

    ResultsImport* m_resultsImport = nullptr;
    DataLoggerLauncher* m_logger = nullptr;
};
