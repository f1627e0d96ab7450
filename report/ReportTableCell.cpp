#include "ReportTableCell.h"

#include "GraphicsTextItem.h"
#include "ReportTable.h"
#include "ReportTableSet.h"

#include <QDomElement>
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

AbstractReportItem* ReportTableCell::styleParent() const
{
    if (ReportTableSet* rowSet = m_table->rowSet(m_row); rowSet && !rowSet->isImplicit())
        return rowSet;
    if (ReportTableSet* columnSet = m_table->columnSet(m_column); columnSet && !columnSet->isImplicit())
        return columnSet;
    return m_table;
}

bool ReportTableCell::load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container)
{
    if (!valuesOnly) {
        bool colOk = false;
        bool rowOk = false;
        m_column = element.attribute(QStringLiteral("col")).toInt(&colOk);
        m_row = element.attribute(QStringLiteral("row")).toInt(&rowOk);
        bool spanOk = true;
        bool rowSpanOk = true;
        m_columnSpan = readInt(element, QStringLiteral("colspan"), 1, &spanOk);
        m_rowSpan = readInt(element, QStringLiteral("rowspan"), 1, &rowSpanOk);
        // The cell must lie on the grid before it can inherit from its row and column.
        if (!colOk || !rowOk || !spanOk || !rowSpanOk || m_column < 0 || m_row < 0 || m_columnSpan < 1
            || m_rowSpan < 1 || m_columnSpan > MaxSpan || m_rowSpan > MaxSpan
            || m_column + m_columnSpan > m_table->columnCount() || m_row + m_rowSpan > m_table->rowCount())
            return false;
    }
    return ReportText::load(element, valuesOnly, container);
}

bool ReportTableCell::save(QDomElement& element, bool valuesOnly, DocumentContainer& container)
{
    if (m_automatic && plainText().isEmpty())
        return false;
    if (!ReportText::save(element, valuesOnly, container))
        return false;
    element.removeAttribute(QStringLiteral("x"));
    element.removeAttribute(QStringLiteral("y"));
    element.removeAttribute(QStringLiteral("width"));
    if (m_columnSpan > 1)
        element.setAttribute(QStringLiteral("colspan"), QString::number(m_columnSpan));
    if (m_rowSpan > 1)
        element.setAttribute(QStringLiteral("rowspan"), QString::number(m_rowSpan));
    element.setAttribute(QStringLiteral("col"), QString::number(m_column));
    element.setAttribute(QStringLiteral("row"), QString::number(m_row));
    return true;
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
