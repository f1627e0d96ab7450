#include "ConnectionPoint.h"

#include "DiagramComponent.h"
#include "DiagramEditing.h"

#include <QGraphicsScene>
#include <QPainter>

ConnectionPoint::ConnectionPoint(DiagramConnection* connection, CableEndOwner* owner, int side)
    : m_connection(connection)
    , m_owner(owner)
    , m_side(side)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
    setAcceptHoverEvents(true);
    showCross();
    // Above the components, so that an end on a side stays visible and can be picked up.
    setZValue(1);
}

ConnectionPoint::~ConnectionPoint()
{
    m_owner->endDestroyed(this);
}

void ConnectionPoint::setComponent(DiagramComponent* component)
{
    if (component == m_component)
        return;
    if (m_component)
        m_component->removeConnection(this);
    m_component = component;
    if (component)
        component->addConnection(this, this);
}

void ConnectionPoint::followComponent(const QPointF& componentPosition)
{
    setPosition(componentPosition + m_offset);
}

void ConnectionPoint::setActive(bool active)
{
    m_active = active;
    showCross();
}

void ConnectionPoint::showCross()
{
    // An end is drawn only while hovered or being placed. Otherwise the view passes it by
    // without a paint call: a component may carry thousands of them.
    setFlag(ItemHasNoContents, !m_hovered && !m_active);
    update();
}

void ConnectionPoint::attach(DiagramComponent* component, const QPointF& scenePoint, int side)
{
    setComponent(component);
    m_side = side;
    m_offset = scenePoint - component->scenePos();
    m_attached = true;
    update();
}

void ConnectionPoint::detach()
{
    setComponent(nullptr);
    m_attached = false;
    update();
    m_owner->updateRoute();
}

void ConnectionPoint::setPosition(const QPointF& point)
{
    if (pos() == point)
        m_owner->updateRoute(); // the box around the end may have changed all the same
    else
        setPos(point);
}

void ConnectionPoint::placeAt(const QPointF& point)
{
    const bool wasSnapping = m_snapping;
    m_snapping = true;
    setPos(point);
    m_snapping = wasSnapping;
    m_owner->updateRoute();
}

ConnectionPoint::State ConnectionPoint::state() const
{
    return { pos(), m_component, m_side };
}

void ConnectionPoint::restore(const State& state)
{
    if (state.component)
        attach(state.component, state.position, state.side);
    else if (m_component)
        detach();
    m_side = state.side;
    setPosition(state.position);
}

QRectF ConnectionPoint::boundingRect() const
{
    return QRectF(-5, -5, 10, 10);
}

void ConnectionPoint::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!m_hovered && !m_active)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(
        QPen(m_attached ? Qt::darkGreen : Qt::red, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    // Inside the 10 x 10 square, so that the square caps stay within it.
    painter->drawLine(QPointF(-4, -4), QPointF(4, 4));
    painter->drawLine(QPointF(-4, 4), QPointF(4, -4));
}

QPointF ConnectionPoint::snapped(const QPointF& point)
{
    QGraphicsScene* s = scene();
    if (!s)
        return point;
    DiagramComponent* target = nullptr;
    QPointF result = point;
    int side = 0;
    const QList<QGraphicsItem*> under = s->items(point, Qt::IntersectsItemBoundingRect, Qt::AscendingOrder);
    for (QGraphicsItem* item : under) {
        if (!Diagram::isComponentType(item->type()))
            continue;
        auto* component = static_cast<DiagramComponent*>(item);
        QPointF candidate = point;
        int candidateSide = 0;
        component->snap(m_owner->kind(), candidate, candidateSide, m_owner->drawState());
        if (candidateSide != 0) {
            target = component;
            result = candidate;
            side = candidateSide;
        }
    }
    if (target)
        attach(target, result, side);
    else
        setComponent(nullptr);
    m_attached = target != nullptr;
    return result;
}

QVariant ConnectionPoint::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionChange && (m_snapping || m_active))
        return snapped(value.toPointF());
    if (change == ItemPositionHasChanged)
        m_owner->updateRoute();
    return QGraphicsItem::itemChange(change, value);
}

void ConnectionPoint::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    m_hovered = true;
    showCross();
    QGraphicsItem::hoverEnterEvent(event);
}

void ConnectionPoint::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    m_hovered = false;
    showCross();
    QGraphicsItem::hoverLeaveEvent(event);
}

void ConnectionPoint::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    m_pressState = state();
    m_snapping = true;
    QGraphicsItem::mousePressEvent(event);
}

void ConnectionPoint::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsItem::mouseReleaseEvent(event);
    m_snapping = false;
    m_owner->updateRoute();
    if (!(state() == m_pressState)) {
        if (auto* diagram = DiagramEditing::of(scene()))
            diagram->endsMoved({ { this, m_pressState, state() } });
    }
}
