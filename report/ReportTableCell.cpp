#include "ReportTableCell.h"

#include "GraphicsTextItem.h"
#include "ReportTable.h"
#include "ReportTableSet.h"

#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>

ReportTableCell::ReportTableCell(ReportTable* table, bool automatic)
    : ReportText(table)
    , m_table(table)
    , m_automatic(automatic)
{
    setFlag(ItemIsFocusable);
    m_text->setNavigationMode(true);
    connect(m_text, &GraphicsTextItem::requestMove, this, &ReportTableCell::requestMove);
}

void ReportTableCell::fromModel(const ReportItem& item)
{
    m_column = item.column;
    m_row = item.row;
    m_columnSpan = item.columnSpan;
    m_rowSpan = item.rowSpan;
    ReportText::fromModel(item);
}

bool ReportTableCell::toModel(ReportItem& item) const
{
    item.column = m_column;
    item.row = m_row;
    item.columnSpan = m_columnSpan;
    item.rowSpan = m_rowSpan;
    item.automatic = m_automatic;
    return ReportText::toModel(item);
}

void ReportTableCell::layout()
{
    const qreal x = m_table->columnSet(m_column)->offset();
    const qreal y = m_table->rowSet(m_row)->offset();
    const qreal w = m_table->columnSet(m_column + m_columnSpan)->offset() - x;
    const qreal h = m_table->rowSet(m_row + m_rowSpan)->offset() - y;
    prepareGeometryChange();
    setPos(x, y);
    m_cellRect = QRectF(0, 0, w, h);
    m_text->resetScale();
    m_text->setTextWidth(w);
    m_text->setFieldSize(w, h);
    if (!plainText().isEmpty())
        m_text->shrinkToFit();
}

QRectF ReportTableCell::boundingRect() const
{
    return QRectF(-0.5, -0.5, m_cellRect.width() + 1.5, m_cellRect.height() + 1.5);
}

void ReportTableCell::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const QColor background = backgroundColour();
    painter->setBrush(background.isValid() ? QBrush(background) : QBrush(Qt::NoBrush));
    painter->drawRect(m_cellRect);
    if (hasFocus()) {
        painter->setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(0.75, 0.75, m_cellRect.width() - 1.5, m_cellRect.height() - 1.5));
    }
}

void ReportTableCell::startEditing(const QString& text)
{
    if (isEditable())
        m_text->startEditing(text);
}

void ReportTableCell::requestMove(int x, int y)
{
    m_table->moveCurrent(x, y);
}

void ReportTableCell::focusInEvent(QFocusEvent*)
{
    m_table->setCurrentCell(this);
    update();
}

void ReportTableCell::focusOutEvent(QFocusEvent*)
{
    update();
}

void ReportTableCell::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_table->setCurrentCell(this);
    setFocus(Qt::MouseFocusReason);
    startEditing();
    event->accept();
}

void ReportTableCell::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    mousePressEvent(event);
}

void ReportTableCell::keyPressEvent(QKeyEvent* event)
{
    m_table->cellKeyPress(this, event);
}
