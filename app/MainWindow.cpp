#include "MainWindow.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "DataLoggerLauncher.h"
#include "Desktop.h"
#include "DialogAbout.h"
#include "DialogImportResults.h"
#include "DialogSettings.h"
#include "DialogWelcome.h"
#include "DocumentFactory.h"
#include "FindInFiles.h"
#include "Folders.h"
#include "FoundFilesModel.h"
#include "GraphicalReportDocument.h"
#include "LanguageChoice.h"
#include "MainWindowRef.h"
#include "ProjectTreeController.h"
#include "ProjectTreeView.h"
#include "Prompts.h"
#include "ResultsImport.h"
#include "SearchResultsDocument.h"
#include "SettingsKeys.h"
#include "Startup.h"
#include "WelcomeEvent.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSplashScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

MainWindow::MainWindow(QWidget* parent)
    : MdiWindow(parent)
{
    setCurrentMainWindow(this);
    if (restartRequested())
        Folders::instance(true);
    buildForm();
    connect(m_tree, &QWidget::customContextMenuRequested, this, &MainWindow::showTreeContextMenu);

    QSettings settings;
    if (!restoreGeometry(settings.value(SettingsKeys::mainWindowGeometry()).toByteArray())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(firstStartGeometry(screen->availableGeometry(), minimumSizeHint()));
    }
    restoreState(settings.value(SettingsKeys::mainWindowState()).toByteArray());

    connect(m_projects, &ProjectTreeController::openRequested, this, &MainWindow::openAndKeepValid);
    connect(this, &MdiWindow::activeDocumentChanged, this, &MainWindow::documentChanged);
    connect(m_findInFiles, &FindInFiles::searchStarted, this, &MainWindow::showResultsDocument);

    m_resultsImport = new ResultsImport(
        this, [this]() { return qobject_cast<GraphicalReportDocument*>(activeDocument()); }, this);
    m_logger = new DataLoggerLauncher(this, this);
    connect(m_logger, &DataLoggerLauncher::fileToImport, this, &MainWindow::importFile);

    connect(Folders::instance(), &Folders::projectsFolderChanged, m_projects,
        &ProjectTreeController::projectsFolderChanged);
    Folders::instance()->projectsFolder();

    if (restartRequested())
        restartRequested() = false;
    else
        QCoreApplication::postEvent(this, new WelcomeEvent);
}

MainWindow::~MainWindow()
{
    QSettings settings;
    settings.setValue(SettingsKeys::mainWindowGeometry(), saveGeometry());
    settings.setValue(SettingsKeys::mainWindowState(), saveState());
    disconnect(m_projects->model(), nullptr, m_projects, nullptr);
    // The documents go with the document area, after this part of the window: what they signal
    // on the way out must not reach it.
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs)
        disconnect(doc, nullptr, this, nullptr);
    if (currentMainWindow() == this)
        setCurrentMainWindow(nullptr);
}

QRect MainWindow::firstStartGeometry(const QRect& available, const QSize& minimum)
{
    QRect area(QPoint(), (available.size() * 0.8).expandedTo(minimum));
    area.moveCenter(available.center());
    // A window that cannot be made small enough for the screen keeps its title bar on it.
    area.moveTopLeft(QPoint(std::max(area.left(), available.left()), std::max(area.top(), available.top())));
    return area;
}

QAction* MainWindow::makeAction(const char* objectName, const QString& text, const QString& icon)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(objectName));
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    return action;
}

void MainWindow::buildForm()
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(751, 617);
    setDocumentMode(true);
    setWindowIcon(QIcon(QStringLiteral(":res/images/logo.ico")));
    setWindowTitle(tr("Application"));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = new QMdiArea(central);
    area->setObjectName(QStringLiteral("mdiArea"));
    area->setBackground(QBrush(QPixmap(QStringLiteral(":/res/images/tile.png"))));
    layout->addWidget(area);
    setCentralWidget(central);

    m_browserDock = new QDockWidget(tr("Document Browser"), this);
    m_browserDock->setObjectName(QStringLiteral("documentBrowser"));
    m_tree = new ProjectTreeView(m_browserDock);
    m_tree->setObjectName(QStringLiteral("treeView"));
    m_browserDock->setWidget(m_tree);
    addDockWidget(Qt::LeftDockWidgetArea, m_browserDock);

    m_searchDock = new QDockWidget(tr("Document Search"), this);
    m_searchDock->setObjectName(QStringLiteral("documentSearch"));
    m_findInFiles = new FindInFiles(m_searchDock);
    m_findInFiles->setObjectName(QStringLiteral("findInFiles"));
    m_searchDock->setWidget(m_findInFiles);
    addDockWidget(Qt::LeftDockWidgetArea, m_searchDock);
    tabifyDockWidget(m_browserDock, m_searchDock);
    m_browserDock->raise();

    m_projects = new ProjectTreeController(this, m_tree);
    const QString buttons = QStringLiteral(":/res/toolButtons/%1.png");
    m_actionSave = makeAction("actionSave", tr("Save"), buttons.arg(QStringLiteral("save")));
    m_actionSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    m_actionSave->setEnabled(false);
    m_actionSettings
        = makeAction("actionSettings", tr("Settings..."), buttons.arg(QStringLiteral("settings")));
    m_actionAbout = makeAction("actionAbout", tr("About..."), buttons.arg(QStringLiteral("about")));
    m_actionScreencastTutorial = makeAction(
        "actionScreencastTutorial", tr("Screencast Tutorial..."), buttons.arg(QStringLiteral("screencast")));
    m_actionPDFManual = makeAction(
        "actionPDFManual", tr("PDF Instruction Manual"), buttons.arg(QStringLiteral("export_pdf")));
    // Reached through the report tool bars, not through a menu.
    m_actionImport = makeAction("actionImport", tr("Import..."), buttons.arg(QStringLiteral("import")));
    m_actionDownload
        = makeAction("actionDownload", tr("Download ..."), buttons.arg(QStringLiteral("download")));
    // Documents carry their own Ctrl+S; two actions with one key in one window cancel each other
    // out, so the main window's Save answers its key only in the tree (and its menus).
    m_actionSave->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_tree->addAction(m_actionSave);

    buildMenus();
    setupDocumentArea(area, m_windowMenu);
    m_projects->newClientHandoverPackAction()->setVisible(false);
    m_languageMenu->menuAction()->setVisible(false);
    m_actionPDFManual->setVisible(false);
    // The tutorial is a page installed beside the program; without it there is nothing to show.
    m_actionScreencastTutorial->setVisible(!DialogWelcome::tutorialPage().isEmpty());
}

void MainWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("File"));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    m_fileMenu->addActions(m_projects->newDocumentActions());
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({ m_projects->newClientHandoverPackAction(), m_projects->newFolderAction() });
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({ m_actionSave, m_projects->deleteAction(), m_projects->renameAction() });
    m_fileMenu->addSeparator();
    m_editMenu = menuBar()->addMenu(tr("Edit"));
    m_editMenu->setObjectName(QStringLiteral("menuEdit"));
    m_editMenu->addAction(m_actionSettings);
    m_languageMenu = menuBar()->addMenu(tr("Language"));
    m_languageMenu->setObjectName(QStringLiteral("menuLanguage"));
    connect(m_languageMenu, &QMenu::triggered, this, &MainWindow::switchLanguage);
    m_windowMenu = menuBar()->addMenu(tr("Window"));
    m_windowMenu->setObjectName(QStringLiteral("menuWindow"));
    m_helpMenu = menuBar()->addMenu(tr("Help"));
    m_helpMenu->setObjectName(QStringLiteral("menuHelp"));
    m_helpMenu->addActions({ m_actionAbout, m_actionScreencastTutorial, m_actionPDFManual });

    connect(m_actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(m_actionSettings, &QAction::triggered, this, &MainWindow::showSettingsDialog);
    connect(m_actionAbout, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_actionScreencastTutorial, &QAction::triggered, this, &MainWindow::showScreencastTutorial);
    connect(m_actionPDFManual, &QAction::triggered, this, &MainWindow::showPDFManual);
    connect(m_actionImport, &QAction::triggered, this, &MainWindow::import);
    connect(m_actionDownload, &QAction::triggered, this, &MainWindow::download);
}

AbstractDocument* MainWindow::openDocument(const QString& filePath)
{
    if (AbstractDocument* open = findDocument(filePath))
        return open;
    // A document always knows its file by an absolute path: a relative one from the command line
    // would point elsewhere once the working folder is not the one it was given in.
    const QString absolute
        = filePath.isEmpty() ? filePath : QDir::cleanPath(QFileInfo(filePath).absoluteFilePath());
    AbstractDocument* doc = createDocument(absolute, nullptr);
    if (doc && doc->isValid()) {
        MdiWindow::openDocument(doc);
        connect(doc, &AbstractDocument::titleChanged, this, &MainWindow::documentTitleChanged);
        if (auto* report = qobject_cast<GraphicalReportDocument*>(doc)) {
            // The download lands in the report that started it, whichever is active later.
            connect(report, &GraphicalReportDocument::fileToImport, this,
                [this, report](const QString& path) { m_resultsImport->importFile(path, report); });
            connect(report->importAction(), &QAction::triggered, this, &MainWindow::import);
        }
    }
    return doc;
}

void MainWindow::openAndKeepValid(const QString& filePath)
{
    AbstractDocument* doc = openDocument(filePath);
    if (doc && !doc->isValid())
        delete doc;
}

void MainWindow::showResultsDocument()
{
    // The file name is what makes the results list open as such, so it is the same in every
    // language; the list shows its title translated.
    const QString path = QStringLiteral("%1/%2").arg(
        Folders::instance()->appDataFolder(), SearchResultsDocument::documentFileName());
    // An open results document is reused where it is: a new search does not bring it to the front.
    AbstractDocument* doc = openDocument(path);
    auto* results = qobject_cast<SearchResultsDocument*>(doc);
    if (!results) {
        if (doc && !doc->isValid())
            delete doc;
        return;
    }
    connect(results, &SearchResultsDocument::openDocument, this, &MainWindow::openSearchHit,
        Qt::UniqueConnection);
    connect(m_findInFiles, &FindInFiles::searchFinished, results, &SearchResultsDocument::resizeColumns,
        Qt::UniqueConnection);
    results->setModel(m_findInFiles->model());
}

void MainWindow::openSearchHit(const QString& path)
{
    // The list is as old as the search: the entry may have gone since. Handing a missing file to
    // the desktop would fail where the user cannot see it.
    if (!findDocument(path) && !QFileInfo::exists(path)) {
        Prompts::show(QMessageBox::Warning, this,
            QCoreApplication::translate("Error Message", "%1 no longer exists.").arg(path),
            QCoreApplication::translate("Error Message",
                "It was moved, renamed or deleted after the search found it. Search again to bring the "
                "list up to date."));
        return;
    }
    // As in the document browser: a folder is shown in the tree, a file opens as a document.
    if (QFileInfo(path).isDir()) {
        m_browserDock->show();
        m_browserDock->raise();
        m_projects->selectPath(path);
        return;
    }
    openAndKeepValid(path);
}

void MainWindow::loadCommandLineFiles()
{
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i)
        openAndKeepValid(arguments.at(i));
}

void MainWindow::documentChanged(AbstractDocument*, AbstractDocument* to)
{
    if (to)
        m_projects->selectPath(to->filePath());
    AbstractDocument* active = activeDocument();
    m_actionSave->setEnabled(active && active->isModified() && !active->isReadOnly());
}

void MainWindow::documentTitleChanged(AbstractDocument* doc)
{
    if (doc == activeDocument())
        m_actionSave->setEnabled(doc->isModified() && !doc->isReadOnly());
}

void MainWindow::save()
{
    // A document opened read-only is never written, whatever its kind.
    AbstractDocument* doc = activeDocument();
    if (doc && !doc->isReadOnly())
        doc->save();
}

QMenu* MainWindow::createTreeContextMenu(const QPoint& pos)
{
    auto* menu = new QMenu(m_tree);
    if (m_tree->indexAt(pos).isValid()) {
        menu->addAction(m_projects->openAction());
        menu->setDefaultAction(m_projects->openAction());
        menu->addSeparator();
        menu->addActions({ m_actionSave, m_projects->deleteAction(), m_projects->renameAction() });
        menu->addSeparator();
    }
    menu->addActions(m_projects->newDocumentActions());
    menu->addSeparator();
    menu->addAction(m_projects->newFolderAction());
    return menu;
}

void MainWindow::showTreeContextMenu(const QPoint& pos)
{
    QMenu* menu = createTreeContextMenu(pos);
    menu->exec(m_tree->viewport()->mapToGlobal(pos));
    delete menu;
}

void MainWindow::showSettingsDialog()
{
    DialogSettings dialog(this);
    Prompts::instance().execDialog(&dialog);
    if (dialog.languageChanged())
        offerRestartForLanguage();
}

void MainWindow::showAbout()
{
    DialogAbout dialog(this);
    Prompts::instance().execDialog(&dialog);
}

void MainWindow::showScreencastTutorial()
{
    const QString page = DialogWelcome::tutorialPage();
    if (!page.isEmpty())
        Desktop::openUrl(QUrl::fromLocalFile(page));
}

void MainWindow::showPDFManual()
{
    Desktop::openUrl(QUrl::fromLocalFile(
        QCoreApplication::applicationDirPath() + QStringLiteral("/Bedienungsanleitung.pdf")));
}

void MainWindow::switchLanguage(QAction* action)
{
    QSettings().remove(SettingsKeys::localeFollowsSystem());
    QSettings().setValue(SettingsKeys::locale(), action->data().toLocale().name());
    offerRestartForLanguage();
}

void MainWindow::offerRestartForLanguage()
{
    MessageRequest request;
    request.icon = QMessageBox::Question;
    request.windowIcon = QIcon(Brand::brandImage(QStringLiteral("_logo.ico")));
    request.text = QCoreApplication::translate(
        "User prompt", "The language will be changed next time the application is started.");
    request.informativeText = QCoreApplication::translate("User prompt", "Would you like to restart now?");
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    if (Prompts::instance().message(request) == QMessageBox::Yes) {
        restartRequested() = true;
        // A document whose user cancelled its save question keeps the window, and a later close
        // then ends the program as it should.
        if (!close())
            restartRequested() = false;
    }
}

void MainWindow::resetWindowLayout()
{
    m_browserDock->setFloating(false);
    addDockWidget(Qt::LeftDockWidgetArea, m_browserDock, Qt::Vertical);
    m_browserDock->show();
    m_searchDock->setFloating(false);
    addDockWidget(Qt::LeftDockWidgetArea, m_searchDock, Qt::Vertical);
    tabifyDockWidget(m_browserDock, m_searchDock);
    m_searchDock->show();
}

void MainWindow::import()
{
    m_resultsImport->chooseFile();
}

DialogImportResults* MainWindow::importDialog() const
{
    return m_resultsImport->dialog();
}

void MainWindow::importFile(const QString& path)
{
    m_resultsImport->importFile(path);
}

void MainWindow::download()
{
    m_logger->start();
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == WelcomeEvent::EventType) {
        // Start-up finishes the splash screen on this window, which waits for the window to be
        // exposed while handling events, this one among them: the splash would stay over the
        // welcome dialog until the dialog closed.
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (auto* splash = qobject_cast<QSplashScreen*>(window))
                splash->close();
        }
        if (DialogWelcome::shouldShow()) {
            DialogWelcome dialog(this);
            Prompts::instance().execDialog(&dialog);
        }
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        m_projects->windowActivated();
    return MdiWindow::event(event);
}
