#include "MainWindow.h"

#include "AbstractDocument.h"
#include "DocumentFactory.h"
#include "Folders.h"
#include "MainWindowRef.h"
#include "Startup.h"
#include "WelcomeEvent.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget* parent)
    : MdiWindow(parent)
{
    setCurrentMainWindow(this);
    if (restartRequested())
        Folders::instance(true);
    buildForm();

    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("Windows/MainWindowGeometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("Windows/MainWindowState")).toByteArray());

    connect(this, &MdiWindow::activeDocumentChanged, this, &MainWindow::documentChanged);
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
    if (currentMainWindow() == this)
        setCurrentMainWindow(nullptr);
}

void MainWindow::buildForm()
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(751, 617);
    setDocumentMode(true);
    setWindowIcon(QIcon(QStringLiteral(":res/images/logo.ico")));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* layout = new QVBoxLayout(central);
    auto* area = new QMdiArea(central);
    area->setObjectName(QStringLiteral("mdiArea"));
    area->setBackground(QBrush(QPixmap(QStringLiteral(":/res/images/tile.png"))));
    layout->addWidget(area);
    setCentralWidget(central);

    m_fileMenu = menuBar()->addMenu(tr("File"));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    m_windowMenu = menuBar()->addMenu(tr("Window"));
    m_windowMenu->setObjectName(QStringLiteral("menuWindow"));

    auto addNew = [this](const char* name, const QString& text, const QString& icon, void (MainWindow::*slot)()) {
        auto* action = new QAction(QIcon(QStringLiteral(":/res/fileTypes/%1.png").arg(icon)), text, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        m_fileMenu->addAction(action);
        return action;
    };
    addNew("actionNewInspectionReport", tr("New Inspection Report"), QStringLiteral("inspection"),
           &MainWindow::createNewInspectionReport);
    addNew("actionNewTestReport", tr("New PV Array Test Report"), QStringLiteral("report"),
           &MainWindow::createNewTestReport);
    addNew("actionNewVerificationCertificate", tr("New Verification Certificate"), QStringLiteral("certificate"),
           &MainWindow::createNewVerificationCertificate);
    addNew("actionNewInstallationDiagram", tr("New Installation Diagram"), QStringLiteral("installation_diagram"),
           &MainWindow::createNewInstallationDiagram)
        ->setVisible(false);
    addNew("actionNewChecklist", tr("New Checklist"), QStringLiteral("checklist"),
           &MainWindow::createNewChecklistReport);
    addNew("actionNewCurveData", tr("New String Data Report"), QStringLiteral("chart"),
           &MainWindow::createNewCurveData);
    m_fileMenu->addSeparator();
    m_saveAction = new QAction(QIcon(QStringLiteral(":/res/toolButtons/save.png")), tr("Save"), this);
    m_saveAction->setObjectName(QStringLiteral("actionSave"));
    m_saveAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    m_saveAction->setEnabled(false);
    connect(m_saveAction, &QAction::triggered, this, &MainWindow::save);
    m_fileMenu->addAction(m_saveAction);

    setupDocumentArea(area, m_windowMenu);
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
    }
    return doc;
}

void MainWindow::projectsFolderChanged(const QString& newFolder)
{
    m_projectsFolder = newFolder;
}

QString MainWindow::createNew(const QString& fileName)
{
    const QString folder = Folders::instance()->projectsFolder();
    if (folder.isEmpty())
        return QString();
    return createNewDocument(folder, fileName);
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

void MainWindow::save()
{
    if (AbstractDocument* doc = activeDocument())
        doc->save();
}

void MainWindow::documentTitleChanged(AbstractDocument* doc)
{
    if (doc == activeDocument())
        m_saveAction->setEnabled(doc->isModified());
}

void MainWindow::documentChanged(AbstractDocument*, AbstractDocument* to)
{
    Q_UNUSED(to)
    AbstractDocument* active = activeDocument();
    m_saveAction->setEnabled(active && active->isModified());
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == WelcomeEvent::EventType)
        return true;
    return MdiWindow::event(event);
}
