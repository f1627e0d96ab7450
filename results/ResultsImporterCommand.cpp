#include "ResultsImporterCommand.h"

#include "GraphicsTextItem.h"
#include "ReportTableCell.h"

#include <QCoreApplication>

namespace {
// Shrinks as a loaded value would, so that the report looks the same after it is reopened.
void showText(ReportText* item, const QString& text)
{
    GraphicsTextItem* textItem = item->textItem();
    textItem->setPlainText(text);
    textItem->shrinkToFit();
}
} // namespace

ResultsImporterCommand::ResultsImporterCommand()
{
    setText(QCoreApplication::translate("Undo command", "Import results"));
}

void ResultsImporterCommand::redo()
{
    for (auto it = m_cellTexts.cbegin(); it != m_cellTexts.cend(); ++it)
        showText(it.key(), it.value());
    for (auto it = m_fieldTexts.cbegin(); it != m_fieldTexts.cend(); ++it)
        showText(it.key(), it.value().second);
}

void ResultsImporterCommand::undo()
{
    for (auto it = m_cellTexts.cbegin(); it != m_cellTexts.cend(); ++it)
        showText(it.key(), QString());
    for (auto it = m_fieldTexts.cbegin(); it != m_fieldTexts.cend(); ++it)
        showText(it.key(), it.value().first);
}
