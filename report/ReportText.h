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
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::Text; }
    bool isTabStop() const override { return isEditable(); }
    // Whether the user may change the text itself (a check box's label is fixed, its state not).
    virtual bool isTextEditable() const { return isEditable(); }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;
    void setSize(const QSizeF& size, int handle) override;

    GraphicsTextItem* textItem() const { return m_text; }
    QString plainText() const;
    QFont textFont() const;
    void setTextFont(const QFont& font);
    // The QFont point size that shows a size given in points at 96 dpi, the scene's resolution.
    static qreal screenPointSize(qreal points);

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
