#pragma once

#include "DiagramComponent.h"

#include <QGraphicsItem>

class ConnectionPoint;
class DiagramConnection;

// What a cable end asks of the cable it belongs to.
class CableEndOwner
{
public:
    virtual int kind() const = 0;
    virtual int drawState() const = 0;
    virtual void updateRoute() = 0;
    // An end is being destroyed before its cable (the scene tears down in its own order).
    virtual void endDestroyed(ConnectionPoint* end) = 0;

protected:
    ~CableEndOwner() = default;
};

// One end of a cable: loose, or attached to a side of a component. Owned by its cable; drawn as
// a cross only while the pointer is over it or while it is being placed.
class ConnectionPoint : public QGraphicsItem, public AttachedEnd
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

    // owner is the same cable as connection, seen as what its ends need of it.
    ConnectionPoint(DiagramConnection* connection, CableEndOwner* owner, int side);
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
    void followComponent(const QPointF& componentPosition) override;
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
    // Attached to another component or to none: the old one forgets the end, the new one
    // carries it along.
    void setComponent(DiagramComponent* component);

    DiagramConnection* m_connection;
    CableEndOwner* m_owner;
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
