#pragma once

#include "ConnectionPoint.h"

#include <QList>
#include <QPointF>
#include <QUndoCommand>

class DiagramComponent;
class DiagramConnection;
class DiagramGraphicsScene;
class DiagramLabel;
class QGraphicsItem;

// The undoable edits of a diagram. A command that has taken an item out of the drawing owns it
// until the item comes back; the undo stack's order guarantees that every item a command names
// is in the drawing whenever that command runs.

// Where a cable end was attached, to attach it again.
struct EndAttachment
{
    ConnectionPoint* end;
    DiagramComponent* component;
    int side;
    QPointF offset;
};

// Adds a component to the drawing or takes it out (its cable ends are detached and stay where
// they are; undo attaches them again).
class ComponentPresenceCommand : public QUndoCommand
{
public:
    enum Action { Add, Remove };
    ComponentPresenceCommand(DiagramGraphicsScene* scene, DiagramComponent* component, Action action);
    ~ComponentPresenceCommand() override;
    void undo() override;
    void redo() override;

private:
    void bringIn();
    void takeOut();

    DiagramGraphicsScene* m_scene;
    DiagramComponent* m_component;
    Action m_action;
    bool m_owned;
    QList<EndAttachment> m_attachments;
};

// Adds a cable (already drawn, so the first redo does nothing) or deletes one.
class ConnectionPresenceCommand : public QUndoCommand
{
public:
    enum Action { Add, Remove };
    ConnectionPresenceCommand(DiagramGraphicsScene* scene, DiagramConnection* connection, Action action);
    ~ConnectionPresenceCommand() override;
    void undo() override;
    void redo() override;

private:
    void bringIn();
    void takeOut();

    DiagramGraphicsScene* m_scene;
    DiagramConnection* m_connection;
    Action m_action;
    bool m_owned = false;
    bool m_firstRedo = true;
    QList<EndAttachment> m_attachments;
};

// Components, notes or captions moved: dragged (pushed on release, already done) or nudged with
// the keyboard.
struct ItemMove
{
    QGraphicsItem* item;
    QPointF from;
    QPointF to;
};

class MoveCommand : public QUndoCommand
{
public:
    MoveCommand(const QList<ItemMove>& moves, bool alreadyDone);
    void undo() override;
    void redo() override;

private:
    QList<ItemMove> m_moves;
    bool m_skipRedo;
};

// Cable ends dragged: one end, or both ends of a loose cable.
struct EndMove
{
    ConnectionPoint* end;
    ConnectionPoint::State before;
    ConnectionPoint::State after;
};

class EndsMoveCommand : public QUndoCommand
{
public:
    explicit EndsMoveCommand(const QList<EndMove>& moves);
    void undo() override;
    void redo() override;

private:
    QList<EndMove> m_moves;
    bool m_firstRedo = true;
};

class CaptionTextCommand : public QUndoCommand
{
public:
    CaptionTextCommand(DiagramLabel* caption, const QString& before, const QString& after);
    void undo() override;
    void redo() override;

private:
    void apply(const QString& text);

    DiagramLabel* m_caption;
    QString m_before;
    QString m_after;
};

class CaptionRemoveCommand : public QUndoCommand
{
public:
    explicit CaptionRemoveCommand(DiagramComponent* component);
    ~CaptionRemoveCommand() override;
    void undo() override;
    void redo() override;

private:
    DiagramComponent* m_component;
    DiagramLabel* m_caption = nullptr;
};
