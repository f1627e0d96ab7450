#include "DiagramLabel.h"

#include "DiagramEditing.h"
#include "DiagramMenus.h"

#include <QCoreApplication>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTextDocument>

DiagramLabel::DiagramLabel(DiagramComponent* owner, QGraphicsItem* parent)
    : QGraphicsTextItem(parent)
    , m_owner(owner)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
}

void DiagramLabel::setMinimumHeight(double height)
{
    prepareGeometryChange();
    m_minimumHeight = height;
}

void DiagramLabel::setFixedTextWidth(double width)
{
    m_fixedWidth = true;
    setTextWidth(width);
}

void DiagramLabel::setText(const QString& plainText)
{
    QString escaped = plainText.toHtmlEscaped();
    escaped.replace(QLatin1Char('\n'), QStringLiteral("<br />"));
    if (!m_fixedWidth)
        setTextWidth(-1);
    setHtml(QStringLiteral("<center>%1</center>").arg(escaped));
    // Without a width there is nothing to centre in: every line would start at the left.
    if (!m_fixedWidth)
        setTextWidth(document()->idealWidth());
    emit modified();
}

void DiagramLabel::carryBy(const QPointF& delta)
{
    m_carried = true;
    moveBy(delta.x(), delta.y());
    m_carried = false;
}

void DiagramLabel::placeAt(const QPointF& position)
{
    m_carried = true;
    setPos(position);
    m_carried = false;
}

void DiagramLabel::setSelectionShown(bool shown)
{
    m_selectionShown = shown;
    update();
}

void DiagramLabel::drawSelection(QPainter* painter, const QRectF& rect)
{
    // Inside the box, so that it never paints beyond what the scene repaints.
    painter->setPen(QPen(QColor(0, 120, 215), 2, Qt::DashLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(4, 4, -4, -4));
}

QRectF DiagramLabel::boundingRect() const
{
    QRectF rect = QGraphicsTextItem::boundingRect();
    if (rect.height() < m_minimumHeight)
        rect.setHeight(m_minimumHeight);
    return rect;
}

void DiagramLabel::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->setBrush(Qt::white);
    // Inside the bounding rectangle, so that no part of the border is left behind on a move.
    painter->drawRect(boundingRect().adjusted(0.5, 0.5, -0.5, -0.5));
    QGraphicsTextItem::paint(painter, option, widget);
    if (m_selectionShown)
        drawSelection(painter, boundingRect());
}

QVariant DiagramLabel::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionHasChanged) {
        const QPointF delta = pos() - m_lastPos;
        m_lastPos = pos();
        if (scene() && !m_carried)
            emit movedBy(delta);
        emit modified();
    }
    return QGraphicsTextItem::itemChange(change, value);
}

void DiagramLabel::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    QMenu menu;
    QAction* setText = menu.addAction(
        QCoreApplication::translate("DiagramLabel", "Set Label Text", "Drop down menu option"));
    menu.addSeparator();
    QAction* remove = menu.addAction(
        QCoreApplication::translate("DiagramLabel", "Delete Label", "Drop down menu option"));
    event->accept();
    QPointer<DiagramLabel> alive(this);
    QAction* chosen = DiagramMenus::exec(menu, event->screenPos());
    auto* diagram = alive ? DiagramEditing::of(scene()) : nullptr;
    if (!diagram)
        return;
    if (chosen == setText)
        diagram->editCaption(this);
    else if (chosen == remove)
        diagram->deleteCaption(this);
}

void DiagramLabel::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsTextItem::mousePressEvent(event);
    auto* diagram = DiagramEditing::of(scene());
    if (diagram && event->button() == Qt::LeftButton)
        diagram->beginDrag(this);
}

void DiagramLabel::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsTextItem::mouseReleaseEvent(event);
    if (auto* diagram = DiagramEditing::of(scene()))
        diagram->endDrag();
}
