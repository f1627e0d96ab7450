#pragma once

#include "ConnectionPoint.h"

#include <QList>
#include <QPointF>
#include <QUndoCommand>

class DiagramComponent;
class DiagramConnection;
class DiagramGraphicsItem;
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

// Puts an item into the drawing or takes it out. While it is out, the command owns it; the cable
// ends attached to it are detached (they stay where they are) and attached again when it comes
// back. An item already in the drawing when an Add is pushed (a cable just drawn) is left there
// by the first redo.
class PresenceCommand : public QUndoCommand
{
public:
    enum Action { Add, Remove };
    ~PresenceCommand() override;
    void undo() override;
    void redo() override;

protected:
    PresenceCommand(QGraphicsScene* scene, DiagramGraphicsItem* item, Action action);
    // The ends that are attached to a component and go loose while the item is out.
    virtual QList<ConnectionPoint*> attachedEnds() const = 0;
    virtual void cameBack() { }

private:
    void bringIn();
    void takeOut();

    QGraphicsScene* m_scene;
    DiagramGraphicsItem* m_item;
    Action m_action;
    bool m_owned;
    QList<EndAttachment> m_attachments;
};

// A component with its caption; the ends of cables attached to it.
class ComponentPresenceCommand : public PresenceCommand
{
public:
    ComponentPresenceCommand(QGraphicsScene* scene, DiagramComponent* component, Action action);

private:
    QList<ConnectionPoint*> attachedEnds() const override;

    DiagramComponent* m_component;
};

// A cable with its own ends.
class ConnectionPresenceCommand : public PresenceCommand
{
public:
    ConnectionPresenceCommand(QGraphicsScene* scene, DiagramConnection* connection, Action action);

private:
    QList<ConnectionPoint*> attachedEnds() const override;
    void cameBack() override;

    DiagramConnection* m_connection;
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
