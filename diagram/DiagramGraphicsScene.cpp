#include "DiagramGraphicsScene.h"

#include "ConnectionPoint.h"
#include "DiagramCommands.h"
#include "DiagramComponentKinds.h"
#include "DiagramConnection.h"
#include "DiagramFileCheck.h"
#include "DiagramFormat.h"
#include "DiagramLabel.h"
#include "DiagramMenus.h"
#include "DialogComponentSettings.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "SafeWrite.h"
#include "SettingsKeys.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QUndoStack>
#include <algorithm>

namespace {
QString errorText(const char* text)
{
    return QCoreApplication::translate("Error Message", text);
}

void setUpPrinter(QPrinter& printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}
} // namespace

DiagramGraphicsScene::DiagramGraphicsScene(QUndoStack* undoStack, QObject* parent)
    : QGraphicsScene(parent)
    , m_undoStack(undoStack ? undoStack : new QUndoStack(this))
    , m_ownsUndoStack(!undoStack)
{
    // Moving a component re-routes every cable on it, and each re-route changes the cable's
    // bounds. The tree index re-files every such change, which grows with the square of the
    // cables on one component (seconds for 2,000); a drawing holds few enough items for a
    // plain list to answer "what lies here" at once.
    setItemIndexMethod(QGraphicsScene::NoIndex);
    const QList<QPair<const char*, int>> entries = {
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add Label"), Diagram::LabelType },
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add Invertor"), Diagram::InverterType },
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add Generation Meter"), Diagram::GenerationMeterType },
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add Distribution Board"),
            Diagram::DistributionBoardType },
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add AC Isolator"), Diagram::AcIsolatorType },
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add DC Isolator"), Diagram::DcIsolatorType },
        { QT_TRANSLATE_NOOP("DiagramGraphicsScene", "Add PV Panel"), Diagram::PanelType },
    };
    for (const auto& entry : entries) {
        auto* action = new QAction(tr(entry.first), this);
        action->setData(entry.second);
        m_addActions.append(action);
    }
}

DiagramGraphicsScene::~DiagramGraphicsScene()
{
    // Removed items belong to the undo commands; the commands go before the drawing does.
    if (m_ownsUndoStack)
        delete m_undoStack;
}

QString DiagramGraphicsScene::takeId()
{
    return m_model.ids.take([this] {
        QSet<int> used;
        for (const Diagram::Component& component : qAsConst(m_model.components))
            used.insert(DiagramIds::number(component.id));
        for (const Diagram::Cable& cable : qAsConst(m_model.cables))
            used.insert(DiagramIds::number(cable.id));
        if (m_pending)
            used.insert(DiagramIds::number(m_pending->id()));
        return used;
    });
}

void DiagramGraphicsScene::warn(const QString& text, const QString& informativeText)
{
    Prompts::show(QMessageBox::Warning, currentMainWindow(), text, informativeText);
}

bool DiagramGraphicsScene::load(const QString& path)
{
    DiagramModel model;
    const DiagramFormat::ReadResult read = DiagramFormat::readFile(path, &model);
    const QString where = errorText("XML validation error in %1 on line %2, column %3")
                              .arg(path)
                              .arg(read.line)
                              .arg(read.column);
    switch (read.problem) {
    case DiagramFormat::CannotOpen:
        warn(errorText("Error opening %1 for reading").arg(path),
            errorText("Is the file read-only or has it been deleted?"));
        return false;
    case DiagramFormat::TooLarge:
        warn(errorText("%1 is too large to be an installation diagram").arg(path),
            errorText("An installation diagram may be at most %1 MB.")
                .arg(DiagramFileCheck::MaxFileSize / (1024 * 1024)));
        return false;
    case DiagramFormat::DocumentType:
        warn(where, errorText("Document type declarations are not allowed in an installation diagram."));
        return false;
    case DiagramFormat::TooDeep:
        warn(where, errorText("The elements are nested too deeply for an installation diagram."));
        return false;
    case DiagramFormat::TooManyItems:
        warn(errorText("%1 holds too many items").arg(path),
            errorText("An installation diagram may hold at most %1 items.").arg(DiagramFileCheck::MaxItems));
        return false;
    case DiagramFormat::Malformed:
        warn(where, read.message);
        return false;
    case DiagramFormat::None:
        break;
    }

    m_model = model;
    showModel();
    if (read.renumbered) {
        Prompts::show(QMessageBox::Information, currentMainWindow(),
            QCoreApplication::translate("Informative Message", "Some items in %1 had the same id").arg(path),
            QCoreApplication::translate("Informative Message",
                "The later ones were given new ids; cables stay attached to the first item of each id."));
    }
    return true;
}

void DiagramGraphicsScene::showModel()
{
    // The model lists the topmost item first; an item added later lies above those before it,
    // so they go in from the last to the first.
    QList<DiagramComponent*> components;
    for (int i = 0; i < m_model.components.size();) {
        const Diagram::Component& entry = m_model.components.at(i);
        DiagramComponent* component = DiagramComponents::createForType(entry.type);
        if (!component) {
            m_model.components.removeAt(i);
            continue;
        }
        component->show(entry);
        connect(component, &DiagramGraphicsItem::modified, this, &DiagramGraphicsScene::childModified);
        m_shown.insert(entry.id, component);
        components.append(component);
        ++i;
    }
    for (int i = components.size() - 1; i >= 0; --i) {
        addItem(components.at(i));
        takeCaptionLayout(components.at(i));
    }
    for (int i = m_model.cables.size() - 1; i >= 0; --i) {
        Diagram::Cable& entry = m_model.cables[i];
        // An end whose component is not drawn is a loose one.
        for (Diagram::CableEnd* end : { &entry.endA, &entry.endB }) {
            if (end->attached && !shownComponent(*end))
                *end = Diagram::CableEnd();
        }
        auto* cable = new DiagramConnection;
        connect(cable, &DiagramGraphicsItem::modified, this, &DiagramGraphicsScene::childModified);
        addItem(cable);
        m_shown.insert(entry.id, cable);
        follow(entry.id);
    }
}

DiagramComponent* DiagramGraphicsScene::shownComponent(const Diagram::CableEnd& end) const
{
    if (!end.attached)
        return nullptr;
    DiagramGraphicsItem* item = m_shown.value(end.componentId);
    return item && Diagram::isComponentType(item->type()) ? static_cast<DiagramComponent*>(item) : nullptr;
}

void DiagramGraphicsScene::takeCaptionLayout(DiagramComponent* component)
{
    // The text as it is shown (the layout may change its spaces) and the box it takes: the box
    // may need more than the file gave it.
    if (DiagramLabel* caption = component->caption()) {
        m_model.setCaptionText(component->id(), caption->text());
        m_model.setCaptionSize(component->id(), caption->boundingRect().size());
    }
}

void DiagramGraphicsScene::follow(const QString& id)
{
    DiagramGraphicsItem* item = m_shown.value(id);
    if (!item)
        return;
    if (Diagram::isComponentType(item->type())) {
        const Diagram::Component* entry = m_model.component(id);
        if (!entry)
            return;
        auto* component = static_cast<DiagramComponent*>(item);
        component->show(*entry);
        takeCaptionLayout(component);
    } else if (auto* cable = qobject_cast<DiagramConnection*>(item)) {
        const Diagram::Cable* entry = m_model.cable(id);
        if (entry)
            cable->show(*entry, shownComponent(entry->endA), shownComponent(entry->endB));
    }
}

void DiagramGraphicsScene::changeModel(const std::function<QStringList(DiagramModel&)>& change)
{
    const QStringList changed = change(m_model);
    for (const QString& id : changed)
        follow(id);
}

void DiagramGraphicsScene::enterDrawing(DiagramGraphicsItem* item)
{
    m_shown.insert(item->id(), item);
    if (item->scene() != this)
        addItem(item);
}

void DiagramGraphicsScene::leaveDrawing(DiagramGraphicsItem* item)
{
    // The ends still attached are those of the cable being drawn, which is no part of the model.
    if (Diagram::isComponentType(item->type())) {
        const QList<ConnectionPoint*> ends = static_cast<DiagramComponent*>(item)->connections();
        for (ConnectionPoint* end : ends)
            end->detach();
    } else if (auto* cable = qobject_cast<DiagramConnection*>(item)) {
        cable->detachEnds();
    }
    m_shown.remove(item->id());
    removeItem(item);
}

QList<DiagramGraphicsItem*> DiagramGraphicsScene::diagramItems() const
{
    // In the model's order: topmost first, components above cables.
    QList<DiagramGraphicsItem*> result;
    result.reserve(m_model.components.size() + m_model.cables.size());
    for (const Diagram::Component& component : qAsConst(m_model.components)) {
        if (DiagramGraphicsItem* item = m_shown.value(component.id))
            result.append(item);
    }
    for (const Diagram::Cable& cable : qAsConst(m_model.cables)) {
        if (DiagramGraphicsItem* item = m_shown.value(cable.id))
            result.append(item);
    }
    return result;
}

bool DiagramGraphicsScene::save(const QString& path)
{
    if (!SafeWrite::writeFile(path, DiagramFormat::write(m_model))) {
        warn(errorText("Error opening %1 for writing").arg(path),
            errorText("Is the file read-only or has it been deleted?"));
        return false;
    }
    return true;
}

void DiagramGraphicsScene::childModified()
{
    // A cable that is still being drawn is not part of the drawing yet.
    if (m_pending && sender() == m_pending)
        return;
    emit modified();
}

void DiagramGraphicsScene::createPendingConnection()
{
    m_pending = new DiagramConnection(m_cableType, takeId(), QPointF(0, 0));
    addItem(m_pending);
    connect(m_pending, &DiagramGraphicsItem::modified, this, &DiagramGraphicsScene::childModified);
}

void DiagramGraphicsScene::deletePendingConnection()
{
    if (!m_pending)
        return;
    DiagramConnection* pending = m_pending;
    m_pending = nullptr;
    pending->detachEnds();
    delete pending;
}

void DiagramGraphicsScene::setWireMode(int mode)
{
    if (mode == m_mode)
        return;
    if (mode == Diagram::NormalMode)
        deletePendingConnection();
    else if (!m_pending)
        createPendingConnection();
    m_mode = mode;
    emit modeChanged(mode);
}

void DiagramGraphicsScene::setCableType(int kind)
{
    m_cableType = kind;
    deletePendingConnection();
    // Outside wire mode there is nothing to draw with.
    if (m_mode == Diagram::WireMode)
        createPendingConnection();
}

DiagramComponent* DiagramGraphicsScene::addComponent(int type, const QPointF& position)
{
    QString caption;
    if (type != Diagram::PanelType) {
        // The document may be closed while the dialog is open (its file vanished).
        QPointer<DiagramGraphicsScene> alive(this);
        if (!DialogComponentSettings::ask(DiagramComponents::defaultCaption(type), &caption) || !alive
            || caption.isEmpty())
            return nullptr;
    }
    DiagramComponent* component = DiagramComponents::createForType(type);
    if (!component)
        return nullptr;
    component->initialise(takeId(), caption, position);
    connect(component, &DiagramGraphicsItem::modified, this, &DiagramGraphicsScene::childModified);
    m_undoStack->push(new ComponentPresenceCommand(this, component, ComponentPresenceCommand::Add));
    emit modified();
    return component;
}

void DiagramGraphicsScene::deleteComponent(DiagramComponent* component)
{
    m_undoStack->push(new ComponentPresenceCommand(this, component, ComponentPresenceCommand::Remove));
}

void DiagramGraphicsScene::deleteConnection(DiagramConnection* connection)
{
    if (connection == m_pending)
        return;
    m_undoStack->push(new ConnectionPresenceCommand(this, connection, ConnectionPresenceCommand::Remove));
}

void DiagramGraphicsScene::editCaption(DiagramLabel* caption)
{
    const QString before = caption->text();
    QString after;
    QPointer<DiagramLabel> alive(caption);
    if (!DialogComponentSettings::ask(before, &after) || !alive || after == before || !caption->owner())
        return;
    // An empty caption would be an empty white box: it goes, as it would never have been made.
    if (after.isEmpty())
        deleteCaption(caption);
    else
        m_undoStack->push(new CaptionTextCommand(this, caption->owner()->id(), before, after));
}

void DiagramGraphicsScene::deleteCaption(DiagramLabel* caption)
{
    DiagramComponent* owner = caption->owner();
    if (!owner) {
        delete caption;
        return;
    }
    // A note is nothing but its text: without it, it could be neither seen nor picked up.
    if (owner->type() == Diagram::LabelType)
        deleteComponent(owner);
    else
        m_undoStack->push(new CaptionRemoveCommand(this, owner->id()));
}

Diagram::Placement DiagramGraphicsScene::shownPlacement(const QString& id) const
{
    Diagram::Placement placement = m_model.placement(id);
    auto* component = static_cast<DiagramComponent*>(m_shown.value(id));
    placement.position = component->pos();
    if (component->caption())
        placement.captionPosition = component->caption()->pos();
    return placement;
}

void DiagramGraphicsScene::beginDrag(QGraphicsItem* grabbed)
{
    // The toolkit moves every selected item along with the one under the pointer; a caption
    // picked up moves its component's placement.
    m_dragStart.clear();
    auto* caption = dynamic_cast<DiagramLabel*>(grabbed);
    DiagramComponent* owner = caption ? caption->owner() : dynamic_cast<DiagramComponent*>(grabbed);
    QSet<QString> ids;
    if (owner && m_shown.value(owner->id()) == owner)
        ids.insert(owner->id());
    for (DiagramComponent* component : selectedComponents())
        ids.insert(component->id());
    for (const QString& id : qAsConst(ids))
        m_dragStart.append(m_model.placement(id));
}

void DiagramGraphicsScene::endDrag()
{
    QVector<Diagram::Placement> before;
    QVector<Diagram::Placement> after;
    for (const Diagram::Placement& start : qAsConst(m_dragStart)) {
        if (!m_shown.contains(start.id))
            continue;
        const Diagram::Placement now = shownPlacement(start.id);
        if (now.position != start.position || now.captionPosition != start.captionPosition) {
            before.append(start);
            after.append(now);
        }
    }
    m_dragStart.clear();
    if (!after.isEmpty())
        m_undoStack->push(new MoveCommand(this, before, after));
}

QList<DiagramComponent*> DiagramGraphicsScene::selectedComponents() const
{
    QList<DiagramComponent*> result;
    for (DiagramGraphicsItem* item : diagramItems()) {
        if (Diagram::isComponentType(item->type()) && item->isSelected())
            result.append(static_cast<DiagramComponent*>(item));
    }
    return result;
}

void DiagramGraphicsScene::selectNextComponent(bool forward)
{
    QList<DiagramComponent*> all;
    for (DiagramGraphicsItem* item : diagramItems()) {
        if (Diagram::isComponentType(item->type()))
            all.append(static_cast<DiagramComponent*>(item));
    }
    if (all.isEmpty())
        return;
    // Reading order: top to bottom, then left to right; the id settles a tie.
    std::sort(all.begin(), all.end(), [](const DiagramComponent* a, const DiagramComponent* b) {
        const QPointF pa = a->sceneBoundingRect().topLeft();
        const QPointF pb = b->sceneBoundingRect().topLeft();
        if (pa.y() != pb.y())
            return pa.y() < pb.y();
        if (pa.x() != pb.x())
            return pa.x() < pb.x();
        return DiagramIds::number(a->id()) < DiagramIds::number(b->id());
    });
    int current = -1;
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i) == m_keyboardCurrent && all.at(i)->isSelected())
            current = i;
    }
    if (current < 0) {
        for (int i = 0; i < all.size() && current < 0; ++i) {
            if (all.at(i)->isSelected())
                current = i;
        }
    }
    int next;
    if (current < 0)
        next = forward ? 0 : all.size() - 1;
    else
        next = (current + (forward ? 1 : all.size() - 1)) % all.size();
    DiagramComponent* chosen = all.at(next);
    clearSelection();
    chosen->setSelected(true);
    m_keyboardCurrent = chosen;
    const QRectF shown = chosen->caption()
        ? chosen->sceneBoundingRect() | chosen->caption()->sceneBoundingRect()
        : chosen->sceneBoundingRect();
    for (QGraphicsView* view : views())
        view->ensureVisible(shown);
}

void DiagramGraphicsScene::nudgeSelection(const QPointF& delta)
{
    QVector<Diagram::Placement> before;
    QVector<Diagram::Placement> after;
    for (DiagramComponent* component : selectedComponents()) {
        const Diagram::Placement placement = m_model.placement(component->id());
        before.append(placement);
        after.append({ placement.id, placement.position + delta, placement.captionPosition + delta });
    }
    if (!after.isEmpty())
        m_undoStack->push(new MoveCommand(this, before, after));
}

void DiagramGraphicsScene::deleteSelection()
{
    const QList<DiagramComponent*> selected = selectedComponents();
    if (selected.isEmpty())
        return;
    if (selected.size() > 1)
        m_undoStack->beginMacro(tr("Delete"));
    for (DiagramComponent* component : selected)
        deleteComponent(component);
    if (selected.size() > 1)
        m_undoStack->endMacro();
}

void DiagramGraphicsScene::openSelectionMenu()
{
    setWireMode(Diagram::NormalMode);
    QGraphicsView* view = views().value(0);
    auto screenPoint = [view](const QPointF& scenePoint) {
        return view ? view->viewport()->mapToGlobal(view->mapFromScene(scenePoint)) : QPoint();
    };
    QList<DiagramComponent*> selected = selectedComponents();
    DiagramComponent* target
        = selected.contains(m_keyboardCurrent.data()) ? m_keyboardCurrent.data() : selected.value(0);
    if (!target) {
        const QPointF centre = view ? view->mapToScene(view->viewport()->rect().center()) : QPointF();
        execAddMenu(centre, screenPoint(centre));
        return;
    }
    // A note's own menu is its text's: that is what a right click on it opens.
    QGraphicsItem* receiver = target;
    if (target->type() == Diagram::LabelType && target->caption())
        receiver = target->caption();
    const QPointF at = receiver->sceneBoundingRect().center();
    QGraphicsSceneContextMenuEvent menuEvent(QEvent::GraphicsSceneContextMenu);
    menuEvent.setScenePos(at);
    menuEvent.setPos(receiver->mapFromScene(at));
    menuEvent.setScreenPos(screenPoint(at));
    menuEvent.setReason(QGraphicsSceneContextMenuEvent::Keyboard);
    menuEvent.setWidget(view ? view->viewport() : nullptr);
    sendEvent(receiver, &menuEvent);
}

bool DiagramGraphicsScene::event(QEvent* event)
{
    // Tab walks through the components; the toolkit would hand it to focusable items, and
    // there are none.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            const QList<QGraphicsItem*> all = items();
            if (std::none_of(all.cbegin(), all.cend(),
                    [](const QGraphicsItem* item) { return Diagram::isComponentType(item->type()); })) {
                event->ignore();
                return true;
            }
            selectNextComponent(forward);
            event->accept();
            return true;
        }
    }
    return QGraphicsScene::event(event);
}

void DiagramGraphicsScene::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // Keys with Control or Alt are shortcuts of the window.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QGraphicsScene::keyPressEvent(event);
        return;
    }
    const double step = shift ? 10 : 1;
    QPointF delta;
    switch (event->key()) {
    case Qt::Key_Left:
        delta = QPointF(-step, 0);
        break;
    case Qt::Key_Right:
        delta = QPointF(step, 0);
        break;
    case Qt::Key_Up:
        delta = QPointF(0, -step);
        break;
    case Qt::Key_Down:
        delta = QPointF(0, step);
        break;
    case Qt::Key_Delete:
        if (selectedComponents().isEmpty())
            break;
        deleteSelection();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (m_mode == Diagram::WireMode && m_pending && m_pending->drawState() == Diagram::PlacingEndB) {
            // The half-drawn cable goes; wire mode stays for the next one.
            deletePendingConnection();
            createPendingConnection();
        } else if (m_mode == Diagram::WireMode) {
            setWireMode(Diagram::NormalMode);
        } else {
            clearSelection();
        }
        event->accept();
        return;
    case Qt::Key_F10:
        if (!shift)
            break;
        openSelectionMenu();
        event->accept();
        return;
    default:
        break;
    }
    if (!delta.isNull() && !selectedComponents().isEmpty()) {
        nudgeSelection(delta);
        event->accept();
        return;
    }
    // Unused arrows scroll the view.
    QGraphicsScene::keyPressEvent(event);
}

void DiagramGraphicsScene::endsMoved(const QList<EndMove>& moves)
{
    m_undoStack->push(new EndsMoveCommand(this, moves));
}

void DiagramGraphicsScene::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    // The Menu key: the menu of what is selected, not of what lies under the pointer.
    if (event->reason() == QGraphicsSceneContextMenuEvent::Keyboard) {
        event->accept();
        openSelectionMenu();
        return;
    }
    setWireMode(Diagram::NormalMode);
    QGraphicsScene::contextMenuEvent(event);
    if (event->isAccepted())
        return;
    event->accept();
    execAddMenu(event->scenePos(), event->screenPos());
}

void DiagramGraphicsScene::execAddMenu(const QPointF& scenePosition, const QPoint& screenPosition)
{
    QMenu menu;
    menu.addAction(m_addActions.first());
    menu.addSeparator();
    for (int i = 1; i < m_addActions.size(); ++i)
        menu.addAction(m_addActions.at(i));
    QPointer<DiagramGraphicsScene> alive(this);
    QAction* chosen = DiagramMenus::exec(menu, screenPosition);
    if (chosen && alive)
        addComponent(chosen->data().toInt(), scenePosition);
}

void DiagramGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (m_mode != Diagram::WireMode) {
        if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ControlModifier))
            selectForPress(event->scenePos());
        QGraphicsScene::mousePressEvent(event);
        return;
    }
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (!m_pending)
        createPendingConnection();
    const QPointF point = event->scenePos();
    if (m_pending->advance(point) == Diagram::Placed) {
        DiagramConnection* done = m_pending;
        m_pending = nullptr;
        m_undoStack->push(new ConnectionPresenceCommand(this, done, ConnectionPresenceCommand::Add));
        emit modified();
        createPendingConnection();
    }
    m_pending->followPointer(point);
}

void DiagramGraphicsScene::selectForPress(const QPointF& point)
{
    // The toolkit drags every selected item along with the one pressed. Picking up a caption,
    // a cable or a cable end leaves the selected components where they are; a note is picked
    // up by its text and selected as any other component.
    QGraphicsItem* hit = itemAt(point, QTransform());
    auto* caption = dynamic_cast<DiagramLabel*>(hit);
    DiagramComponent* note = caption && caption->owner() && caption->owner()->type() == Diagram::LabelType
        ? caption->owner()
        : nullptr;
    if (note) {
        if (!note->isSelected()) {
            clearSelection();
            note->setSelected(true);
        }
        m_keyboardCurrent = note;
    } else if (hit && Diagram::isComponentType(hit->type())) {
        m_keyboardCurrent = static_cast<DiagramComponent*>(hit);
    } else {
        clearSelection();
    }
}

void DiagramGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsScene::mouseMoveEvent(event);
    if (m_mode == Diagram::WireMode && m_pending)
        m_pending->followPointer(event->scenePos());
}

void DiagramGraphicsScene::print()
{
    setFocusItem(nullptr);
    // The cable being drawn is no part of the drawing.
    setWireMode(Diagram::NormalMode);
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintDialog dialog(&printer, currentMainWindow());
    QPointer<DiagramGraphicsScene> alive(this);
    if (Prompts::instance().execDialog(&dialog) == QDialog::Accepted && alive)
        paint(&printer);
}

void DiagramGraphicsScene::exportToPdf()
{
    setFocusItem(nullptr);
    setWireMode(Diagram::NormalMode);
    QSettings settings;
    const QString folder = settings.value(SettingsKeys::lastPdfExportDir()).toString();
    QPointer<DiagramGraphicsScene> alive(this);
    const QString fileName = Prompts::instance().saveFileName(
        currentMainWindow(), tr("Export PDF"), folder, tr("PDF Files (*.pdf)"));
    if (fileName.isEmpty() || !alive)
        return;
    settings.setValue(SettingsKeys::lastPdfExportDir(), QFileInfo(fileName).absolutePath());
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    if (!paint(&printer)) {
        warn(errorText("Error opening %1 for writing").arg(fileName),
            errorText("Is the file read-only or has it been deleted?"));
    }
}

bool DiagramGraphicsScene::paint(QPrinter* printer)
{
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    const double margin = double(printer->width()) / printer->widthMM() * 20;
    const QRectF target
        = QRectF(0, 0, printer->width(), printer->height()).adjusted(margin, margin, -margin, -margin);
    const QRectF source = itemsBoundingRect();
    if (!source.isEmpty()) {
        // The drawing keeps its proportions and sits in the middle of the page.
        QRectF centred(QPointF(0, 0), source.size().scaled(target.size(), Qt::KeepAspectRatio));
        centred.moveCenter(target.center());
        render(&painter, centred, source, Qt::KeepAspectRatio);
    }
    return painter.end();
}
