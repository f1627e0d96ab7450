#include "DiagramConnection.h"

#include "CableRouting.h"
#include "ConnectionPoint.h"
#include "DiagramComponent.h"
#include "DiagramEditing.h"
#include "DiagramMenus.h"

#include <QAction>
#include <QCoreApplication>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPointer>

DiagramConnection::DiagramConnection(int kind, const QString& id, const QPointF& position)
    : m_endA(new ConnectionPoint(this, this, Diagram::Left))
    , m_endB(new ConnectionPoint(this, this, Diagram::Right))
    , m_kind(kind)
    , m_drawState(Diagram::PlacingEndA)
{
    setId(id);
    setFlags(ItemIsMovable);
    setZValue(-1);
    m_endA->setPos(position);
    m_endB->setPos(position);
    m_endB->setVisible(false);
    m_endA->setActive(true);
    updateRoute();
}

DiagramConnection::DiagramConnection()
    : m_endA(new ConnectionPoint(this, this, Diagram::Left))
    , m_endB(new ConnectionPoint(this, this, Diagram::Right))
{
    setFlags(ItemIsMovable);
    setZValue(-1);
    m_endA->setPos(100, 0);
    m_endB->setPos(-100, 0);
    updateRoute();
}

DiagramConnection::~DiagramConnection()
{
    // The ends are scene items of their own, owned here.
    delete m_endA;
    delete m_endB;
}

void DiagramConnection::endDestroyed(ConnectionPoint* end)
{
    if (end == m_endA)
        m_endA = nullptr;
    if (end == m_endB)
        m_endB = nullptr;
}

int DiagramConnection::type() const
{
    const bool known = m_kind >= Diagram::SingleWire && m_kind <= Diagram::AcCable;
    return Diagram::ConnectionType + (known ? m_kind : 0);
}

QString DiagramConnection::displayName() const
{
    return QCoreApplication::translate("DiagramConnection", "Connection", "Installation Diagram object name");
}

Diagram::Cable DiagramConnection::toModel() const
{
    Diagram::Cable model;
    model.kind = m_kind;
    model.id = id();
    model.endA = endModel(m_endA);
    model.endB = endModel(m_endB);
    return model;
}

Diagram::CableEnd DiagramConnection::endModel(const ConnectionPoint* end)
{
    Diagram::CableEnd model;
    if (end->component())
        model = { true, end->component()->id(), end->offset(), end->side() };
    return model;
}

void DiagramConnection::show(
    const Diagram::Cable& model, DiagramComponent* componentA, DiagramComponent* componentB)
{
    setId(model.id);
    m_kind = model.kind;
    showEnd(m_endA, model.endA, componentA);
    showEnd(m_endB, model.endB, componentB);
    m_drawState = Diagram::Placed;
    m_endB->setVisible(true);
    updateRoute();
}

void DiagramConnection::showEnd(
    ConnectionPoint* end, const Diagram::CableEnd& model, DiagramComponent* component)
{
    if (!model.attached || !component) {
        if (end->component())
            end->detach();
        return;
    }
    const QPointF point = component->scenePos() + model.offset;
    end->attach(component, point, model.side);
    end->setPosition(point);
}

int DiagramConnection::advance(const QPointF&)
{
    if (m_drawState == Diagram::PlacingEndA) {
        m_endA->setActive(false);
        m_endB->setActive(true);
        m_endB->setVisible(true);
        m_drawState = Diagram::PlacingEndB;
    } else if (m_drawState == Diagram::PlacingEndB) {
        m_endB->setActive(false);
        m_drawState = Diagram::Placed;
    }
    updateRoute();
    return m_drawState;
}

void DiagramConnection::followPointer(const QPointF& point)
{
    if (m_drawState == Diagram::PlacingEndA)
        m_endA->placeAt(point);
    else if (m_drawState == Diagram::PlacingEndB)
        m_endB->placeAt(point);
}

void DiagramConnection::detachEnds()
{
    if (m_endA->component())
        m_endA->detach();
    if (m_endB->component())
        m_endB->detach();
}

QRectF DiagramConnection::boxAround(const ConnectionPoint* end) const
{
    const QRectF box = end->component() ? end->component()->sceneBoundingRect() : end->sceneBoundingRect();
    const double margin = CableRouting::margin(m_kind);
    return box.adjusted(-margin, -margin, margin, margin);
}

void DiagramConnection::updateRoute()
{
    if (!m_endA || !m_endB)
        return;
    CableRouting::Ends ends { boxAround(m_endA), boxAround(m_endB), m_endA->pos(), m_endB->pos(),
        m_endA->side(), m_endB->side() };
    m_route = CableRouting::route(ends);
    const double half = CableRouting::penOffset(m_kind) + 0.5;
    // QRectF::united ignores empty rectangles, so the route's extent is gathered by hand.
    double left = m_route.first().x(), right = left, top = m_route.first().y(), bottom = top;
    for (const QPointF& p : qAsConst(m_route)) {
        left = qMin(left, p.x());
        right = qMax(right, p.x());
        top = qMin(top, p.y());
        bottom = qMax(bottom, p.y());
    }
    QRectF bounds = QRectF(QPointF(left, top), QPointF(right, bottom)).adjusted(-half, -half, half, half);
    bounds |= m_endA->sceneBoundingRect();
    bounds |= m_endB->sceneBoundingRect();
    // The cable stays at the scene's origin, so scene and item coordinates are the same.
    bounds.translate(-pos());
    // The parallel lines of a DC or AC cable are worked out once per route, not on every paint.
    m_plus.clear();
    m_minus.clear();
    if (m_kind == Diagram::DcCable || m_kind == Diagram::AcCable) {
        const CableRouting::Offsets offsets
            = CableRouting::parallelOffsets(m_route, CableRouting::penOffset(m_kind));
        const int n = offsets.points.size();
        m_plus.resize(n);
        m_minus.resize(n);
        for (int i = 0; i < n; ++i) {
            m_plus[i] = offsets.points.at(i) + offsets.offsets.at(i);
            m_minus[i] = offsets.points.at(i) - offsets.offsets.at(i);
        }
    }
    if (bounds != m_bounds)
        prepareGeometryChange();
    m_bounds = bounds;
    update();
    emit modified();
}

QPainterPath DiagramConnection::shape() const
{
    QPainterPath path;
    if (m_route.isEmpty() || m_drawState == Diagram::PlacingEndA)
        return path;
    path.moveTo(m_route.first());
    for (int i = 1; i < m_route.size(); ++i)
        path.lineTo(m_route.at(i));
    QPainterPathStroker stroker;
    // The drawn lines and a little beside them, so that a click need not hit the pixel.
    stroker.setWidth(2 * CableRouting::penOffset(m_kind) + 6);
    return stroker.createStroke(path);
}

void DiagramConnection::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (m_drawState == Diagram::PlacingEndA || m_route.size() < 2)
        return;
    // Every line runs across or down the page: smoothing would only blur it, and it costs most
    // of the time when thousands of cables are redrawn during a drag.
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->setBrush(Qt::NoBrush);
    if (m_kind != Diagram::DcCable)
        painter->drawPolyline(m_route.constData(), m_route.size());
    if (!m_plus.isEmpty()) {
        painter->drawPolyline(m_plus.constData(), m_plus.size());
        painter->drawPolyline(m_minus.constData(), m_minus.size());
    }
}

QVariant DiagramConnection::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemSceneHasChanged && m_endA && m_endB) {
        QGraphicsScene* now = scene();
        for (ConnectionPoint* end : { m_endA, m_endB }) {
            if (end->scene() && end->scene() != now)
                end->scene()->removeItem(end);
            if (now && end->scene() != now)
                now->addItem(end);
        }
    }
    return DiagramGraphicsItem::itemChange(change, value);
}

void DiagramConnection::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    if (!shape().contains(event->pos())) {
        event->ignore();
        return;
    }
    if (!m_deleteAction) {
        m_deleteAction = new QAction(QCoreApplication::translate("DiagramConnection", "Delete %1",
                                         "Installation Diagram object removal")
                                         .arg(displayName()),
            this);
    }
    QMenu menu;
    menu.addAction(m_deleteAction);
    event->accept();
    QPointer<DiagramConnection> alive(this);
    QAction* chosen = DiagramMenus::exec(menu, event->screenPos());
    if (alive && chosen == m_deleteAction) {
        if (auto* diagram = DiagramEditing::of(scene()))
            diagram->deleteConnection(this);
    }
}

void DiagramConnection::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (m_endA->component() || m_endB->component() || m_drawState != Diagram::Placed) {
        event->ignore();
        return;
    }
    m_dragging = true;
    m_dragOffset = event->scenePos() - m_endA->pos();
    m_pressA = m_endA->pos();
    m_pressB = m_endB->pos();
}

void DiagramConnection::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPointF span = m_endB->pos() - m_endA->pos();
    const QPointF a = event->scenePos() - m_dragOffset;
    m_endA->setPosition(a);
    m_endB->setPosition(a + span);
}

void DiagramConnection::mouseReleaseEvent(QGraphicsSceneMouseEvent*)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (m_endA->pos() == m_pressA)
        return;
    auto* diagram = DiagramEditing::of(scene());
    if (!diagram)
        return;
    ConnectionPoint::State beforeA = m_endA->state();
    ConnectionPoint::State beforeB = m_endB->state();
    beforeA.position = m_pressA;
    beforeB.position = m_pressB;
    diagram->endsMoved({ { m_endA, beforeA, m_endA->state() }, { m_endB, beforeB, m_endB->state() } });
}
