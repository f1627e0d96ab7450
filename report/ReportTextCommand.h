#pragma once

#include <QPointer>
#include <QUndoCommand>

class GraphicsTextItem;

// One step of a text field's own text document, as a step of the report's undo stack.
class ReportTextCommand : public QUndoCommand
{
public:
    explicit ReportTextCommand(GraphicsTextItem* text);
    void undo() override;
    void redo() override;

private:
    QPointer<GraphicsTextItem> m_text;
};
