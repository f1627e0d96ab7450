#include "ReportTable.h"

#include "ReportTableCell.h"
#include "ReportTableSet.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>

ReportTable::ReportTable(QGraphicsItem* parent)
    : AbstractReportItem(parent)
{
    setFlag(ItemIsFocusable);
    setCacheMode(NoCache);
}

QRectF ReportTable::boundingRect() const
{
    return QRectF(-0.5, -0.5, m_width + 1, m_height + 1);
}

void ReportTable::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(0, 0, m_width, m_height));
}

ReportTableCell* ReportTable::cellAt(int column, int row) const
{
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount())
        return nullptr;
    return m_cells.value(key(column, row));
}

ReportTableSet* ReportTable::columnSet(int i) const
{
    if (i >= 0 && i < m_columns.size())
        return m_columns.at(i);
    return m_defaultColumn;
}

ReportTableSet* ReportTable::rowSet(int i) const
{
    if (i >= 0 && i < m_rows.size())
        return m_rows.at(i);
    return m_defaultRow;
}

QMultiMap<QString, ReportTableCell*> ReportTable::cellsById() const
{
    QMultiMap<QString, ReportTableCell*> result;
    for (ReportTableCell* cell : m_cells) {
        if (!cell->reportId().isEmpty())
            result.insert(cell->reportId(), cell);
    }
    return result;
}

void ReportTable::fromModel(const ReportItem& item)
{
    AbstractReportItem::fromModel(item);
    m_width = item.size.width();
    m_height = item.size.height();
    prepareGeometryChange();
    m_columns.fill(nullptr, item.columns);
    m_rows.fill(nullptr, item.rows);
    for (const auto& child : item.children) {
        if (child->kind != ReportItem::Kind::TableSet)
            continue;
        // The reader gives each column and row one set at most, on the grid.
        QVector<ReportTableSet*>& sets = child->column >= 0 ? m_columns : m_rows;
        const int index = child->column >= 0 ? child->column : child->row;
        if (index < 0 || index >= sets.size() || sets.at(index))
            continue;
        sets[index] = new ReportTableSet(this);
        sets[index]->fromModel(*child);
        m_parts.append({ child.get(), sets[index] });
    }
    layoutSets(m_columns, true, item.columnSizes);
    layoutSets(m_rows, false, item.rowSizes);
    m_defaultColumn = new ReportTableSet(item.columns, -1, this);
    m_defaultColumn->setOffset(m_width);
    m_defaultRow = new ReportTableSet(-1, item.rows, this);
    m_defaultRow->setOffset(m_height);
    for (const auto& child : item.children) {
        if (child->kind == ReportItem::Kind::Cell)
            addCell(*child);
    }
}

ReportTableCell* ReportTable::addCell(const ReportItem& item)
{
    auto* cell = new ReportTableCell(this, item.automatic);
    cell->fromModel(item);
    m_parts.append({ &item, cell });
    connect(cell, QOverload<bool>::of(&AbstractReportItem::modified), this,
        QOverload<bool>::of(&AbstractReportItem::modified));
    m_cells.insert(key(cell->column(), cell->row()), cell);
    cell->layout();
    return cell;
}

void ReportTable::layoutSets(QVector<ReportTableSet*>& sets, bool columns, const QVector<qreal>& sizes)
{
    // The model gives every column and row its size; places without a set get one of their own.
    qreal running = 0;
    for (int i = 0; i < sets.size(); ++i) {
        if (!sets.at(i))
            sets[i] = columns ? new ReportTableSet(i, -1, this) : new ReportTableSet(-1, i, this);
        sets.at(i)->setSize(sizes.value(i));
        sets.at(i)->setOffset(running);
        running += sets.at(i)->size();
    }
}

void ReportTable::bindModel(ReportItem* item)
{
    AbstractReportItem::bindModel(item);
    // The parts were made from this item's children, which the model holds as its own.
    for (const auto& part : qAsConst(m_parts)) {
        if (part.first->parent == item)
            part.second->bindModel(const_cast<ReportItem*>(part.first));
    }
    m_parts.clear();
}

bool ReportTable::toModel(ReportItem& item) const
{
    item.size = QSizeF(m_width, m_height);
    item.columns = columnCount();
    item.rows = rowCount();
    return AbstractReportItem::toModel(item);
}

ReportTableCell* ReportTable::cellUnder(const QPointF& scenePos) const
{
    if (!scene())
        return nullptr;
    for (QGraphicsItem* item : scene()->items(scenePos, Qt::IntersectsItemShape, Qt::AscendingOrder)) {
        if (item->type() == ReportTableCell::Type)
            return static_cast<ReportTableCell*>(item);
    }
    return nullptr;
}

void ReportTable::makeCurrent(ReportTableCell* cell)
{
    m_current = cell;
    cell->setFocus(Qt::OtherFocusReason);
}

void ReportTable::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    ReportTableCell* cell = event->button() == Qt::LeftButton ? cellUnder(event->scenePos()) : nullptr;
    if (!cell) {
        AbstractReportItem::mousePressEvent(event);
        return;
    }
    makeCurrent(cell);
    event->accept();
}

void ReportTable::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    ReportTableCell* cell = event->button() == Qt::LeftButton ? cellUnder(event->scenePos()) : nullptr;
    if (!cell) {
        AbstractReportItem::mouseDoubleClickEvent(event);
        return;
    }
    makeCurrent(cell);
    cell->startEditing();
    event->accept();
}

ReportTableCell* ReportTable::nextEditableCell(const ReportTableCell* from, bool forward) const
{
    auto it = m_cells.constFind(key(from->column(), from->row()));
    if (it == m_cells.cend())
        return nullptr;
    if (forward) {
        for (++it; it != m_cells.cend(); ++it) {
            if (it.value()->isEditable())
                return it.value();
        }
        return nullptr;
    }
    while (it != m_cells.cbegin()) {
        --it;
        if (it.value()->isEditable())
            return it.value();
    }
    return nullptr;
}

void ReportTable::editCell(ReportTableCell* cell)
{
    makeCurrent(cell);
    cell->startEditing();
}

void ReportTable::moveCurrent(int dx, int dy)
{
    if (!m_current)
        return;
    const int row = m_current->row() + dy;
    if (row < 0 || row >= rowCount())
        return;
    ReportTableCell* target = cellAt(m_current->column() + dx, row);
    if (!target)
        return;
    makeCurrent(target);
    target->startEditing();
}

void ReportTable::cellKeyPress(ReportTableCell* cell, QKeyEvent* event)
{
    if (!m_current)
        m_current = cell;
    int column = m_current->column();
    int row = m_current->row();
    switch (event->key()) {
    case Qt::Key_Home:
        column = 0;
        break;
    case Qt::Key_End:
        column = columnCount() - 1;
        break;
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= 10;
        break;
    case Qt::Key_PageDown:
        row += 10;
        break;
    default: {
        const QString text = event->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint()
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!printable) {
            event->ignore();
            return;
        }
        m_current->startEditing(text);
        event->accept();
        return;
    }
    }
    event->accept();
    if (ReportTableCell* target = cellAt(column, row))
        makeCurrent(target);
}
