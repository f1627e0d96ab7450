#pragma once

#include "DiagramGraphicsItem.h"

#include <QPainterPath>
#include <QVector>

class ConnectionPoint;
class QAction;

// A cable between two ends, drawn as an orthogonal route: a single wire, or a DC or AC cable
// drawn with two or three parallel lines.
class DiagramConnection : public DiagramGraphicsItem
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
    QString elementName() const override;
    void save(QDomElement& element) const override;
    void load(const QDomElement& element) override;

    int kind() const { return m_kind; }
    int drawState() const { return m_drawState; }
    ConnectionPoint* endA() const { return m_endA; }
    ConnectionPoint* endB() const { return m_endB; }
    const QVector<QPointF>& route() const { return m_route; }

    // Fixes the end that follows the pointer; returns the new drawing state.
    int advance(const QPointF& point);
    void followPointer(const QPointF& point);
    // Detaches both ends from their components.
    void detachEnds();

    void updateRoute();
    // An end is being destroyed before its cable (the scene tears down in its own order).
    void endDestroyed(ConnectionPoint* end);

    QRectF boundingRect() const override { return m_bounds; }
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    static QString typeName(int kind);
    static int kindFromName(const QString& name);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QRectF boxAround(const ConnectionPoint* end) const;
    void loadEnd(const QDomElement& element, ConnectionPoint* end);
    void saveEnd(QDomElement& element, const QString& tag, const ConnectionPoint* end) const;

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
