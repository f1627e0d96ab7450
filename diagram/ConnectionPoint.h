#pragma once

#include <QGraphicsItem>

class DiagramComponent;
class DiagramConnection;

// One end of a cable: loose, or attached to a side of a component. Owned by its cable; drawn as
// a cross only while the pointer is over it or while it is being placed.
class ConnectionPoint : public QGraphicsItem
{
public:
    // Where an end is and what it is attached to, for undo.
    struct State
    {
        QPointF position;
        DiagramComponent* component = nullptr;
        int side = 0;
        bool operator==(const State& other) const
        {
            return position == other.position && component == other.component && side == other.side;
        }
    };

    ConnectionPoint(DiagramConnection* connection, int side);
    ~ConnectionPoint() override;

    DiagramConnection* connection() const { return m_connection; }
    DiagramComponent* component() const { return m_component; }
    QPointF offset() const { return m_offset; }
    int side() const { return m_side; }
    bool isAttached() const { return m_attached; }
    bool isActive() const { return m_active; }
    void setActive(bool active);

    void attach(DiagramComponent* component, const QPointF& scenePoint, int side);
    void detach();
    // Moves the end without snapping and re-routes its cable.
    void setPosition(const QPointF& point);
    // Moves the end as the user does: it snaps to the component under it.
    void placeAt(const QPointF& point);

    State state() const;
    void restore(const State& state);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QPointF snapped(const QPointF& point);
    void showCross();

    DiagramConnection* m_connection;
    QPointF m_offset;
    DiagramComponent* m_component = nullptr;
    int m_side;
    bool m_hovered = false;
    bool m_attached = false;
    bool m_active = false;
    bool m_snapping = false;
    State m_pressState;
};

// Cable ends dragged: one end, or both ends of a loose cable.
struct EndMove
{
    ConnectionPoint* end;
    ConnectionPoint::State before;
    ConnectionPoint::State after;
};
