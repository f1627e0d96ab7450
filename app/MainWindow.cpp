#include "MainWindow.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "CsvResultsModel.h"
#include "DataLoggerProgram.h"
#include "Desktop.h"
#include "DialogAbout.h"
#include "DialogImportResults.h"
#include "DialogSettings.h"
#include "DialogWelcome.h"
#include "DocumentFactory.h"
#include "FileNames.h"
#include "Folders.h"
#include "GraphicalReportDocument.h"
#include "MainWindowRef.h"
#include "ProjectModel.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "Prompts.h"
#include "ResultsColumnMap.h"
#include "SavedAge.h"
#include "Startup.h"
#include "WelcomeEvent.h"
#include "platform/Trash.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

MainWindow::MainWindow(QWidget* parent)
    : MdiWindow(parent)
{
    setCurrentMainWindow(this);
    if (restartRequested())
        Folders::instance(true);
    buildForm();

    m_model = new ProjectModel(this);
    m_tree->setProjectModel(m_model);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &MainWindow::showTreeContextMenu);
    connect(m_tree, &ProjectTreeView::deleteRequested, this, &MainWindow::remove);

    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("Windows/MainWindowGeometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("Windows/MainWindowState")).toByteArray());

    m_selection = new QItemSelectionModel(m_model, this);
    m_tree->setSelectionModel(m_selection);
    connect(m_selection, &QItemSelectionModel::currentChanged, this, &MainWindow::selectionChanged);
    connect(m_tree, &QAbstractItemView::activated, this,
        qOverload<const QModelIndex&>(&MainWindow::openDocument));
    connect(this, &MdiWindow::activeDocumentChanged, this, &MainWindow::documentChanged);
    // Files can vanish in folders the watcher does not cover; the model sees those it shows.
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &MainWindow::closeDocumentsOfMissingFiles,
        Qt::QueuedConnection);

    m_importDialog = new DialogImportResults(this);
    connect(m_importDialog, &DialogImportResults::importRow, this, &MainWindow::importRow);

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
    settings.setValue(QStringLiteral("Windows/MainWindowGeometry"), saveGeometry());
    settings.setValue(QStringLiteral("Windows/MainWindowState"), saveState());
    disconnect(m_model, nullptr, this, nullptr);
    if (currentMainWindow() == this)
        setCurrentMainWindow(nullptr);
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
    makeAction("actionScreencastTutorial_2", tr("ScreenCast Tutorial"), QString());
    makeAction("actionResetWindows", tr("Reset Window Layout"), QString());
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

    m_actionNewInstallationDiagram->setVisible(false);
    m_actionNewClientHandoverPack->setVisible(false);
    m_languageMenu->menuAction()->setVisible(false);
    m_actionPDFManual->setVisible(false);
}

AbstractDocument* MainWindow::findDocument(const QString& filePath) const
{
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs) {
        if (doc->filePath() == filePath)
            return doc;
    }
    return nullptr;
}

AbstractDocument* MainWindow::openDocument(const QString& filePath)
{
    if (AbstractDocument* open = findDocument(filePath))
        return open;
    AbstractDocument* doc = createDocument(filePath, nullptr);
    if (doc && doc->isValid()) {
        MdiWindow::openDocument(doc);
        connect(doc, &AbstractDocument::titleChanged, this, &MainWindow::documentTitleChanged);
        if (auto* report = qobject_cast<GraphicalReportDocument*>(doc)) {
            connect(report->downloadAction(), &QAction::triggered, this, &MainWindow::download);
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

void MainWindow::projectsFolderChanged(const QString& newFolder)
{
    m_model->setRootPath(newFolder);
    m_tree->setRootIndex(m_model->index(newFolder));
    delete m_watcher;
    m_watcher = new ProjectWatcher(newFolder, this);
    connect(m_watcher, &ProjectWatcher::directoryChanged, this, &MainWindow::directoryChanged);
}

void MainWindow::directoryChanged(const QString&)
{
    closeDocumentsOfMissingFiles();
}

void MainWindow::closeDocumentsOfMissingFiles()
{
    // A save question may run the event loop, which may report the same change again.
    if (m_checkingDocuments)
        return;
    m_checkingDocuments = true;
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs) {
        const QString path = doc->filePath();
        if (QFileInfo::exists(path)) {
            m_keptWithoutFile.remove(path);
        } else if (!m_keptWithoutFile.contains(path)) {
            QPointer<AbstractDocument> guard(doc);
            closeDocument(doc);
            if (guard && findDocument(path))
                m_keptWithoutFile.insert(path);
        }
    }
    m_checkingDocuments = false;
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
    m_actionSave->setEnabled(active && active->isModified());
}

void MainWindow::documentTitleChanged(AbstractDocument* doc)
{
    if (doc == activeDocument())
        m_actionSave->setEnabled(doc->isModified());
}

void MainWindow::selectPath(const QString& path, bool editName)
{
    const QModelIndex index = m_model->index(path);
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
    const QString folder = targetFolderForNew();
    if (folder.isEmpty())
        return QString();
    const QString path = createNewDocument(folder, fileName);
    if (!path.isEmpty())
        selectPath(path, true);
    return path;
}

void MainWindow::createNewInspectionReport()
{
    createNew(QStringLiteral("Inspection Report.kstir"));
}

void MainWindow::createNewTestReport()
{
    createNew(QStringLiteral("Array Test Report.kstatr"));
}

void MainWindow::createNewVerificationCertificate()
{
    createNew(QStringLiteral("Verification Certificate.kstvc"));
}

void MainWindow::createNewInstallationDiagram()
{
    createNew(QStringLiteral("Installation Diagram.kstid"));
}

void MainWindow::createNewChecklistReport()
{
    createNew(QStringLiteral("Checklist.kstchk"));
}

void MainWindow::createNewCurveData()
{
    createNew(QStringLiteral("String Data Report.kstcrv"));
}

QString MainWindow::createFolderInRoot(const QString& pathPattern)
{
    const QString root = Folders::instance()->projectsFolder();
    if (root.isEmpty())
        return QString();
    QString path = pathPattern.arg(root);
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
    createNew(QStringLiteral("Checklist.kstchk"));
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
    if (AbstractDocument* doc = activeDocument())
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
        m_actionNewChecklist, m_actionNewCurveData });
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
}

void MainWindow::showAbout()
{
    DialogAbout dialog(this);
    Prompts::instance().execDialog(&dialog);
}

void MainWindow::showScreencastTutorial()
{
    Desktop::openUrl(QUrl(Brand::tutorialPageUrl()));
}

void MainWindow::showPDFManual()
{
    Desktop::openUrl(QUrl::fromLocalFile(
        QCoreApplication::applicationDirPath() + QStringLiteral("/Bedienungsanleitung.pdf")));
}

void MainWindow::switchLanguage(QAction* action)
{
    QSettings().setValue(QStringLiteral("locale"), action->data().toLocale().name());
    MessageRequest request;
    request.icon = QMessageBox::Question;
    request.windowIcon = QIcon(Brand::brandImage(QStringLiteral("_logo.ico")));
    request.text = QCoreApplication::translate(
        "User prompt", "The language will be changed next time the application is started.");
    request.informativeText = QCoreApplication::translate("User prompt", "Would you like to restart now?");
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    if (Prompts::instance().message(request) == QMessageBox::Yes) {
        restartRequested() = true;
        close();
    }
}

void MainWindow::resetWindowLayout()
{
    m_browserDock->setFloating(false);
    addDockWidget(Qt::LeftDockWidgetArea, m_browserDock, Qt::Vertical);
    m_browserDock->show();
}

void MainWindow::import()
{
    try {
        QSettings settings;
        const QString start = settings
                                  .value(QStringLiteral("Directories/LastImportDir"),
                                      settings.value(QStringLiteral("Directories/RootDir")))
                                  .toString();
        const QString path = Prompts::instance().openFileName(this,
            QCoreApplication::translate("File Open Dialog", "Import CSV File"), start,
            QCoreApplication::translate("File Open Dialog", "CSV Files (*.csv)"));
        if (!path.isEmpty())
            importFile(path);
    } catch (const std::exception& e) {
        Prompts::show(QMessageBox::Critical, this,
            QCoreApplication::translate("Error Message", "Exception thrown in MainWindow::import(): ")
                + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Prompts::show(QMessageBox::Critical, this,
            QCoreApplication::translate("Error Message",
                "An unknown exception has been thrown by the MainWindow::import() function"));
    }
}

void MainWindow::importFile(const QString& path)
{
    if (!m_importDialog->load(path))
        return;
    QSettings().setValue(QStringLiteral("Directories/LastImportDir"), path);
    m_importDialog->show();
    m_importDialog->raise();
    m_importDialog->activateWindow();
}

void MainWindow::download()
{
    const QString program = DataLoggerProgram::path();
    if (!QFileInfo(program).isFile()) {
        Prompts::show(QMessageBox::Warning, this,
            QCoreApplication::translate(
                "Error Message", "Could not find:\n%1.\nPlease try installing the program again")
                .arg(program));
        return;
    }
    auto* logger = new QProcess(this);
    connect(logger, &QProcess::errorOccurred, this, &MainWindow::dataLoggerError);
    connect(logger, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
        &MainWindow::dataLoggerFinished);
    connect(logger, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), logger, &QObject::deleteLater);
    // Taken before the start, so that a file the logger saves at once still counts as new.
    m_loggerStart = QDateTime::currentDateTime();
    logger->start(program, QStringList(), QIODevice::ReadWrite);
}

void MainWindow::dataLoggerError(QProcess::ProcessError)
{
    Prompts::show(QMessageBox::Critical, this,
        QCoreApplication::translate("Error Message",
            "%1%2 failed to start. A file may be missing or corrupted. Please install again.")
            .arg(Brand::loggerProgramName(), QString()));
    if (auto* logger = qobject_cast<QProcess*>(sender());
        logger && logger->state() == QProcess::NotRunning && logger->error() == QProcess::FailedToStart) {
        logger->deleteLater();
        m_loggerStart = QDateTime();
    }
}

void MainWindow::dataLoggerFinished(int, QProcess::ExitStatus)
{
    const QString path = DataLoggerProgram::lastSavedFilePath();
    const QFileInfo file(path);
    if (!path.isEmpty() && file.isFile() && m_loggerStart.isValid() && file.lastModified() > m_loggerStart) {
        const QString question = QCoreApplication::translate(
            "User prompt", "Would you like to import the last file you just downloaded?");
        const QString detail = QCoreApplication::translate("User prompt", "File: %1 was saved %2.")
                                   .arg(path, savedAgoText(file.lastModified()));
        if (Prompts::askYesNo(this, question, detail))
            importFile(path);
    }
    m_loggerStart = QDateTime();
}

void MainWindow::importRow(const QModelIndexList& indexes)
{
    auto* report = qobject_cast<GraphicalReportDocument*>(activeDocument());
    if (!report)
        return;
    ResultsColumnMap map(report->scene(), m_importDialog->model());
    switch (map.importRows(indexes)) {
    case ResultsColumnMap::InvalidRow: {
        QStringList texts;
        for (const QModelIndex& index : indexes)
            texts << index.data().toString();
        Prompts::show(QMessageBox::Critical, this,
            QCoreApplication::translate("Error Message", "Programming error: Invalid row: %1")
                .arg(texts.join(QStringLiteral(", "))));
        break;
    }
    case ResultsColumnMap::NoPlaceToInsert:
        if (QFileInfo(report->filePath()).suffix().toLower() == QLatin1String("kstatr"))
            Prompts::show(QMessageBox::Warning, this,
                QCoreApplication::translate("Troubleshoot advice",
                    "You are attempting to insert data into an older version of the Array Test Report "
                    "document. \t\t\t\t\t\t\t\t   Please create a new Array Test Report if you would like "
                    "to import data into it. \t\t\t\t\t\t\t\t   You may need to restore the Array Test "
                    "Document in the favourites settings if the favourite \t\t\t\t\t\t\t\t   was created "
                    "using an earlier version of the program."));
        else
            Prompts::show(QMessageBox::Warning, this,
                QCoreApplication::translate("Troubleshoot advice",
                    "Unable to find where to insert data. Please ensure an Array "
                    "Test Report has focus before inserting the data."));
        break;
    case ResultsColumnMap::TableFull:
        Prompts::show(QMessageBox::Warning, this,
            QCoreApplication::translate("Troubleshoot advice",
                "No more room left in the report table. Please use another Array Test Report."));
        break;
    default:
        break;
    }
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == WelcomeEvent::EventType) {
        if (DialogWelcome::shouldShow()) {
            DialogWelcome dialog(this);
            Prompts::instance().execDialog(&dialog);
        }
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        closeDocumentsOfMissingFiles();
    return MdiWindow::event(event);
}
