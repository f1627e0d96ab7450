#include "ReportCheckBox.h"

#include "Brand.h"
#include "GraphicsTextItem.h"
#include "ReportCheckBoxCommand.h"

#include <QCoreApplication>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSvgItem>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>

ReportCheckBox::ReportCheckBox(QGraphicsItem* parent)
    : ReportText(parent)
    , m_box(new QGraphicsSvgItem(this))
{
    m_box->setSharedRenderer(boxRenderer());
    m_box->setElementId(QStringLiteral("unchecked"));
    m_box->setCacheMode(NoCache);
    m_box->setPos(-15, 2);
    setAcceptHoverEvents(true);
}

QSvgRenderer* ReportCheckBox::boxRenderer()
{
    static QPointer<QSvgRenderer> renderer;
    if (!renderer) {
        renderer
            = new QSvgRenderer(QStringLiteral(":res/%1/images/checkBox.svg").arg(Brand::templateFolderName()),
                QCoreApplication::instance());
    }
    return renderer;
}

void ReportCheckBox::setChecked(bool checked)
{
    m_checked = checked;
    m_box->setElementId(checked ? QStringLiteral("checked") : QStringLiteral("unchecked"));
    if (ReportItem* item = boundModel())
        item->checked = checked;
    emit modified(true);
}

void ReportCheckBox::showModel()
{
    if (ReportItem* item = boundModel())
        setChecked(item->checked);
}

void ReportCheckBox::fromModel(const ReportItem& item)
{
    ReportText::fromModel(item);
    // The outline follows the pointer whether or not the box may be resized.
    setAcceptHoverEvents(true);
    m_box->setScale(item.boxScale);
    prepareGeometryChange();
    m_box->setPos(item.boxPos);
    setChecked(item.checked);
}

bool ReportCheckBox::toModel(ReportItem& item) const
{
    item.boxScale = m_box->scale();
    item.boxPos = m_box->pos();
    item.checked = m_checked;
    return ReportText::toModel(item);
}

QRectF ReportCheckBox::contentRect() const
{
    return m_box->mapRectToParent(m_box->boundingRect()) | m_text->mapRectToParent(m_text->boundingRect());
}

qreal ReportCheckBox::horizontalScale() const
{
    const qreal sx = transform().m11() * scale();
    return sx > 0 ? sx : 1;
}

QRectF ReportCheckBox::boundingRect() const
{
    const qreal grow = 2 / horizontalScale();
    return contentRect().adjusted(-grow, -grow, grow, grow) | ReportText::boundingRect();
}

void ReportCheckBox::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    ReportText::paint(painter, option, widget);
    if (!m_hovered)
        return;
    const qreal width = 1 / horizontalScale();
    const QRectF outline = contentRect().adjusted(-width, -width, width, width);
    QPen pen(Qt::white, width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(pen);
    painter->drawRect(outline);
    pen.setColor(Qt::black);
    pen.setStyle(Qt::DashLine);
    painter->setPen(pen);
    painter->drawRect(outline);
}

void ReportCheckBox::toggleWithUndo()
{
    setChecked(!m_checked);
    const QPointer<ReportCheckBox> view(this);
    emit newCommand(new ReportCheckBoxCommand(model(), m_checked, [view] {
        if (view)
            view->showModel();
    }));
}

void ReportCheckBox::focusInEvent(QFocusEvent* event)
{
    ReportResizableItem::focusInEvent(event);
}

void ReportCheckBox::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        ReportResizableItem::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    toggleWithUndo();
    event->accept();
}

void ReportCheckBox::keyPressEvent(QKeyEvent* event)
{
    // Keys with Control, Alt or Meta are shortcuts (Ctrl+S while Save is disabled reaches the
    // box), never a toggle.
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && event->key() >= 32 && event->key() <= 90) {
        toggleWithUndo();
        event->accept();
        return;
    }
    ReportText::keyPressEvent(event);
}

void ReportCheckBox::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    prepareGeometryChange();
    m_hovered = true;
    ReportText::hoverEnterEvent(event);
    update();
}

void ReportCheckBox::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    m_hovered = false;
    ReportText::hoverLeaveEvent(event);
    update();
}

void ReportCheckBox::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    event->ignore();
}
