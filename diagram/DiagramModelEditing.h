#pragma once

#include "DiagramModel.h"

#include <QStringList>
#include <functional>

class DiagramGraphicsItem;

// What the undo commands change: the model of a drawing, with the items that show it. Commands
// know the drawing through this alone, so the drawing may make them without their knowing it.
class DiagramModelEditing
{
public:
    virtual const DiagramModel& model() const = 0;
    // change edits the model and returns the ids of the entries it changed; their items then
    // follow the model.
    virtual void changeModel(const std::function<QStringList(DiagramModel&)>& change) = 0;
    // An item enters the drawing (before its entry goes into the model) or leaves it (after its
    // entry came out; the cable ends still attached to it let go).
    virtual void enterDrawing(DiagramGraphicsItem* item) = 0;
    virtual void leaveDrawing(DiagramGraphicsItem* item) = 0;

protected:
    ~DiagramModelEditing() = default;
};
