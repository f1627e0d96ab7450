#include "ResultsImporterCommand.h"

#include "GraphicsTextItem.h"
#include "ReportScene.h"
#include "ReportText.h"

#include <QCoreApplication>

namespace {
// Shrinks as a loaded value would, so that the report looks the same after it is reopened.
void showText(ReportText* item, const QString& text)
{
    GraphicsTextItem* textItem = item->textItem();
    textItem->setPlainText(text);
    textItem->shrinkToFit();
}

// A cell shows one value. One that is still taller than the cell after shrinking (a long run
// of digits has no place to wrap) is cut, with an ellipsis, to the longest start that fits.
void showValue(ReportText* item, const QString& text)
{
    showText(item, text);
    const GraphicsTextItem* textItem = item->textItem();
    const auto fits = [textItem]() {
        return textItem->fieldHeight() <= 0
            || textItem->boundingRect().height() * textItem->scale() <= textItem->fieldHeight();
    };
    if (text.size() < 2 || fits())
        return;
    const QChar ellipsis(0x2026);
    int shortest = 0;
    int longest = text.size() - 1;
    while (shortest < longest) {
        const int length = (shortest + longest + 1) / 2;
        showText(item, text.left(length) + ellipsis);
        if (fits())
            shortest = length;
        else
            longest = length - 1;
    }
    showText(item, text.left(shortest) + ellipsis);
}
} // namespace

ResultsImporterCommand::ResultsImporterCommand(ReportScene* scene)
    : m_scene(scene)
{
    setText(QCoreApplication::translate("Undo command", "Import results"));
}

void ResultsImporterCommand::changeText(ReportItem* item, const QString& text, bool value)
{
    item->text = text;
    auto* view = m_scene ? qobject_cast<ReportText*>(m_scene->viewOf(item)) : nullptr;
    if (!view)
        return;
    // The field writes what it shows back into the model: a value cut on screen is kept cut, so
    // that the report reopens looking as it did.
    if (value)
        showValue(view, text);
    else
        showText(view, text);
}

void ResultsImporterCommand::redo()
{
    for (auto it = m_cellTexts.cbegin(); it != m_cellTexts.cend(); ++it)
        changeText(it.key(), it.value(), true);
    for (auto it = m_fieldTexts.cbegin(); it != m_fieldTexts.cend(); ++it)
        changeText(it.key(), it.value().second, false);
}

void ResultsImporterCommand::undo()
{
    for (auto it = m_cellTexts.cbegin(); it != m_cellTexts.cend(); ++it)
        changeText(it.key(), QString(), false);
    for (auto it = m_fieldTexts.cbegin(); it != m_fieldTexts.cend(); ++it)
        changeText(it.key(), it.value().first, false);
}
