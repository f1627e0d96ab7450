#include "DiagramCommands.h"

#include "DiagramComponent.h"
#include "DiagramConnection.h"

#include <QCoreApplication>

namespace {
QString commandText(const char* text)
{
    return QCoreApplication::translate("DiagramCommands", text);
}

// An end as the model holds it: attached ends by their component's id and the offset from it.
Diagram::CableEnd modelEnd(const ConnectionPoint::State& state)
{
    Diagram::CableEnd end;
    if (state.component)
        end = { true, state.component->id(), state.position - state.component->scenePos(), state.side };
    return end;
}
} // namespace

PresenceCommand::PresenceCommand(DiagramModelEditing* drawing, DiagramGraphicsItem* item, Action action)
    : m_drawing(drawing)
    , m_item(item)
    , m_action(action)
    , m_owned(action == Add && !item->scene())
{
    setText(action == Add ? commandText("Add %1").arg(item->displayName())
                          : commandText("Delete %1").arg(item->displayName()));
}

PresenceCommand::~PresenceCommand()
{
    if (m_owned)
        delete m_item;
}

void PresenceCommand::bringIn()
{
    m_drawing->enterDrawing(m_item);
    m_drawing->changeModel([this](DiagramModel& model) { return enterModel(model); });
    m_owned = false;
}

void PresenceCommand::takeOut()
{
    m_drawing->changeModel([this](DiagramModel& model) { return leaveModel(model); });
    m_drawing->leaveDrawing(m_item);
    m_owned = true;
}

void PresenceCommand::undo()
{
    if (m_action == Add)
        takeOut();
    else
        bringIn();
}

void PresenceCommand::redo()
{
    if (m_action == Remove)
        takeOut();
    else
        bringIn();
}

ComponentPresenceCommand::ComponentPresenceCommand(
    DiagramModelEditing* drawing, DiagramComponent* component, Action action)
    : PresenceCommand(drawing, component, action)
{
    m_removed.taken = true;
    m_removed.component = component->toModel();
}

QStringList ComponentPresenceCommand::enterModel(DiagramModel& model)
{
    model.restoreComponent(m_removed);
    QStringList changed { m_removed.component.id };
    for (const Diagram::EndRef& ref : qAsConst(m_removed.ends))
        changed.append(ref.cableId);
    return changed;
}

QStringList ComponentPresenceCommand::leaveModel(DiagramModel& model)
{
    m_removed = model.removeComponent(m_removed.component.id);
    QStringList changed;
    for (const Diagram::EndRef& ref : qAsConst(m_removed.ends))
        changed.append(ref.cableId);
    return changed;
}

ConnectionPresenceCommand::ConnectionPresenceCommand(
    DiagramModelEditing* drawing, DiagramConnection* connection, Action action)
    : PresenceCommand(drawing, connection, action)
    , m_cable(connection->toModel())
{ }

QStringList ConnectionPresenceCommand::enterModel(DiagramModel& model)
{
    model.addCable(m_cable);
    return { m_cable.id };
}

QStringList ConnectionPresenceCommand::leaveModel(DiagramModel& model)
{
    m_cable = model.removeCable(m_cable.id);
    return {};
}

MoveCommand::MoveCommand(DiagramModelEditing* drawing, const QVector<Diagram::Placement>& before,
    const QVector<Diagram::Placement>& after)
    : m_drawing(drawing)
    , m_before(before)
    , m_after(after)
{
    setText(commandText("Move"));
}

void MoveCommand::apply(const QVector<Diagram::Placement>& placements)
{
    m_drawing->changeModel([&placements](DiagramModel& model) {
        QStringList changed;
        for (const Diagram::Placement& placement : placements) {
            model.place(placement);
            changed.append(placement.id);
        }
        return changed;
    });
}

void MoveCommand::undo()
{
    apply(m_before);
}

void MoveCommand::redo()
{
    apply(m_after);
}

EndsMoveCommand::EndsMoveCommand(DiagramModelEditing* drawing, const QList<EndMove>& moves)
    : m_drawing(drawing)
{
    setText(commandText("Move"));
    for (const EndMove& move : moves) {
        DiagramConnection* cable = move.end->connection();
        const int which = move.end == cable->endA() ? Diagram::EndA : Diagram::EndB;
        const Diagram::Cable* entry = drawing->model().cable(cable->id());
        Diagram::CableEnd before = modelEnd(move.before);
        if (entry)
            before = which == Diagram::EndA ? entry->endA : entry->endB;
        m_changes.append(
            { move.end, cable->id(), which, move.before, move.after, before, modelEnd(move.after) });
    }
}

void EndsMoveCommand::apply(bool after)
{
    m_drawing->changeModel([this, after](DiagramModel& model) {
        QStringList changed;
        for (const Change& change : qAsConst(m_changes)) {
            model.setCableEnd(change.cableId, change.which, after ? change.after : change.before);
            changed.append(change.cableId);
        }
        return changed;
    });
    for (const Change& change : qAsConst(m_changes)) {
        const ConnectionPoint::State& shown = after ? change.afterShown : change.beforeShown;
        if (!shown.component)
            change.end->restore(shown);
    }
}

void EndsMoveCommand::undo()
{
    apply(false);
}

void EndsMoveCommand::redo()
{
    apply(true);
}

CaptionTextCommand::CaptionTextCommand(
    DiagramModelEditing* drawing, const QString& componentId, const QString& before, const QString& after)
    : m_drawing(drawing)
    , m_componentId(componentId)
    , m_before(before)
    , m_after(after)
{
    setText(commandText("Set Label Text"));
}

void CaptionTextCommand::apply(const QString& text)
{
    m_drawing->changeModel([this, &text](DiagramModel& model) {
        model.setCaptionText(m_componentId, text);
        return QStringList { m_componentId };
    });
}

void CaptionTextCommand::undo()
{
    apply(m_before);
}

void CaptionTextCommand::redo()
{
    apply(m_after);
}

CaptionRemoveCommand::CaptionRemoveCommand(DiagramModelEditing* drawing, const QString& componentId)
    : m_drawing(drawing)
    , m_componentId(componentId)
{
    setText(commandText("Delete Label"));
}

void CaptionRemoveCommand::undo()
{
    m_drawing->changeModel([this](DiagramModel& model) {
        model.putCaption(m_componentId, m_caption);
        return QStringList { m_componentId };
    });
}

void CaptionRemoveCommand::redo()
{
    m_drawing->changeModel([this](DiagramModel& model) {
        m_caption = model.takeCaption(m_componentId);
        return QStringList { m_componentId };
    });
}
