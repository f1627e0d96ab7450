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
}

void ReportTextCommand::redo()
{
    if (!m_text)
        return;
    m_text->setFocus();
    m_text->document()->redo();
}
