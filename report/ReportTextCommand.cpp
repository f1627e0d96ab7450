#include "ReportTextCommand.h"

#include "GraphicsTextItem.h"

#include <QTextDocument>

ReportTextCommand::ReportTextCommand(GraphicsTextItem* text)
    : m_text(text)
{ }

void ReportTextCommand::undo()
{
    if (!m_text)
        return;
    m_text->setFocus();
    m_text->document()->undo();
    // Typing after an undo is a step of its own, not the continuation of the step before.
    m_text->startNewUndoStep();
}

void ReportTextCommand::redo()
{
    if (!m_text)
        return;
    m_text->setFocus();
    // The first redo, run by the push while the user types, finds nothing to redo; the typing
    // goes on in the same step then.
    if (!m_text->document()->isRedoAvailable())
        return;
    m_text->document()->redo();
    m_text->startNewUndoStep();
}
