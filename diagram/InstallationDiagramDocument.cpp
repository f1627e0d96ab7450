#include "InstallationDiagramDocument.h"

#include "DiagramGraphicsScene.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QToolBar>
#include <QUndoStack>

InstallationDiagramDocument::InstallationDiagramDocument(const QString& filePath, QWidget* parent)
    : GraphicsDocument(filePath, parent)
    , m_undoStack(new QUndoStack(this))
{
    m_save = addToolAction("actionSave", QStringLiteral("save"), tr("Save"), QStringLiteral("Ctrl+S"));
    toolBar()->addSeparator();
    m_print = addToolAction("actionPrint", QStringLiteral("printer"), tr("Print"), QStringLiteral("Ctrl+P"));
    m_exportToPdf = addToolAction("actionExportToPdf", QStringLiteral("export_pdf"), tr("Export to PDF"),
        QStringLiteral("Ctrl+Shift+E"));
    toolBar()->addSeparator();
    m_wire = addToolAction("actionWire", QStringLiteral("wire"), tr("Wire"));
    m_wire->setCheckable(true);
    toolBar()->addSeparator();
    m_cableGroup = new QActionGroup(this);
    m_cableGroup->setExclusive(true);
    m_singleWire = addToolAction("actionSingleWire", QStringLiteral("cable1core"), tr("Single wire"));
    m_dcCable = addToolAction("actionDcCable", QStringLiteral("cable2core"), tr("DC cable"));
    m_acCable = addToolAction("actionAcCable", QStringLiteral("cable3core"), tr("AC cable"));
    for (QAction* action : { m_singleWire, m_dcCable, m_acCable }) {
        action->setCheckable(true);
        m_cableGroup->addAction(action);
    }
    m_singleWire->setChecked(true);
    m_cableGroup->setEnabled(false);
    toolBar()->addSeparator();
    m_undo = addToolAction("actionUndo", QStringLiteral("undo"), tr("Undo"), QStringLiteral("Ctrl+Z"));
    m_redo = addToolAction("actionRedo", QStringLiteral("redo"), tr("Redo"), QStringLiteral("Ctrl+Y"));
    m_redo->setShortcuts(
        { QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z")) });
    m_save->setEnabled(false);
    guardSaveAction(m_save);
    m_undo->setEnabled(false);
    m_redo->setEnabled(false);

    connect(m_save, &QAction::triggered, this, &InstallationDiagramDocument::save);
    connect(m_wire, &QAction::toggled, this, &InstallationDiagramDocument::wireToggled);
    connect(m_cableGroup, &QActionGroup::triggered, this, &InstallationDiagramDocument::setCableType);
    connect(m_undo, &QAction::triggered, m_undoStack, &QUndoStack::undo);
    connect(m_redo, &QAction::triggered, m_undoStack, &QUndoStack::redo);
    connect(m_undoStack, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &InstallationDiagramDocument::cleanChanged);

    m_scene = new DiagramGraphicsScene(m_undoStack, this);
    view()->setScene(m_scene);
    view()->setRenderHint(QPainter::Antialiasing);
    // Every item sets the pen, brush and smoothing it paints with, so the view need not save and
    // restore the painter around each of them: with thousands of cables that is much of a
    // repaint.
    view()->setOptimizationFlags(QGraphicsView::DontSavePainterState);
    setValid(m_scene->load(filePath));
    rememberDiskState();

    QCoreApplication::processEvents();
    const QRectF bounds = m_scene->itemsBoundingRect();
    view()->setSceneRect(bounds.adjusted(-500, -500, 500, 500));
    view()->centerOn(bounds.topLeft());

    connect(m_print, &QAction::triggered, m_scene, &DiagramGraphicsScene::print);
    connect(m_exportToPdf, &QAction::triggered, m_scene, &DiagramGraphicsScene::exportToPdf);
    connect(m_scene, &QGraphicsScene::sceneRectChanged, this, &InstallationDiagramDocument::sceneRectChanged);
    connect(m_scene, &DiagramGraphicsScene::modeChanged, this, &InstallationDiagramDocument::modeChanged);
    connect(m_scene, &DiagramGraphicsScene::modified, this, &InstallationDiagramDocument::modified);
    setModified(false);
}

InstallationDiagramDocument::~InstallationDiagramDocument()
{
    // The commands own the items taken out of the drawing; they go first.
    delete m_undoStack;
    m_undoStack = nullptr;
}

QAction* InstallationDiagramDocument::addToolAction(
    const char* objectName, const QString& icon, const QString& toolTip, const QString& shortcut)
{
    auto* action = new QAction(QIcon(QStringLiteral(":res/toolButtons/%1.png").arg(icon)), toolTip, this);
    action->setObjectName(QLatin1String(objectName));
    action->setToolTip(toolTip);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    // Every open document has these shortcuts; only the one the user works in may take them.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    toolBar()->addAction(action);
    addAction(action);
    return action;
}

void InstallationDiagramDocument::modified()
{
    // The undo stack knows whether the drawing differs from the file: a cable that is only
    // being drawn, or an edit undone again, leaves it as saved.
    if (m_undoStack->isClean())
        return;
    m_save->setEnabled(true);
    setModified(true);
}

void InstallationDiagramDocument::cleanChanged(bool clean)
{
    m_save->setEnabled(!clean);
    setModified(!clean);
}

void InstallationDiagramDocument::wireToggled(bool checked)
{
    m_cableGroup->setEnabled(checked);
    m_scene->setWireMode(checked ? 1 : 0);
}

void InstallationDiagramDocument::save()
{
    DocumentDialogScope dialogs(this);
    if (!confirmOverwrite([this](const QString& path) { return m_scene->save(path); }))
        return;
    if (!m_scene->save(filePath()))
        return;
    rememberDiskState();
    m_undoStack->setClean();
    setModified(false);
    m_save->setEnabled(false);
}

void InstallationDiagramDocument::setCableType(QAction* action)
{
    if (action == m_singleWire)
        m_scene->setCableType(1);
    else if (action == m_dcCable)
        m_scene->setCableType(2);
    else if (action == m_acCable)
        m_scene->setCableType(3);
}

void InstallationDiagramDocument::sceneRectChanged(const QRectF& rect)
{
    view()->setSceneRect(rect.adjusted(-200, -200, 200, 200));
}

void InstallationDiagramDocument::modeChanged(int newMode)
{
    m_wire->setChecked(newMode == 1);
}
