#include "GraphicalReportDocument.h"

#include "DataLoggerLauncher.h"
#include "Folders.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportScene.h"
#include "ReportText.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

GraphicalReportDocument::GraphicalReportDocument(const QString& filePath, QWidget* parent)
    : GraphicsDocument(filePath, parent)
    , m_undoStack(new QUndoStack(this))
    , m_logger(new DataLoggerLauncher(this, this))
{
    m_undo = addToolAction("actionUndo", QStringLiteral("undo"), tr("Undo"), QStringLiteral("Ctrl+Z"));
    m_redo = addToolAction("actionRedo", QStringLiteral("redo"), tr("Redo"), QStringLiteral("Ctrl+Y"));
    toolBar()->addSeparator();
    m_save = addToolAction("actionSave", QStringLiteral("save"), tr("Save"), QStringLiteral("Ctrl+S"));
    m_saveFavourite = addToolAction("actionSaveFavourite", QStringLiteral("save_favourite"),
        tr("Save As Favourite. Next time you create a new report it look like this report."),
        QStringLiteral("Ctrl+Alt+S"));
    toolBar()->addSeparator();
    m_download = addToolAction("actionDownload", QStringLiteral("download"), tr("Download data from tester"),
        QStringLiteral("Ctrl+Alt+D"));
    m_import = addToolAction(
        "actionImport", QStringLiteral("import"), tr("Import data from file"), QStringLiteral("Ctrl+Alt+I"));
    toolBar()->addSeparator();
    m_print = addToolAction("actionPrint", QStringLiteral("printer"), tr("Print"), QStringLiteral("Ctrl+P"));
    m_exportToPdf = addToolAction("actionExportToPdf", QStringLiteral("export_pdf"),
        QCoreApplication::translate("Tool tip hint", "Export to PDF"), QStringLiteral("Ctrl+Shift+E"));
    m_undo->setEnabled(false);
    m_redo->setEnabled(false);
    m_save->setEnabled(false);
    connect(m_undo, &QAction::triggered, this, &GraphicalReportDocument::undo);
    connect(m_redo, &QAction::triggered, this, &GraphicalReportDocument::redo);
    connect(m_save, &QAction::triggered, this, &GraphicalReportDocument::save);
    guardSaveAction(m_save);
    connect(m_saveFavourite, &QAction::triggered, this, &GraphicalReportDocument::saveAsFavourite);
    connect(m_download, &QAction::triggered, m_logger, &DataLoggerLauncher::start);
    connect(m_logger, &DataLoggerLauncher::fileToImport, this, &GraphicalReportDocument::fileToImport);

    connect(m_undoStack, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &GraphicalReportDocument::cleanChanged);

    m_scene = new ReportScene(m_undoStack, this);
    connect(m_scene, &ReportScene::modified, this, &AbstractDocument::setModified);
    connect(m_scene, &ReportScene::inputCut, this, &GraphicalReportDocument::showInputCut);
    view()->setScene(m_scene);

    setValid(m_scene->load(filePath));
    rememberDiskState();
    setModified(false);
    // Whatever loading left queued for the event loop is not an edit: once it has run, the
    // document is still unmodified unless the user has changed something by then.
    QMetaObject::invokeMethod(
        this,
        [this]() {
            if (m_undoStack->isClean())
                setModified(false);
        },
        Qt::QueuedConnection);

    connect(m_print, &QAction::triggered, m_scene, &ReportScene::print);
    connect(m_exportToPdf, &QAction::triggered, m_scene, &ReportScene::exportToPdf);
}

GraphicalReportDocument::~GraphicalReportDocument()
{
    // The stack goes before the scene: discarded additions destroy their pictures first. A stack
    // that was not clean says so as it goes; that must not reach the document's watchers (the
    // main window may be half destroyed itself).
    m_undoStack->disconnect(this);
    delete m_undoStack;
    m_undoStack = nullptr;
}

QAction* GraphicalReportDocument::addToolAction(
    const char* objectName, const QString& icon, const QString& toolTip, const QString& shortcut)
{
    auto* action = new QAction(QIcon(QStringLiteral(":res/toolButtons/%1.png").arg(icon)), toolTip, this);
    action->setObjectName(QLatin1String(objectName));
    action->setToolTip(toolTip);
    action->setShortcut(QKeySequence(shortcut));
    // Each open report has these shortcuts; only the one the user works in may take them.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    toolBar()->addAction(action);
    addAction(action);
    return action;
}

void GraphicalReportDocument::modified()
{
    m_save->setEnabled(true);
    setModified(true);
}

void GraphicalReportDocument::showInputCut()
{
    // In the status bar: the user goes on working, and a held key does not stack up boxes.
    if (auto* window = qobject_cast<QMainWindow*>(currentMainWindow()))
        window->statusBar()->showMessage(inputCutMessage(), 10000);
}

QString GraphicalReportDocument::inputCutMessage()
{
    return QCoreApplication::translate(
        "Informative Message", "A field holds at most %1 characters; the rest was left out.")
        .arg(ReportLimits::MaxFieldLength);
}

void GraphicalReportDocument::cleanChanged(bool clean)
{
    m_save->setEnabled(!clean);
    setModified(!clean);
}

void GraphicalReportDocument::save()
{
    if (isReadOnly())
        return;
    DocumentDialogScope dialogs(this);
    if (!confirmOverwrite([this](const QString& path) { return m_scene->save(path); }))
        return;
    if (!m_scene->save(filePath()))
        return;
    rememberDiskState();
    QCoreApplication::processEvents();
    setModified(false);
    m_save->setEnabled(false);
    m_undoStack->setClean();
    m_scene->startNewTextSteps();
}

void GraphicalReportDocument::saveAsFavourite()
{
    DocumentDialogScope dialogs(this);
    MessageRequest request;
    request.parent = currentMainWindow();
    request.icon = QMessageBox::Warning;
    request.text = QCoreApplication::translate("Warning Message",
        "Saving this document as a favourite means that every time you create a "
        "new document of this type it will look like this document.");
    request.informativeText = QCoreApplication::translate("Warning message text",
        "Are you sure you want to overwrite the favourite?\n(NOTE: You may restore the default document at "
        "any time "
        "from the settings.)");
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    request.defaultButton = QMessageBox::No;
    if (Prompts::instance().message(request) != QMessageBox::Yes)
        return;
    const QString favourite
        = Folders::instance()->favouriteTemplatePath(QFileInfo(filePath()).suffix().toLower());
    // A report open read-only can still become the favourite; its own file stays as it is.
    if (isReadOnly()) {
        m_scene->save(favourite);
        return;
    }
    save();
    // Only a document that reached its own file becomes the favourite.
    if (isModified())
        return;
    m_scene->save(favourite);
}

void GraphicalReportDocument::setCurrent(bool yesNo)
{
    m_scene->setFocusItem(nullptr);
    if (yesNo)
        m_scene->setFocus();
    else
        m_scene->clearFocus();
}

void GraphicalReportDocument::undo()
{
    m_undoStack->undo();
}

void GraphicalReportDocument::redo()
{
    m_undoStack->redo();
}
