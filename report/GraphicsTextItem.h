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
    // Scales the text down until its wrapped lines fit the field's height.
    void shrinkToFit();
    // Editor interaction and focus; a non-empty text replaces the content (as one undoable
    // edit), an empty one selects all.
    void startEditing(const QString& text = QString());
    void stopEditing();

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
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void dropEvent(QGraphicsSceneDragDropEvent* event) override;

private:
    void afterEdit();
    // The height the text takes when wrapped to a width, laid out as the field lays it out.
    qreal wrappedHeight(QTextDocument& scratch, qreal width) const;

    bool m_navigationMode = false;
    qreal m_fieldWidth = -1;
    qreal m_fieldHeight = -1;
    QString m_lastShrunkText;
    qreal m_fontPointSize = 8.5;
    bool m_menuOpen = false;
};
