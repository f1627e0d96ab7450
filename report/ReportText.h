#pragma once

#include "ReportResizableItem.h"

class GraphicsTextItem;
class QAction;

// A text on a page: a fixed label, or an editable field whose typing becomes undo steps of the
// report and whose text shrinks to fit its box.
class ReportText : public ReportResizableItem
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::Text };
    explicit ReportText(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }
    QString tagName() const override { return QStringLiteral("text"); }
    bool isTabStop() const override { return isEditable(); }
    // Whether the user may change the text itself (a check box's label is fixed, its state not).
    virtual bool isTextEditable() const { return isEditable(); }
    bool save(QDomElement& element, bool valuesOnly, DocumentContainer& container) override;
    bool load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container) override;
    void setSize(const QSizeF& size, int handle) override;

    GraphicsTextItem* textItem() const { return m_text; }
    QString plainText() const;
    QFont textFont() const;
    void setTextFont(const QFont& font);
    // The QFont point size that shows a size given in points at 96 dpi, the scene's resolution.
    static qreal screenPointSize(qreal points);
    // The element's own text, without the text of nested item elements.
    static QString ownText(const QDomElement& element);

    // The text as a file can hold it: characters that XML 1.0 cannot carry are left out.
    static QString storableText(const QString& text);

    // How many characters the user sees in a text: a letter with its accents, or an emoji with
    // its modifiers, is one (a grapheme cluster), however many UTF-16 units it takes.
    static int visibleLength(const QString& text);
    // The first count characters of a text as the user sees them; never cuts one in half.
    static QString leftVisible(const QString& text, int count);

    // A text longer than this in a file is damage.
    static constexpr int MaxTextLength = 1 << 20;
    // No field shows more than this legibly, and a page of such fields must still lay out at
    // once: a longer value is cut when it is loaded, and typing and pasting stop there. Counted
    // in characters as the user sees them.
    static constexpr int MaxFieldLength = 2000;

    // The "Font Settings..." entry of editable fields.
    QAction* fontSettingsAction();

public slots:
    void createUndoCommand();
    void chooseFont();

protected:
    // The text interaction of the idle field: editing for editable fields, none otherwise.
    virtual Qt::TextInteractionFlags idleInteraction() const;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;

    GraphicsTextItem* m_text;

private:
    QAction* m_fontSettings = nullptr;
    bool m_documentConnected = false;
    bool m_loaded = false;
};
