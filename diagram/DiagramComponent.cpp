#include "DiagramComponent.h"

#include "CableRouting.h"
#include "DiagramEditing.h"
#include "DiagramLabel.h"
#include "DiagramMenus.h"

#include <QAction>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>

DiagramComponent::DiagramComponent(const QString& displayName, const QSizeF& size)
    : m_displayName(displayName)
    , m_rect(QPointF(0, 0), size)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
}

DiagramComponent::~DiagramComponent()
{
    // The caption is a scene item of its own; it goes with its component. Cable ends are not
    // owned: whoever removes a component detaches them first.
    delete m_caption.data();
    delete m_hiddenCaption;
}

Diagram::Component DiagramComponent::toModel() const
{
    Diagram::Component model;
    model.type = type();
    model.id = id();
    model.position = pos();
    if (m_caption) {
        // The box the text now takes: its layout may need more than the file gave it.
        model.hasCaption = true;
        model.caption = { m_caption->pos(), m_caption->boundingRect().size(), m_caption->text() };
    }
    return model;
}

void DiagramComponent::show(const Diagram::Component& model)
{
    setId(model.id);
    if (pos() != model.position)
        moveWithoutCaption(model.position);
    if (!model.hasCaption) {
        hideCaption();
        return;
    }
    if (!m_caption && m_hiddenCaption)
        showHiddenCaption();
    if (!m_caption) {
        setCaption(model.caption.text, model.caption.size, model.caption.position);
        return;
    }
    if (m_caption->text() != model.caption.text) {
        m_caption->setText(model.caption.text);
        captionChanged();
    }
    if (m_caption->pos() != model.caption.position)
        m_caption->placeAt(model.caption.position);
}

void DiagramComponent::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setRenderHint(QPainter::Antialiasing);
    paintSymbol(painter);
    if (isSelected())
        DiagramLabel::drawSelection(painter, m_rect);
}

void DiagramComponent::drawBox(QPainter* painter, const QRectF& rect, const QBrush& fill)
{
    painter->setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->setBrush(fill);
    painter->drawRect(rect.adjusted(1, 1, -1, -1));
}

void DiagramComponent::setRect(const QRectF& rect)
{
    prepareGeometryChange();
    m_rect = rect;
}

void DiagramComponent::snap(int, QPointF& point, int& side, int)
{
    side = CableRouting::snapToEdge(sceneBoundingRect(), point);
}

void DiagramComponent::addConnection(ConnectionPoint* end, AttachedEnd* follow)
{
    m_connections.append(end);
    m_following.append(follow);
    emit modified();
}

void DiagramComponent::removeConnection(ConnectionPoint* end)
{
    const int at = m_connections.indexOf(end);
    if (at >= 0) {
        m_connections.removeAt(at);
        m_following.removeAt(at);
    }
    emit modified();
}

void DiagramComponent::handleMenuAction(QAction*) { }

void DiagramComponent::setCaption(const QString& text, const QSizeF& size, const QPointF& position)
{
    delete m_caption.data();
    auto* caption = new DiagramLabel(this);
    if (size.isValid()) {
        caption->setFixedTextWidth(size.width());
        caption->setMinimumHeight(size.height());
    }
    caption->setText(text);
    caption->setPos(position);
    connect(caption, &DiagramLabel::modified, this, &DiagramGraphicsItem::setModified);
    connect(caption, &DiagramLabel::movedBy, this, &DiagramComponent::captionMoved);
    m_caption = caption;
    showSelectionOnCaption();
    if (scene())
        scene()->addItem(caption);
    captionChanged();
}

void DiagramComponent::hideCaption()
{
    if (!m_caption)
        return;
    delete m_hiddenCaption;
    m_hiddenCaption = m_caption;
    if (m_hiddenCaption->scene())
        m_hiddenCaption->scene()->removeItem(m_hiddenCaption);
    m_caption = nullptr;
    captionChanged();
    emit modified();
}

void DiagramComponent::showHiddenCaption()
{
    m_caption = m_hiddenCaption;
    m_hiddenCaption = nullptr;
    if (scene())
        scene()->addItem(m_caption);
    showSelectionOnCaption();
    captionChanged();
    emit modified();
}

void DiagramComponent::captionChanged() { }

void DiagramComponent::initialise(const QString& id, const QString& captionText, const QPointF& position)
{
    setId(id);
    setPos(position);
    QPointF offset;
    QSizeF size;
    if (captionPlacement(&offset, &size))
        setCaption(captionText, size, position + offset);
}

bool DiagramComponent::captionPlacement(QPointF* offset, QSizeF* size) const
{
    *offset = QPointF(-95, 0);
    *size = QSizeF();
    return true;
}

void DiagramComponent::captionMoved(const QPointF& delta)
{
    if (type() == Diagram::LabelType)
        moveWithoutCaption(pos() + delta);
}

void DiagramComponent::showSelectionOnCaption()
{
    if (m_caption)
        m_caption->setSelectionShown(type() == Diagram::LabelType && isSelected());
}

void DiagramComponent::moveWithoutCaption(const QPointF& position)
{
    const bool wasFollowing = m_followingCaption;
    m_followingCaption = true;
    setPos(position);
    m_followingCaption = wasFollowing;
}

QVariant DiagramComponent::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionHasChanged) {
        // After the move, so that the cables route around the box where it now is.
        const QPointF delta = pos() - m_lastPos;
        m_lastPos = pos();
        for (AttachedEnd* end : qAsConst(m_following)) {
            end->followComponent(pos());
            emit modified();
        }
        if (m_caption && !m_followingCaption) {
            m_caption->carryBy(delta);
        }
    } else if (change == ItemSelectedHasChanged) {
        showSelectionOnCaption();
    } else if (change == ItemSceneChange) {
        // Leaving the drawing (undo keeps the component): the caption leaves with it.
        if (!value.value<QGraphicsScene*>() && m_caption && m_caption->scene())
            m_caption->scene()->removeItem(m_caption);
    } else if (change == ItemSceneHasChanged) {
        if (m_caption && scene() && m_caption->scene() != scene())
            scene()->addItem(m_caption);
        emit modified();
    }
    return DiagramGraphicsItem::itemChange(change, value);
}

void DiagramComponent::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    if (!m_deleteAction) {
        m_deleteAction = new QAction(QCoreApplication::translate("DiagramComponent", "Delete %1",
                                         "Installation Diagram object removal")
                                         .arg(m_displayName),
            this);
    }
    QMenu menu;
    menu.addAction(m_deleteAction);
    menu.addSeparator();
    event->accept();
    QPointer<DiagramComponent> alive(this);
    QAction* chosen = DiagramMenus::exec(menu, event->screenPos());
    if (!chosen || !alive)
        return;
    if (chosen == m_deleteAction) {
        if (auto* diagram = DiagramEditing::of(scene()))
            diagram->deleteComponent(this);
        return;
    }
    handleMenuAction(chosen);
}

void DiagramComponent::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    DiagramGraphicsItem::mousePressEvent(event);
    auto* diagram = DiagramEditing::of(scene());
    if (diagram && event->button() == Qt::LeftButton)
        diagram->beginDrag(this);
}

void DiagramComponent::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    DiagramGraphicsItem::mouseReleaseEvent(event);
    if (auto* diagram = DiagramEditing::of(scene()))
        diagram->endDrag();
}
