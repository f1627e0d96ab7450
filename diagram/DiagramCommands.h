#pragma once

#include "ConnectionPoint.h"
#include "DiagramModelEditing.h"

#include <QList>
#include <QUndoCommand>
#include <QVector>

class DiagramComponent;
class DiagramConnection;
class DiagramGraphicsItem;

// The undoable edits of a diagram. Each changes the drawing's model and the items follow it
// (DiagramModelEditing::changeModel). A command that has taken an item out of the drawing owns
// it until the item comes back; the undo stack's order guarantees that every item a command
// names is in the drawing whenever that command runs.

// Puts an item into the drawing or takes it out. While it is out, the command owns it; the cable
// ends attached to it go loose (they stay where they are) and are attached again when it comes
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
    PresenceCommand(DiagramModelEditing* drawing, DiagramGraphicsItem* item, Action action);
    // The item's entry goes into the model or comes out of it; the ids of the other items
    // that changed with it.
    virtual QStringList enterModel(DiagramModel& model) = 0;
    virtual QStringList leaveModel(DiagramModel& model) = 0;

private:
    void bringIn();
    void takeOut();

    DiagramModelEditing* m_drawing;
    DiagramGraphicsItem* m_item;
    Action m_action;
    bool m_owned;
};

// A component with its caption; the ends of cables attached to it.
class ComponentPresenceCommand : public PresenceCommand
{
public:
    ComponentPresenceCommand(DiagramModelEditing* drawing, DiagramComponent* component, Action action);

private:
    QStringList enterModel(DiagramModel& model) override;
    QStringList leaveModel(DiagramModel& model) override;

    Diagram::RemovedComponent m_removed;
};

// A cable with its own ends.
class ConnectionPresenceCommand : public PresenceCommand
{
public:
    ConnectionPresenceCommand(DiagramModelEditing* drawing, DiagramConnection* connection, Action action);

private:
    QStringList enterModel(DiagramModel& model) override;
    QStringList leaveModel(DiagramModel& model) override;

    Diagram::Cable m_cable;
};

// Components, notes or captions moved: dragged (pushed on release, when the items are there
// already and the model catches up) or nudged with the keyboard. Each component is placed with
// its caption.
class MoveCommand : public QUndoCommand
{
public:
    MoveCommand(DiagramModelEditing* drawing, const QVector<Diagram::Placement>& before,
        const QVector<Diagram::Placement>& after);
    void undo() override;
    void redo() override;

private:
    void apply(const QVector<Diagram::Placement>& placements);

    DiagramModelEditing* m_drawing;
    QVector<Diagram::Placement> m_before;
    QVector<Diagram::Placement> m_after;
};

// Cable ends dragged (pushed on release; the model catches up). Where a loose end lies is the drawing's
// alone (the file keeps no loose ends), so it is put back on the end itself.
class EndsMoveCommand : public QUndoCommand
{
public:
    EndsMoveCommand(DiagramModelEditing* drawing, const QList<EndMove>& moves);
    void undo() override;
    void redo() override;

private:
    struct Change
    {
        ConnectionPoint* end;
        QString cableId;
        int which;
        ConnectionPoint::State beforeShown;
        ConnectionPoint::State afterShown;
        Diagram::CableEnd before;
        Diagram::CableEnd after;
    };
    void apply(bool after);

    DiagramModelEditing* m_drawing;
    QVector<Change> m_changes;
};

class CaptionTextCommand : public QUndoCommand
{
public:
    CaptionTextCommand(DiagramModelEditing* drawing, const QString& componentId, const QString& before,
        const QString& after);
    void undo() override;
    void redo() override;

private:
    void apply(const QString& text);

    DiagramModelEditing* m_drawing;
    QString m_componentId;
    QString m_before;
    QString m_after;
};

class CaptionRemoveCommand : public QUndoCommand
{
public:
    CaptionRemoveCommand(DiagramModelEditing* drawing, const QString& componentId);
    void undo() override;
    void redo() override;

private:
    DiagramModelEditing* m_drawing;
    QString m_componentId;
    Diagram::Caption m_caption;
};
