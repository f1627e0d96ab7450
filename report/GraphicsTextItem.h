#pragma once

#include <QGraphicsTextItem>

class QMenu;
class QTextDocument;
class QUndoStack;

// The editor inside a text field: shrinks its text into the field, keeps the report's undo
// stack at Ctrl+Z/Ctrl+Y, and in navigation mode (table cells) turns arrow keys at the text's
// ends into moves to the neighbouring cell.
class GraphicsTextItem : public QGraphicsTextItem
{
    Q_OBJECT
public:
    explicit GraphicsTextItem(QGraphicsItem* parent = nullptr);

    bool navigationMode() const { return m_navigationMode; }
    void setNavigationMode(bool on) { m_navigationMode = on; }
    qreal fieldWidth() const { return m_fieldWidth; }
    qreal fieldHeight() const { return m_fieldHeight; }
    void setFieldSize(qreal width, qreal height);
    qreal fontPointSize() const { return m_fontPointSize; }
    void setFontPointSize(qreal size) { m_fontPointSize = size; }

    // Replaces the whole text as loading does: not undoable, laid out once.
    void replaceText(const QString& text);
    // Scales the text down until its wrapped lines fit the field's height. The margin around
    // the text stays as wide on the page as at full size, so that a shrunk text keeps clear of
    // the field's border and of the caption above it.
    void shrinkToFit();
    // Full size again, as before shrinking.
    void resetScale();
    // The space between the field's border and its text, in page units: the text document's
    // own margin at full size.
    static constexpr qreal TextMargin = 4;
    // Editor interaction and focus; a non-empty text replaces the content (as one undoable
    // edit), an empty one selects all.
    void startEditing(const QString& text = QString());
    void stopEditing();
    // The next edit becomes an undo step of its own instead of joining the text document's last
    // one (which it would when it continues that step's text where it ended).
    void startNewUndoStep();

    QUndoStack* undoStack() const;
    // Cut, Copy, Paste, Undo and Redo, enabled as they apply now; nothing for a text the user
    // may not change (a fixed label), whose right-click belongs to the page.
    void fillContextMenu(QMenu* menu);
    bool isUserEditable() const;
    // Inserts text from outside (the clipboard, a drop) at the cursor as one edit: without the
    // characters a file cannot hold, and no further than the longest text a field holds.
    void insertFromOutside(const QString& text);

signals:
    void requestMove(int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void dropEvent(QGraphicsSceneDragDropEvent* event) override;

private:
    void afterEdit();
    // The field's text with this in place of the selection (or at the cursor).
    QString textWith(const QString& inserted) const;
    // As much of a text to insert as the field has room for beside the text it keeps; tells the
    // user when that is less than all of it.
    QString fittingPart(const QString& text, const QString& kept) const;
    void reportInputCut() const;
    // The height the text takes when wrapped to a width, laid out as the field lays it out.
    qreal wrappedHeight(QTextDocument& scratch, qreal width) const;

    bool m_navigationMode = false;
    qreal m_fieldWidth = -1;
    qreal m_fieldHeight = -1;
    QString m_lastShrunkText;
    qreal m_fontPointSize = 8.5;
    bool m_menuOpen = false;
};
