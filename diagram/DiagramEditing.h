#pragma once

#include <QGraphicsScene>
#include <QList>

class DiagramComponent;
class DiagramConnection;
class DiagramLabel;
struct EndMove;

// What the items of a drawing ask of the drawing they are in: an edit the user starts on an item
// becomes an undo step there. Items know the drawing through this alone, so the scene may know
// them without their knowing it.
class DiagramEditing
{
public:
    virtual void deleteComponent(DiagramComponent* component) = 0;
    virtual void deleteConnection(DiagramConnection* connection) = 0;
    virtual void editCaption(DiagramLabel* caption) = 0;
    virtual void deleteCaption(DiagramLabel* caption) = 0;
    // A drag of an item (with the selected components) starts and ends: one undo step.
    virtual void beginDrag(QGraphicsItem* grabbed) = 0;
    virtual void endDrag() = 0;
    virtual void endsMoved(const QList<EndMove>& moves) = 0;
    // The cable being drawn in wire mode, which is no part of the drawing yet; or null.
    virtual DiagramConnection* pendingConnection() const = 0;

    // The editing of the drawing a scene holds, or null for any other scene.
    static DiagramEditing* of(QGraphicsScene* scene) { return dynamic_cast<DiagramEditing*>(scene); }

protected:
    ~DiagramEditing() = default;
};
