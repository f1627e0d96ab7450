#include "ReportResizableItem.h"

#include "ReportResizableItemCommand.h"

#include <QCursor>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QtMath>

namespace {
bool same(qreal a, qreal b)
{
    return std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}

bool same(const QSizeF& a, const QSizeF& b)
{
    return same(a.width(), b.width()) && same(a.height(), b.height());
}

bool same(const QPointF& a, const QPointF& b)
{
    return same(a.x(), b.x()) && same(a.y(), b.y());
}
} // namespace

ReportResizableItem::ReportResizableItem(bool resizable, QGraphicsItem* parent)
    : AbstractReportItem(parent)
    , m_resizable(!resizable)
{
    setResizable(resizable);
}

void ReportResizableItem::setResizable(bool resizable)
{
    if (m_resizable == resizable)
        return;
    m_resizable = resizable;
    setFlag(ItemIsMovable, resizable);
    setFlag(ItemIsFocusable, resizable || flags().testFlag(ItemIsFocusable));
    setFlag(ItemSendsGeometryChanges, resizable);
    setAcceptHoverEvents(resizable);
    prepareGeometryChange();
    updateBand();
}

void ReportResizableItem::setSize(const QSizeF& size, int)
{
    prepareGeometryChange();
    m_rect.setSize(size);
}

void ReportResizableItem::showGeometry(int handle)
{
    ReportItem* item = boundModel();
    if (!item)
        return;
    setFocus();
    setSize(item->size, handle);
    updateBand();
    setPos(item->pos);
    // A picture keeps its proportions and scale: the model takes the box the view settled on.
    storeInModel();
}

void ReportResizableItem::fromModel(const ReportItem& item)
{
    setResizable(item.resizable);
    // A cell's box is its place on the grid, which its table lays out.
    if (item.kind != ReportItem::Kind::Cell && item.size.width() > 0 && item.size.height() > 0)
        setSize(item.size, ResizeHandle::BottomRight);
    AbstractReportItem::fromModel(item);
    updateBand();
}

bool ReportResizableItem::toModel(ReportItem& item) const
{
    item.resizable = m_resizable;
    item.size = rect().size();
    return AbstractReportItem::toModel(item);
}

void ReportResizableItem::updateBand()
{
    const qreal w = 1 / m_penScale;
    const QRectF band = rect().adjusted(-3 * w, -3 * w, 3 * w, 3 * w);
    if (band != m_band) {
        prepareGeometryChange();
        m_band = band;
    }
}

QRectF ReportResizableItem::boundingRect() const
{
    if (!m_resizable)
        return rect();
    const qreal w = 1 / m_penScale;
    return rect().adjusted(-6 * w, -6 * w, 6 * w, 6 * w);
}

void ReportResizableItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!m_resizable)
        return;
    const qreal scale = painter->worldTransform().m11();
    if (scale > 0 && !qFuzzyCompare(scale, m_penScale)) {
        m_penScale = scale;
        updateBand();
    }
    if (!m_hovered)
        return;
    QPen pen(Qt::white, 6);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(m_band);
    QBrush hatch(Qt::Dense4Pattern);
    hatch.setTransform(QTransform::fromScale(1 / m_penScale, 1 / m_penScale));
    pen.setBrush(hatch);
    painter->setPen(pen);
    painter->drawRect(m_band);
}

int ReportResizableItem::handleAt(const QPointF& p, const QRectF& r)
{
    const int horizontal = p.x() <= 0 ? 1 : (p.x() >= r.x() + r.width() ? 4 : 2);
    const int vertical = p.y() <= 0 ? 16 : (p.y() >= r.y() + r.height() ? 64 : 32);
    return horizontal + vertical;
}

void ReportResizableItem::setHandle(int handle)
{
    m_resizeHandle = handle;
    switch (handle) {
    case ResizeHandle::TopLeft:
    case ResizeHandle::BottomRight:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case ResizeHandle::Top:
    case ResizeHandle::Bottom:
        setCursor(Qt::SizeVerCursor);
        break;
    case ResizeHandle::TopRight:
    case ResizeHandle::BottomLeft:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case ResizeHandle::Left:
    case ResizeHandle::Right:
        setCursor(Qt::SizeHorCursor);
        break;
    default:
        setCursor(Qt::SizeAllCursor);
        break;
    }
}

void ReportResizableItem::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    if (!m_resizable)
        return;
    m_hovered = true;
    setHandle(handleAt(event->pos(), rect()));
    update();
}

void ReportResizableItem::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (!m_resizable)
        return;
    setHandle(handleAt(event->pos(), rect()));
}

void ReportResizableItem::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
    m_hovered = false;
    update();
}

void ReportResizableItem::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_resizable || event->button() != Qt::LeftButton) {
        AbstractReportItem::mousePressEvent(event);
        return;
    }
    // The handle is worked out again here: a press may come without a hover before it.
    setHandle(handleAt(event->pos(), rect()));
    m_startPos = pos();
    m_startRect = QRectF(pos(), rect().size());
    m_pressScenePos = event->scenePos();
    event->accept();
}

void ReportResizableItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_resizable) {
        AbstractReportItem::mouseMoveEvent(event);
        return;
    }
    const QPointF d = event->scenePos() - m_pressScenePos;
    const QRectF R = m_startRect;
    QRectF wanted = R;
    switch (m_resizeHandle) {
    case ResizeHandle::TopLeft:
        wanted.setTopLeft(R.topLeft() + d);
        break;
    case ResizeHandle::Top:
        wanted.setTop(R.top() + d.y());
        break;
    case ResizeHandle::TopRight:
        wanted.setTopRight(R.topRight() + d);
        break;
    case ResizeHandle::Left:
        wanted.setLeft(R.left() + d.x());
        break;
    case ResizeHandle::Right:
        wanted.setRight(R.right() + d.x());
        break;
    case ResizeHandle::BottomLeft:
        wanted.setBottomLeft(R.bottomLeft() + d);
        break;
    case ResizeHandle::Bottom:
        wanted.setBottom(R.bottom() + d.y());
        break;
    case ResizeHandle::BottomRight:
        wanted.setBottomRight(R.bottomRight() + d);
        break;
    default:
        wanted.translate(d);
        break;
    }
    // A box dragged past its opposite side stays a box of at least one unit.
    wanted.setWidth(std::max<qreal>(1, wanted.width()));
    wanted.setHeight(std::max<qreal>(1, wanted.height()));
    if (!same(wanted.size(), rect().size())) {
        setSize(wanted.size(), m_resizeHandle);
        updateBand();
    }
    const QRectF a = rect();
    QPointF p;
    switch (m_resizeHandle) {
    case ResizeHandle::TopLeft:
        p = QPointF(R.right() - a.right(), R.bottom() - a.bottom());
        break;
    case ResizeHandle::Top:
        p = QPointF(R.x(), R.bottom() - a.height());
        break;
    case ResizeHandle::TopRight:
        p = QPointF(R.x() - a.x(), R.bottom() - a.bottom());
        break;
    case ResizeHandle::Left:
        p = QPointF(R.right() - a.width(), R.center().y() - a.height() / 2);
        break;
    case ResizeHandle::Right:
        p = QPointF(R.x(), R.center().y() - a.height() / 2);
        break;
    case ResizeHandle::BottomLeft:
        p = QPointF(R.right() - a.right(), R.y() - a.y());
        break;
    case ResizeHandle::Bottom:
    case ResizeHandle::BottomRight:
        p = R.topLeft();
        break;
    default:
        p = wanted.topLeft();
        break;
    }
    // Only the command at the release marks the report modified: a drag that ends where it
    // began is no change.
    setPos(p);
}

void ReportResizableItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_resizable) {
        AbstractReportItem::mouseReleaseEvent(event);
        return;
    }
    if (same(pos(), m_startPos) && same(rect().size(), m_startRect.size()))
        return;
    const QPointer<ReportResizableItem> view(this);
    const int handle = m_resizeHandle;
    emit newCommand(new ReportResizableItemCommand(
        model(), m_startPos, m_startRect.size(), pos(), rect().size(), [view, handle] {
            if (view)
                view->showGeometry(handle);
        }));
}
