#include "GraphicsTextItem.h"

#include "ReportScene.h"
#include "ReportText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QUndoStack>

#include <cmath>

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

qreal GraphicsTextItem::wrappedHeight(QTextDocument& scratch, qreal width) const
{
    scratch.setTextWidth(std::max<qreal>(width, 1));
    return scratch.size().height();
}

void GraphicsTextItem::shrinkToFit()
{
    m_lastShrunkText = toPlainText();
    if (m_lastShrunkText.isEmpty() || m_fieldWidth <= 0 || m_fieldHeight <= 0)
        return;
    const QFontMetricsF metrics(font());
    // Measured the way the field draws: its font and its wrapping, which breaks a word without
    // spaces (an e-mail address, a serial number) anywhere rather than letting it overflow.
    QTextDocument scratch;
    scratch.setUndoRedoEnabled(false);
    scratch.setDocumentMargin(0);
    scratch.setDefaultFont(font());
    scratch.setDefaultTextOption(document()->defaultTextOption());
    qreal s = 1;
    // Most values are one short line: when it fits the width, wrapping cannot make it taller.
    const bool plainLine = !m_lastShrunkText.contains(QLatin1Char('\n'))
        && !m_lastShrunkText.contains(QLatin1Char('\t')) && !m_lastShrunkText.contains(QChar::LineSeparator);
    const bool fitsOneLine = plainLine
        && metrics.horizontalAdvance(m_lastShrunkText) <= int(m_fieldWidth - 10)
        && metrics.lineSpacing() <= int(m_fieldHeight - 4);
    if (!fitsOneLine)
        scratch.setPlainText(m_lastShrunkText);
    // How much of the field's height the text needs at a scale: at most 1 when it fits.
    auto overflow = [&](qreal scale) {
        const int availableHeight = std::max(0, int((m_fieldHeight - 4) / scale));
        const qreal needed = wrappedHeight(scratch, int((m_fieldWidth - 10) / scale));
        return needed <= availableHeight || needed <= 0 ? 1.0 : needed / std::max(availableHeight, 1);
    };
    bool fits = fitsOneLine;
    if (!fits) {
        // Wrapped text needs about the square root of its overflow: start there, so that a
        // long value takes a few layouts rather than ten of the whole text.
        const qreal ratio = overflow(1);
        fits = ratio <= 1;
        if (!fits)
            s = std::max<qreal>(1 / std::sqrt(ratio), 0.05);
    }
    for (int i = 0; i < 10 && !fits; ++i) {
        const qreal ratio = overflow(s);
        fits = ratio <= 1;
        if (fits)
            break;
        qreal n = s / ratio;
        if (i < 9)
            n = (n + s) / 2;
        // A field too small for any text would drive the scale to zero; keep it readable.
        s = std::max<qreal>(n, 0.05);
    }
    // The last round's scale is a guess from the width before it; a few bounded rounds more
    // make sure that the text never runs over the field's border.
    for (int i = 0; i < 4 && !fits && s > 0.05; ++i) {
        const qreal ratio = overflow(s);
        fits = ratio <= 1;
        if (!fits)
            s = std::max<qreal>(s / ratio * 0.98, 0.05);
    }
    s = std::min<qreal>(s, 1);
    // The text document's margin shrinks with the text (changing it would be an undo step of
    // the document): the text moves and widens instead, so that on the page the margin stays
    // TextMargin wide and the lines fill the field between its margins.
    const qreal width = (m_fieldWidth - 2 * TextMargin) / s + 2 * TextMargin;
    // Setting the width lays the text out again, even when the width does not change.
    if (!qFuzzyCompare(textWidth(), width))
        setTextWidth(width);
    if (!qFuzzyCompare(scale(), s))
        setScale(s);
    const QPointF offset(TextMargin * (1 - s), TextMargin * (1 - s));
    if (pos() != offset)
        setPos(offset);
}

void GraphicsTextItem::resetScale()
{
    setScale(1);
    setPos(0, 0);
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
    if (isUserEditable() && (textInteractionFlags() & Qt::TextEditable)) {
        if (event->matches(QKeySequence::Paste)) {
            insertFromOutside(QApplication::clipboard()->text());
            event->accept();
            afterEdit();
            return;
        }
        // A field full to the longest text it holds takes no more typing, and says so.
        const QString typed = event->text();
        const bool inserts = !typed.isEmpty() && typed.at(0).isPrint()
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (inserts && ReportTextRules::visibleLength(textWith(typed)) > ReportLimits::MaxFieldLength) {
            reportInputCut();
            event->accept();
            return;
        }
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

void GraphicsTextItem::startNewUndoStep()
{
    // The text document joins an edit to its last step only while it counts as modified.
    document()->setModified(false);
}

void GraphicsTextItem::focusInEvent(QFocusEvent* event)
{
    // Coming back to a field is a new edit, even at the end of what was typed here before: its
    // undo must not take the earlier typing with it, nor skip the other fields edited between.
    startNewUndoStep();
    QGraphicsTextItem::focusInEvent(event);
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

bool GraphicsTextItem::isUserEditable() const
{
    if (auto* owner = qobject_cast<ReportText*>(parentObject()))
        return owner->isTextEditable();
    return textInteractionFlags() & Qt::TextEditable;
}

QString GraphicsTextItem::textWith(const QString& inserted) const
{
    const QString text = toPlainText();
    const QTextCursor cursor = textCursor();
    return text.left(cursor.selectionStart()) + inserted + text.mid(cursor.selectionEnd());
}

QString GraphicsTextItem::fittingPart(const QString& text, const QString& kept) const
{
    // Most insertions fit without counting: no text has more characters than UTF-16 units.
    if (kept.size() + text.size() <= ReportLimits::MaxFieldLength)
        return text;
    const int room = ReportLimits::MaxFieldLength - ReportTextRules::visibleLength(kept);
    const QString part = ReportTextRules::leftVisible(text, std::max(0, room));
    if (part.size() < text.size())
        reportInputCut();
    return part;
}

void GraphicsTextItem::reportInputCut() const
{
    if (auto* reportScene = qobject_cast<ReportScene*>(scene()))
        emit reportScene->inputCut();
}

void GraphicsTextItem::insertFromOutside(const QString& text)
{
    QTextCursor cursor = textCursor();
    const QString clean = fittingPart(ReportTextRules::storableText(text), textWith(QString()));
    if (clean.isEmpty() && !cursor.hasSelection())
        return;
    cursor.insertText(clean);
    setTextCursor(cursor);
}

void GraphicsTextItem::fillContextMenu(QMenu* menu)
{
    if (!isUserEditable())
        return;
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
        insertFromOutside(QApplication::clipboard()->text());
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
    if (!isUserEditable()) {
        event->ignore();
        return;
    }
    QMenu menu;
    fillContextMenu(&menu);
    m_menuOpen = true;
    menu.exec(event->screenPos());
    m_menuOpen = false;
    event->accept();
}

void GraphicsTextItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    // The middle button pastes the selection of X11 desktops; it goes the way of any paste.
    if (event->button() == Qt::MiddleButton && (textInteractionFlags() & Qt::TextEditable)
        && QApplication::clipboard()->supportsSelection()) {
        if (isUserEditable()) {
            QTextCursor cursor = textCursor();
            const int position = document()->documentLayout()->hitTest(event->pos(), Qt::FuzzyHit);
            if (position >= 0)
                cursor.setPosition(position);
            setTextCursor(cursor);
            insertFromOutside(QApplication::clipboard()->text(QClipboard::Selection));
            afterEdit();
        }
        event->accept();
        return;
    }
    QGraphicsTextItem::mouseReleaseEvent(event);
}

void GraphicsTextItem::dropEvent(QGraphicsSceneDragDropEvent* event)
{
    const QMimeData* dropped = event->mimeData();
    if (!isUserEditable() || !dropped || !dropped->hasText()) {
        event->ignore();
        return;
    }
    // The text editor drops only what is left of the text once it is made storable and cut to
    // what the field has room for.
    QMimeData clean;
    clean.setText(fittingPart(ReportTextRules::storableText(dropped->text()), toPlainText()));
    event->setMimeData(&clean);
    QGraphicsTextItem::dropEvent(event);
    event->setMimeData(dropped);
    afterEdit();
}
