#include "DiagramCommands.h"

#include "DiagramComponent.h"
#include "DiagramConnection.h"
#include "DiagramEditing.h"
#include "DiagramLabel.h"

#include <QCoreApplication>

namespace {
QString commandText(const char* text)
{
    return QCoreApplication::translate("DiagramCommands", text);
}

// Detaches every end attached to a component and remembers where. The ends of the cable that
// is still being drawn are let go without a note: that cable may be gone by the time of a redo.
QList<EndAttachment> detachAll(const QList<ConnectionPoint*>& ends, const DiagramConnection* pending)
{
    QList<EndAttachment> attachments;
    const QList<ConnectionPoint*> all = ends;
    for (ConnectionPoint* end : all) {
        if (end->connection() != pending)
            attachments.append({ end, end->component(), end->side(), end->offset() });
        end->detach();
    }
    return attachments;
}

void reattach(const QList<EndAttachment>& attachments)
{
    for (const EndAttachment& a : attachments) {
        const QPointF point = a.component->scenePos() + a.offset;
        a.end->attach(a.component, point, a.side);
        a.end->setPosition(point);
    }
}
} // namespace

PresenceCommand::PresenceCommand(QGraphicsScene* scene, DiagramGraphicsItem* item, Action action)
    : m_scene(scene)
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
    m_scene->addItem(m_item);
    reattach(m_attachments);
    m_attachments.clear();
    cameBack();
    m_owned = false;
}

void PresenceCommand::takeOut()
{
    const DiagramEditing* editing = DiagramEditing::of(m_scene);
    m_attachments = detachAll(attachedEnds(), editing ? editing->pendingConnection() : nullptr);
    m_scene->removeItem(m_item);
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
    else if (!m_item->scene())
        bringIn();
}

ComponentPresenceCommand::ComponentPresenceCommand(
    QGraphicsScene* scene, DiagramComponent* component, Action action)
    : PresenceCommand(scene, component, action)
    , m_component(component)
{ }

QList<ConnectionPoint*> ComponentPresenceCommand::attachedEnds() const
{
    return m_component->connections();
}

ConnectionPresenceCommand::ConnectionPresenceCommand(
    QGraphicsScene* scene, DiagramConnection* connection, Action action)
    : PresenceCommand(scene, connection, action)
    , m_connection(connection)
{ }

QList<ConnectionPoint*> ConnectionPresenceCommand::attachedEnds() const
{
    QList<ConnectionPoint*> attached;
    for (ConnectionPoint* end : { m_connection->endA(), m_connection->endB() }) {
        if (end->component())
            attached.append(end);
    }
    return attached;
}

void ConnectionPresenceCommand::cameBack()
{
    // Its route and bounds are worked out afresh now that it is back among the components.
    m_connection->updateRoute();
}

MoveCommand::MoveCommand(const QList<ItemMove>& moves, bool alreadyDone)
    : m_moves(moves)
    , m_skipRedo(alreadyDone)
{
    setText(commandText("Move"));
}

void MoveCommand::undo()
{
    for (const ItemMove& move : qAsConst(m_moves))
        move.item->setPos(move.from);
}

void MoveCommand::redo()
{
    if (m_skipRedo) {
        m_skipRedo = false;
        return;
    }
    for (const ItemMove& move : qAsConst(m_moves))
        move.item->setPos(move.to);
}

EndsMoveCommand::EndsMoveCommand(const QList<EndMove>& moves)
    : m_moves(moves)
{
    setText(commandText("Move"));
}

void EndsMoveCommand::undo()
{
    for (const EndMove& move : qAsConst(m_moves))
        move.end->restore(move.before);
}

void EndsMoveCommand::redo()
{
    if (m_firstRedo) {
        m_firstRedo = false;
        return;
    }
    for (const EndMove& move : qAsConst(m_moves))
        move.end->restore(move.after);
}

CaptionTextCommand::CaptionTextCommand(DiagramLabel* caption, const QString& before, const QString& after)
    : m_caption(caption)
    , m_before(before)
    , m_after(after)
{
    setText(commandText("Set Label Text"));
}

void CaptionTextCommand::apply(const QString& text)
{
    m_caption->setText(text);
    if (m_caption->owner())
        m_caption->owner()->captionChanged();
}

void CaptionTextCommand::undo()
{
    apply(m_before);
}

void CaptionTextCommand::redo()
{
    apply(m_after);
}

CaptionRemoveCommand::CaptionRemoveCommand(DiagramComponent* component)
    : m_component(component)
{
    setText(commandText("Delete Label"));
}

CaptionRemoveCommand::~CaptionRemoveCommand()
{
    delete m_caption;
}

void CaptionRemoveCommand::undo()
{
    m_component->restoreCaption(m_caption);
    m_caption = nullptr;
}

void CaptionRemoveCommand::redo()
{
    m_caption = m_component->takeCaption();
}
