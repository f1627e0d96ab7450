#pragma once

#include "AbstractReportItem.h"

// A report item with a box. When resizable, the user moves it with the inside of the box and
// resizes it with the handle band around it; each drag is one undo step.
class ReportResizableItem : public AbstractReportItem
{
    Q_OBJECT
public:
    explicit ReportResizableItem(bool resizable, QGraphicsItem* parent = nullptr);

    bool isResizable() const { return m_resizable; }
    void setResizable(bool resizable);

    virtual void setSize(const QSizeF& size, int handle);
    // Shows the place and box of the model item, as a move or resize by the handle left them.
    void showGeometry(int handle);
    virtual QRectF rect() const { return m_rect; }

    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int resizeHandle() const { return m_resizeHandle; }
    // Recomputes the handle band for the current box and pen scale.
    void updateBand();
    static int handleAt(const QPointF& pos, const QRectF& box);

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    void setHandle(int handle);

    bool m_resizable;
    bool m_hovered = false;
    QRectF m_rect;
    QRectF m_startRect;
    QPointF m_startPos;
    QPointF m_pressScenePos;
    int m_resizeHandle = 0;
    QRectF m_band;
    qreal m_penScale = 1;
};
