#include "ReportText.h"

#include "AbstractDocument.h"
#include "GraphicsTextItem.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportTextCommand.h"

#include <QAction>
#include <QFontDialog>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTextDocument>
#include <QWidget>

ReportText::ReportText(QGraphicsItem* parent)
    : ReportResizableItem(false, parent)
    , m_text(new GraphicsTextItem(this))
{
    setFlag(ItemIsFocusable);
    m_text->setTextInteractionFlags(Qt::NoTextInteraction);
    // Typing, pasting, dropping and the text document's own undo all end here.
    connect(m_text->document(), &QTextDocument::contentsChanged, this, &ReportText::storeInModel);
}

QAction* ReportText::fontSettingsAction()
{
    // Made on first use: a report holds hundreds of fields and few ever open the menu.
    if (!m_fontSettings) {
        m_fontSettings = new QAction(tr("Font Settings..."), this);
        connect(m_fontSettings, &QAction::triggered, this, &ReportText::chooseFont);
    }
    return m_fontSettings;
}

QString ReportText::plainText() const
{
    return m_text->toPlainText();
}

qreal ReportText::screenPointSize(qreal points)
{
    qreal dpi = 96;
    if (QWidget* window = currentMainWindow())
        dpi = window->logicalDpiY();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    return dpi > 0 && !qFuzzyCompare(dpi, 96.0) ? points * 96 / dpi : points;
}

Qt::TextInteractionFlags ReportText::idleInteraction() const
{
    return isEditable() ? Qt::TextEditorInteraction : Qt::NoTextInteraction;
}

void ReportText::fromModel(const ReportItem& item)
{
    // Size and font go first, so that the text is laid out once, with both.
    ReportResizableItem::fromModel(item);
    m_text->setTextInteractionFlags(idleInteraction());
    QFont font(fontFamily());
    font.setPointSizeF(screenPointSize(fontSize()));
    font.setWeight(fontWeight());
    m_text->setDefaultTextColor(colour());
    m_text->setFont(font);
    m_text->setFontPointSize(font.pointSizeF());
    // Most fields of a pack are empty, and so is their new document.
    if (!item.text.isEmpty() || !m_text->document()->isEmpty())
        m_text->replaceText(item.text);
    if (m_text->fieldHeight() > 0)
        m_text->shrinkToFit();
    m_loaded = true;
    if (!m_documentConnected) {
        m_documentConnected = true;
        connect(m_text->document(), &QTextDocument::contentsChanged, this,
            QOverload<>::of(&AbstractReportItem::modified));
        connect(m_text->document(), &QTextDocument::undoCommandAdded, this, &ReportText::createUndoCommand);
    }
}

bool ReportText::toModel(ReportItem& item) const
{
    item.text = m_text->toPlainText();
    return ReportResizableItem::toModel(item);
}

void ReportText::setSize(const QSizeF& size, int handle)
{
    ReportResizableItem::setSize(size, handle);
    m_text->resetScale();
    m_text->setTextWidth(size.width());
    m_text->setFieldSize(size.width(), size.height());
    // A field resized by the user shows its text fitted to the new box; while loading, the
    // fitting waits for the font.
    if (m_loaded && size.height() > 0)
        m_text->shrinkToFit();
}

QFont ReportText::textFont() const
{
    return m_text->font();
}

void ReportText::setTextFont(const QFont& font)
{
    m_text->setFont(font);
    m_text->setFontPointSize(font.pointSizeF());
    if (m_text->fieldHeight() > 0 && !m_text->toPlainText().isEmpty()) {
        m_text->resetScale();
        m_text->setTextWidth(m_text->fieldWidth());
        m_text->shrinkToFit();
    }
}

void ReportText::createUndoCommand()
{
    // Each step the text document records is one step of the report, even one that leaves the
    // text looking the same: undoing the report undoes exactly that step of the text, and the
    // steps before it still line up.
    emit newCommand(new ReportTextCommand(m_text));
}

void ReportText::chooseFont()
{
    DocumentDialogScope dialogs(scene());
    QFontDialog dialog(m_text->font(), currentMainWindow());
    dialog.setWindowTitle(QString());
    if (Prompts::instance().execDialog(&dialog) == QDialog::Accepted)
        setTextFont(dialog.selectedFont());
}

void ReportText::focusInEvent(QFocusEvent* event)
{
    ReportResizableItem::focusInEvent(event);
    if (isEditable())
        m_text->startEditing();
}

void ReportText::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEditable())
        m_text->startEditing();
    ReportResizableItem::mousePressEvent(event);
}

void ReportText::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    if (!isEditable()) {
        event->ignore();
        return;
    }
    QMenu menu;
    menu.addAction(fontSettingsAction());
    menu.exec(event->screenPos());
    event->accept();
}
