#pragma once

#include "ConnectionPoint.h"
#include "DiagramGraphicsItem.h"
#include "DiagramModel.h"

#include <QPainterPath>
#include <QVector>

class DiagramComponent;
class QAction;

// A cable between two ends, drawn as an orthogonal route: a single wire, or a DC or AC cable
// drawn with two or three parallel lines.
class DiagramConnection : public DiagramGraphicsItem, public CableEndOwner
{
    Q_OBJECT
public:
    // A cable to draw: both ends at position, endA follows the pointer.
    DiagramConnection(int kind, const QString& id, const QPointF& position);
    // An empty cable for loading.
    DiagramConnection();
    ~DiagramConnection() override;

    int type() const override;
    QString displayName() const override;

    // A cable just drawn, as the model will hold it; its ends name their components by id.
    Diagram::Cable toModel() const;
    // Shows the model's entry on a cable in the drawing: each attached end is attached to the
    // component the scene found for its id (null leaves it loose); an end the entry holds loose
    // stays where it is.
    void show(const Diagram::Cable& model, DiagramComponent* componentA, DiagramComponent* componentB);

    int kind() const override { return m_kind; }
    int drawState() const override { return m_drawState; }
    ConnectionPoint* endA() const { return m_endA; }
    ConnectionPoint* endB() const { return m_endB; }
    const QVector<QPointF>& route() const { return m_route; }

    // Fixes the end that follows the pointer; returns the new drawing state.
    int advance(const QPointF& point);
    void followPointer(const QPointF& point);
    // Detaches both ends from their components.
    void detachEnds();

    void updateRoute() override;
    void endDestroyed(ConnectionPoint* end) override;

    QRectF boundingRect() const override { return m_bounds; }
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QRectF boxAround(const ConnectionPoint* end) const;
    static Diagram::CableEnd endModel(const ConnectionPoint* end);
    static void showEnd(ConnectionPoint* end, const Diagram::CableEnd& model, DiagramComponent* component);

    ConnectionPoint* m_endA;
    ConnectionPoint* m_endB;
    int m_kind = 0;
    QVector<QPointF> m_route;
    QVector<QPointF> m_plus; // the parallel lines of a DC or AC cable
    QVector<QPointF> m_minus;
    QRectF m_bounds;
    int m_drawState = Diagram::Placed;
    QPointF m_dragOffset;
    bool m_dragging = false;
    QPointF m_pressA;
    QPointF m_pressB;
    QAction* m_deleteAction = nullptr;
};
