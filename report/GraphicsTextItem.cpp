#include "GraphicsTextItem.h"

#include "ReportScene.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGraphicsSceneContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QUndoStack>

GraphicsTextItem::GraphicsTextItem(QGraphicsItem* parent)
    : QGraphicsTextItem(parent)
{
    setAcceptHoverEvents(false);
    setTabChangesFocus(true);
    setFlag(ItemIsFocusable);
}

void GraphicsTextItem::setFieldSize(qreal width, qreal height)
{
    m_fieldWidth = width;
    m_fieldHeight = height;
}

QUndoStack* GraphicsTextItem::undoStack() const
{
    auto* reportScene = qobject_cast<ReportScene*>(scene());
    return reportScene ? reportScene->undoStack() : nullptr;
}

void GraphicsTextItem::replaceText(const QString& text)
{
    // setPlainText() rebuilds the document and lays it out before inserting the text; a
    // replacement of the content lays it out once.
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
}

void GraphicsTextItem::shrinkToFit()
{
    m_lastShrunkText = toPlainText();
    if (m_lastShrunkText.isEmpty() || m_fieldWidth <= 0 || m_fieldHeight <= 0)
        return;
    const QFontMetricsF metrics(font());
    qreal s = 1;
    // Most values are one short line: when it fits the width, wrapping cannot make it taller.
    const bool plainLine = !m_lastShrunkText.contains(QLatin1Char('\n'))
        && !m_lastShrunkText.contains(QLatin1Char('\t')) && !m_lastShrunkText.contains(QChar::LineSeparator);
    const bool fitsOneLine = plainLine
        && metrics.horizontalAdvance(m_lastShrunkText) <= int(m_fieldWidth - 10)
        && metrics.lineSpacing() <= int(m_fieldHeight - 4);
    for (int i = 0; i < 10 && !fitsOneLine; ++i) {
        const int availableWidth = int((m_fieldWidth - 10) / s);
        const int availableHeight = int((m_fieldHeight - 4) / s);
        const QRectF needed
            = metrics.boundingRect(QRectF(0, 0, std::max(availableWidth, 1), std::max(availableHeight, 0)),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_lastShrunkText);
        if (availableHeight >= needed.height() || needed.height() <= 0)
            break;
        qreal n = std::max(0, availableHeight) / needed.height() * s;
        if (i < 9)
            n = (n + s) / 2;
        // A field too small for any text would drive the scale to zero; keep it readable.
        s = std::max<qreal>(n, 0.05);
    }
    s = std::min<qreal>(s, 1);
    // Setting the width lays the text out again, even when the width does not change.
    if (!qFuzzyCompare(textWidth(), m_fieldWidth / s))
        setTextWidth(m_fieldWidth / s);
    if (!qFuzzyCompare(scale(), s))
        setScale(s);
}

void GraphicsTextItem::startEditing(const QString& text)
{
    setTextInteractionFlags(Qt::TextEditorInteraction);
    setFocus(Qt::OtherFocusReason);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    if (!text.isEmpty()) {
        cursor.insertText(text);
        cursor.movePosition(QTextCursor::End);
    }
    setTextCursor(cursor);
    if (!text.isEmpty() && m_fieldHeight > 0 && toPlainText() != m_lastShrunkText)
        shrinkToFit();
}

void GraphicsTextItem::stopEditing()
{
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void GraphicsTextItem::keyPressEvent(QKeyEvent* event)
{
    if (m_navigationMode) {
        const QTextCursor cursor = textCursor();
        switch (event->key()) {
        case Qt::Key_Escape:
            stopEditing();
            // The cell keeps the focus, so that the arrow keys move through the table again.
            if (parentItem())
                parentItem()->setFocus(Qt::OtherFocusReason);
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            event->accept();
            emit requestMove(0, 1);
            return;
        case Qt::Key_Up:
            event->accept();
            emit requestMove(0, -1);
            return;
        case Qt::Key_Left:
            if (cursor.atStart() && !cursor.hasSelection()) {
                event->accept();
                emit requestMove(-1, 0);
                return;
            }
            break;
        case Qt::Key_Right:
            if (cursor.atEnd() && !cursor.hasSelection()) {
                event->accept();
                emit requestMove(1, 0);
                return;
            }
            break;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    QUndoStack* stack = undoStack();
    if (stack && event->matches(QKeySequence::Undo)) {
        stack->undo();
    } else if (stack
        && (event->matches(QKeySequence::Redo)
            || (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier))) {
        stack->redo();
    } else {
        QGraphicsTextItem::keyPressEvent(event);
    }
    afterEdit();
}

void GraphicsTextItem::focusOutEvent(QFocusEvent* event)
{
    if (m_menuOpen)
        return;
    if (m_navigationMode)
        stopEditing();
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
    QGraphicsTextItem::focusOutEvent(event);
}

void GraphicsTextItem::fillContextMenu(QMenu* menu)
{
    const bool hasSelection = textCursor().hasSelection();
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    QUndoStack* stack = undoStack();
    QAction* cut = menu->addAction(QIcon(QStringLiteral(":res/toolButtons/context-cut.png")), tr("Cut"));
    cut->setEnabled(hasSelection);
    connect(cut, &QAction::triggered, this, [this] {
        QTextCursor cursor = textCursor();
        QApplication::clipboard()->setText(cursor.selectedText().replace(QChar::ParagraphSeparator, '\n'));
        cursor.removeSelectedText();
        setTextCursor(cursor);
        afterEdit();
    });
    QAction* copy = menu->addAction(QIcon(QStringLiteral(":res/toolButtons/context-copy.png")), tr("Copy"));
    copy->setEnabled(hasSelection);
    connect(copy, &QAction::triggered, this, [this] {
        QApplication::clipboard()->setText(
            textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'));
    });
    QAction* paste
        = menu->addAction(QIcon(QStringLiteral(":res/toolButtons/context-paste.png")), tr("Paste"));
    paste->setEnabled(clip && clip->hasText() && !clip->text().isEmpty());
    connect(paste, &QAction::triggered, this, [this] {
        QTextCursor cursor = textCursor();
        cursor.insertText(QApplication::clipboard()->text());
        setTextCursor(cursor);
        afterEdit();
    });
    menu->addSeparator();
    QAction* undo = menu->addAction(QIcon(QStringLiteral(":res/toolButtons/context-undo.png")), tr("Undo"));
    undo->setEnabled(stack && stack->canUndo());
    QAction* redo = menu->addAction(QIcon(QStringLiteral(":res/toolButtons/context-redo.png")), tr("Redo"));
    redo->setEnabled(stack && stack->canRedo());
    if (stack) {
        connect(undo, &QAction::triggered, stack, &QUndoStack::undo);
        connect(redo, &QAction::triggered, stack, &QUndoStack::redo);
    }
}

void GraphicsTextItem::afterEdit()
{
    if (m_fieldHeight > 0 && toPlainText() != m_lastShrunkText)
        shrinkToFit();
}

void GraphicsTextItem::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    QMenu menu;
    fillContextMenu(&menu);
    m_menuOpen = true;
    menu.exec(event->screenPos());
    m_menuOpen = false;
    event->accept();
}
