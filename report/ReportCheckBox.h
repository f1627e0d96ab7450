#pragma once

#include "ReportText.h"

class QGraphicsSvgItem;
class QSvgRenderer;

// A check box with its label. A click or a key toggles it as one undo step.
class ReportCheckBox : public ReportText
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::CheckBox };
    explicit ReportCheckBox(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::CheckBox; }
    bool isTabStop() const override { return true; }
    bool isTextEditable() const override { return false; }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;

    bool isChecked() const { return m_checked; }
    // Sets the state without an undo step (loading, undo and redo).
    void setChecked(bool checked);
    void showModel() override;
    bool isHovered() const { return m_hovered; }
    QGraphicsSvgItem* box() const { return m_box; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // The one renderer of the check box drawing, shared by every box of the process.
    static QSvgRenderer* boxRenderer();

protected:
    Qt::TextInteractionFlags idleInteraction() const override { return Qt::NoTextInteraction; }
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;

private:
    QRectF contentRect() const;
    qreal horizontalScale() const;
    void toggleWithUndo();

    bool m_checked = false;
    bool m_hovered = false;
    QGraphicsSvgItem* m_box;
};
