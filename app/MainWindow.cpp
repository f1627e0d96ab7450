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
#include "FileNames.h"
#include "FindInFiles.h"
#include "Folders.h"
#include "FoundFilesModel.h"
#include "GraphicalReportDocument.h"
#include "LanguageChoice.h"
#include "MainWindowRef.h"
#include "ProjectModel.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "Prompts.h"
#include "ResultsImport.h"
#include "SearchResultsDocument.h"
#include "SettingsKeys.h"
#include "Startup.h"
#include "WelcomeEvent.h"
#include "platform/Trash.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
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

    attachModel();
    connect(m_tree, &QWidget::customContextMenuRequested, this, &MainWindow::showTreeContextMenu);
    connect(m_tree, &ProjectTreeView::deleteRequested, this, &MainWindow::remove);

    QSettings settings;
    if (!restoreGeometry(settings.value(SettingsKeys::mainWindowGeometry()).toByteArray())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(firstStartGeometry(screen->availableGeometry(), minimumSizeHint()));
    }
    restoreState(settings.value(SettingsKeys::mainWindowState()).toByteArray());

    connect(m_tree, &QAbstractItemView::activated, this,
        qOverload<const QModelIndex&>(&MainWindow::openDocument));
    connect(this, &MdiWindow::activeDocumentChanged, this, &MainWindow::documentChanged);
    connect(m_findInFiles, &FindInFiles::searchStarted, this, &MainWindow::showResultsDocument);

    m_resultsImport = new ResultsImport(
        this, [this]() { return qobject_cast<GraphicalReportDocument*>(activeDocument()); }, this);
    m_logger = new DataLoggerLauncher(this, this);
    connect(m_logger, &DataLoggerLauncher::fileToImport, this, &MainWindow::importFile);

    connect(Folders::instance(), &Folders::projectsFolderChanged, this, &MainWindow::projectsFolderChanged);
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
    disconnect(m_model, nullptr, this, nullptr);
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

    const QString fileTypes = QStringLiteral(":/res/fileTypes/%1.png");
    const QString buttons = QStringLiteral(":/res/toolButtons/%1.png");
    m_actionNewInspectionReport = makeAction("actionNewInspectionReport", tr("New Inspection Report"),
        fileTypes.arg(QStringLiteral("inspection")));
    m_actionNewTestReport = makeAction(
        "actionNewTestReport", tr("New PV Array Test Report"), fileTypes.arg(QStringLiteral("report")));
    m_actionNewVerificationCertificate = makeAction("actionNewVerificationCertificate",
        tr("New Verification Certificate"), fileTypes.arg(QStringLiteral("certificate")));
    m_actionNewInstallationDiagram = makeAction("actionNewInstallationDiagram",
        tr("New Installation Diagram"), fileTypes.arg(QStringLiteral("installation_diagram")));
    m_actionNewChecklist
        = makeAction("actionNewChecklist", tr("New Checklist"), fileTypes.arg(QStringLiteral("checklist")));
    m_actionNewCurveData = makeAction(
        "actionNewCurveData", tr("New String Data Report"), fileTypes.arg(QStringLiteral("chart")));
    m_actionNewClientHandoverPack = makeAction("actionNewClientHandoverPack", tr("New Client Handover Pack"),
        fileTypes.arg(QStringLiteral("chp_folder")));
    m_actionNewClientHandoverPack->setToolTip(tr("Create a new folder with a checklist in it"));
    m_actionNewFolder
        = makeAction("actionNewFolder", tr("New Folder"), fileTypes.arg(QStringLiteral("folder")));
    m_actionSave = makeAction("actionSave", tr("Save"), buttons.arg(QStringLiteral("save")));
    m_actionSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    m_actionSave->setEnabled(false);
    m_actionDelete = makeAction("actionDelete", tr("Delete"), buttons.arg(QStringLiteral("delete")));
    m_actionRename = makeAction("actionRename", tr("Rename"), buttons.arg(QStringLiteral("rename")));
    m_actionRename->setShortcut(QKeySequence(QStringLiteral("F2")));
    m_actionOpen = makeAction("actionOpen", tr("Open"), QString());
    m_actionOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
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
    // Open and Rename act on the tree's selection; Rename's F2 and Open's Ctrl+O also work in the tree.
    for (QAction* action : { m_actionOpen, m_actionRename, m_actionDelete })
        action->setEnabled(false);
    m_tree->addAction(m_actionOpen);
    m_tree->addAction(m_actionRename);
    // Documents carry their own Ctrl+S; two actions with one key in one window cancel each other
    // out, so the main window's Save answers its key only in the tree (and its menus).
    m_actionSave->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_tree->addAction(m_actionSave);

    m_fileMenu = menuBar()->addMenu(tr("File"));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    m_fileMenu->addActions(
        { m_actionNewInspectionReport, m_actionNewTestReport, m_actionNewVerificationCertificate,
            m_actionNewInstallationDiagram, m_actionNewChecklist, m_actionNewCurveData });
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({ m_actionNewClientHandoverPack, m_actionNewFolder });
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({ m_actionSave, m_actionDelete, m_actionRename });
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

    connect(m_actionNewInspectionReport, &QAction::triggered, this, &MainWindow::createNewInspectionReport);
    connect(m_actionNewTestReport, &QAction::triggered, this, &MainWindow::createNewTestReport);
    connect(m_actionNewVerificationCertificate, &QAction::triggered, this,
        &MainWindow::createNewVerificationCertificate);
    connect(
        m_actionNewInstallationDiagram, &QAction::triggered, this, &MainWindow::createNewInstallationDiagram);
    connect(m_actionNewChecklist, &QAction::triggered, this, &MainWindow::createNewChecklistReport);
    connect(m_actionNewCurveData, &QAction::triggered, this, &MainWindow::createNewCurveData);
    connect(m_actionNewFolder, &QAction::triggered, this, &MainWindow::createNewFolder);
    connect(m_actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(m_actionDelete, &QAction::triggered, this, &MainWindow::remove);
    connect(m_actionRename, &QAction::triggered, this, &MainWindow::rename);
    connect(m_actionOpen, &QAction::triggered, this, &MainWindow::open);
    connect(m_actionSettings, &QAction::triggered, this, &MainWindow::showSettingsDialog);
    connect(m_actionAbout, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_actionScreencastTutorial, &QAction::triggered, this, &MainWindow::showScreencastTutorial);
    connect(m_actionPDFManual, &QAction::triggered, this, &MainWindow::showPDFManual);
    connect(m_actionImport, &QAction::triggered, this, &MainWindow::import);
    connect(m_actionDownload, &QAction::triggered, this, &MainWindow::download);

    setupDocumentArea(area, m_windowMenu);

    m_actionNewClientHandoverPack->setVisible(false);
    m_languageMenu->menuAction()->setVisible(false);
    m_actionPDFManual->setVisible(false);
    // The tutorial is a page installed beside the program; without it there is nothing to show.
    m_actionScreencastTutorial->setVisible(!DialogWelcome::tutorialPage().isEmpty());
}

AbstractDocument* MainWindow::findDocument(const QString& filePath) const
{
    if (filePath.isEmpty())
        return nullptr;
    const QString wanted = canonicalPath(filePath);
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs) {
        if (canonicalPath(doc->filePath()) == wanted)
            return doc;
    }
    return nullptr;
}

QList<AbstractDocument*> MainWindow::documentsUnder(const QString& path) const
{
    QList<AbstractDocument*> found;
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs) {
        if (isSameOrInside(doc->filePath(), path))
            found.append(doc);
    }
    return found;
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

void MainWindow::openDocument(const QModelIndex& index)
{
    // Activating a folder opens it in the tree, not in the desktop's file manager.
    if (!index.isValid() || m_model->isDir(index))
        return;
    openAndKeepValid(m_model->filePath(index));
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
        selectPath(path);
        return;
    }
    openAndKeepValid(path);
}

void MainWindow::open()
{
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid() && !m_model->isDir(current))
        openAndKeepValid(m_model->filePath(current));
}

void MainWindow::loadCommandLineFiles()
{
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i)
        openAndKeepValid(arguments.at(i));
}

void MainWindow::attachModel()
{
    ProjectModel* oldModel = m_model;
    QItemSelectionModel* oldSelection = m_selection;
    m_model = new ProjectModel(this);
    m_tree->setProjectModel(m_model);
    QItemSelectionModel* viewsOwn = m_tree->selectionModel();
    m_selection = new QItemSelectionModel(m_model, this);
    m_tree->setSelectionModel(m_selection);
    delete viewsOwn;
    connect(m_selection, &QItemSelectionModel::currentChanged, this, &MainWindow::selectionChanged);
    // Files can vanish in folders the watcher does not cover; the model sees those it shows.
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &MainWindow::closeDocumentsOfMissingFiles,
        Qt::QueuedConnection);
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

void MainWindow::selectionChanged(const QModelIndex& current, const QModelIndex&)
{
    const bool valid = current.isValid();
    m_actionOpen->setEnabled(valid);
    m_actionRename->setEnabled(valid);
    m_actionDelete->setEnabled(valid);
    if (!valid)
        return;
    if (AbstractDocument* doc = findDocument(m_model->filePath(current)))
        setActiveDocument(doc);
}

void MainWindow::documentChanged(AbstractDocument*, AbstractDocument* to)
{
    if (to)
        selectPath(to->filePath());
    AbstractDocument* active = activeDocument();
    m_actionSave->setEnabled(active && active->isModified() && !active->isReadOnly());
}

void MainWindow::documentTitleChanged(AbstractDocument* doc)
{
    if (doc == activeDocument())
        m_actionSave->setEnabled(doc->isModified() && !doc->isReadOnly());
}

QModelIndex MainWindow::indexInTree(const QString& path) const
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

void MainWindow::selectPath(const QString& path, bool editName)
{
    const QModelIndex index = indexInTree(path);
    if (!index.isValid())
        return;
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_tree->scrollTo(index);
    if (editName)
        m_tree->edit(index);
}

QString MainWindow::targetFolderForNew() const
{
    const QModelIndexList selected = m_selection->selectedIndexes();
    if (selected.isEmpty())
        return Folders::instance()->projectsFolder();
    const QModelIndex last = selected.last();
    const QFileInfo info = m_model->fileInfo(last);
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

QString MainWindow::createNew(const QString& fileName)
{
    if (!projectsFolderIsThere())
        return QString();
    const QString root = Folders::instance()->projectsFolder();
    QString folder = targetFolderForNew();
    // New documents go into the projects folder and nowhere else.
    if (!QFileInfo(folder).isDir() || !isSameOrInside(folder, root))
        folder = root;
    const QString path = createNewDocument(folder, fileName);
    if (!path.isEmpty())
        selectPath(path, true);
    return path;
}

void MainWindow::createNewInspectionReport()
{
    createNew(tr("Inspection Report") + QStringLiteral(".kstir"));
}

void MainWindow::createNewTestReport()
{
    createNew(tr("Array Test Report") + QStringLiteral(".kstatr"));
}

void MainWindow::createNewVerificationCertificate()
{
    createNew(tr("Verification Certificate") + QStringLiteral(".kstvc"));
}

void MainWindow::createNewInstallationDiagram()
{
    createNew(tr("Installation Diagram") + QStringLiteral(".kstid"));
}

void MainWindow::createNewChecklistReport()
{
    createNew(tr("Checklist") + QStringLiteral(".kstchk"));
}

void MainWindow::createNewCurveData()
{
    createNew(tr("String Data Report") + QStringLiteral(".kstcrv"));
}

QString MainWindow::createFolderInRoot(const QString& pathPattern)
{
    if (!projectsFolderIsThere())
        return QString();
    QString path = pathPattern.arg(Folders::instance()->projectsFolder());
    uniqueFileName(path);
    if (!QDir().mkpath(path)) {
        Prompts::show(QMessageBox::Critical, this,
            QCoreApplication::translate("Error Message", "Error creating \"%1\"").arg(path));
        return QString();
    }
    return path;
}

void MainWindow::createClientHandoverPack()
{
    const QString path = createFolderInRoot(tr("%1/New Client Handover Pack"));
    if (path.isEmpty())
        return;
    selectPath(path);
    createNew(tr("Checklist") + QStringLiteral(".kstchk"));
}

void MainWindow::createNewFolder()
{
    createFolderInRoot(tr("%1/New Folder"));
}

void MainWindow::remove()
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
    if (!Prompts::askYesNo(this, question))
        return;
    for (const QString& path : paths) {
        if (!moveToTrash(path))
            Prompts::show(QMessageBox::Warning, this,
                QCoreApplication::translate("Warning Message", "\"%1\" could not be moved to the trash.")
                    .arg(path));
    }
    closeDocumentsOfMissingFiles();
}

void MainWindow::rename()
{
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid())
        m_tree->edit(current);
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
        menu->addAction(m_actionOpen);
        menu->setDefaultAction(m_actionOpen);
        menu->addSeparator();
        menu->addActions({ m_actionSave, m_actionDelete, m_actionRename });
        menu->addSeparator();
    }
    menu->addActions({ m_actionNewInspectionReport, m_actionNewTestReport, m_actionNewVerificationCertificate,
        m_actionNewInstallationDiagram, m_actionNewChecklist, m_actionNewCurveData });
    menu->addSeparator();
    menu->addAction(m_actionNewFolder);
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
    if (event->type() == QEvent::WindowActivate) {
        closeDocumentsOfMissingFiles();
        if (m_watcher)
            m_watcher->checkRoot();
    }
    return MdiWindow::event(event);
}
