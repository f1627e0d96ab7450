#include "ReportTable.h"

#include "ReportTableCell.h"
#include "ReportTableSet.h"

#include <QDomDocument>
#include <QDomElement>
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

bool ReportTable::load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container)
{
    if (valuesOnly) {
        AbstractReportItem::load(element, true, container);
        loadValues(element, container);
        return true;
    }
    return loadFull(element, container);
}

void ReportTable::loadValues(const QDomElement& element, const DocumentContainer& container)
{
    for (QDomElement e = element.firstChildElement(QStringLiteral("cell")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("cell"))) {
        bool colOk = false;
        bool rowOk = false;
        const int column = e.attribute(QStringLiteral("col")).toInt(&colOk);
        const int row = e.attribute(QStringLiteral("row")).toInt(&rowOk);
        if (!colOk || !rowOk)
            continue;
        if (ReportTableCell* cell = cellAt(column, row))
            cell->load(e, true, container);
    }
}

bool ReportTable::loadFull(const QDomElement& element, const DocumentContainer& container)
{
    if (!m_cells.isEmpty() || !m_columns.isEmpty())
        return false;
    AbstractReportItem::load(element, false, container);
    m_width = readDouble(element, QStringLiteral("width"), -1);
    m_height = readDouble(element, QStringLiteral("height"), -1);
    bool colsOk = false;
    bool rowsOk = false;
    const int numCols = element.attribute(QStringLiteral("numCols")).toInt(&colsOk);
    const int numRows = element.attribute(QStringLiteral("numRows")).toInt(&rowsOk);
    if (!colsOk || !rowsOk || numCols < 1 || numRows < 1 || numCols > MaxColumns || numRows > MaxRows
        || numCols * numRows > MaxCells || m_width < 0 || m_height < 0)
        return false;
    prepareGeometryChange();
    m_columns.fill(nullptr, numCols);
    m_rows.fill(nullptr, numRows);

    for (QDomElement e = element.firstChildElement(QStringLiteral("tableset")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("tableset"))) {
        auto* set = new ReportTableSet(this);
        if (!set->load(e, false, container))
            return false;
        if (set->column() < 0 && set->row() < 0) {
            delete set;
            continue;
        }
        QVector<ReportTableSet*>& sets = set->column() >= 0 ? m_columns : m_rows;
        const int index = set->column() >= 0 ? set->column() : set->row();
        if (index >= sets.size() || sets.at(index))
            return false;
        sets[index] = set;
    }
    layoutSets(m_columns, true, m_width);
    layoutSets(m_rows, false, m_height);
    m_defaultColumn = new ReportTableSet(numCols, -1, this);
    m_defaultColumn->setOffset(m_width);
    m_defaultRow = new ReportTableSet(-1, numRows, this);
    m_defaultRow->setOffset(m_height);

    QVector<bool> covered(numCols * numRows, false);
    for (QDomElement e = element.firstChildElement(QStringLiteral("cell")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("cell"))) {
        auto* cell = new ReportTableCell(this, false);
        if (!cell->load(e, false, container) || covered.at(cell->row() * numCols + cell->column()))
            return false;
        connect(cell, QOverload<bool>::of(&AbstractReportItem::modified), this,
            QOverload<bool>::of(&AbstractReportItem::modified));
        m_cells.insert(key(cell->column(), cell->row()), cell);
        for (int r = cell->row(); r < cell->row() + cell->rowSpan(); ++r) {
            for (int c = cell->column(); c < cell->column() + cell->columnSpan(); ++c)
                covered[r * numCols + c] = true;
        }
        cell->layout();
    }

    QDomDocument scratch;
    for (int c = 0; c < numCols; ++c) {
        for (int r = 0; r < numRows; ++r) {
            if (covered.at(r * numCols + c))
                continue;
            QDomElement empty = scratch.createElement(QStringLiteral("cell"));
            empty.setAttribute(QStringLiteral("col"), c);
            empty.setAttribute(QStringLiteral("row"), r);
            auto* cell = new ReportTableCell(this, true);
            cell->load(empty, false, container);
            connect(cell, QOverload<bool>::of(&AbstractReportItem::modified), this,
                QOverload<bool>::of(&AbstractReportItem::modified));
            m_cells.insert(key(c, r), cell);
            cell->layout();
        }
    }
    return true;
}

void ReportTable::layoutSets(QVector<ReportTableSet*>& sets, bool columns, qreal total)
{
    // Only sets that give a size take their share off the total; a set that only carries
    // styles shares the rest like a column without a set.
    int sized = 0;
    qreal sum = 0;
    for (const ReportTableSet* set : sets) {
        if (set && set->size() > 0) {
            ++sized;
            sum += set->size();
        }
    }
    const qreal share = sets.size() != sized ? (total - sum) / (sets.size() - sized) : 0;
    qreal running = 0;
    for (int i = 0; i < sets.size(); ++i) {
        if (!sets.at(i))
            sets[i] = columns ? new ReportTableSet(i, -1, this) : new ReportTableSet(-1, i, this);
        if (sets.at(i)->size() <= 0)
            sets.at(i)->setSize(share);
        sets.at(i)->setOffset(running);
        running += sets.at(i)->size();
    }
}

bool ReportTable::save(QDomElement& element, bool valuesOnly, DocumentContainer& container)
{
    AbstractReportItem::save(element, valuesOnly, container);
    element.setAttribute(QStringLiteral("width"), QString::number(m_width));
    element.setAttribute(QStringLiteral("height"), QString::number(m_height));
    element.setAttribute(QStringLiteral("numCols"), QString::number(columnCount()));
    element.setAttribute(QStringLiteral("numRows"), QString::number(rowCount()));
    QDomDocument document = element.ownerDocument();
    for (QGraphicsItem* child : childItems()) {
        if (!ReportItemType::isReportItem(child))
            continue;
        auto* item = static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(child));
        QDomElement childElement = document.createElement(item->tagName());
        if (item->save(childElement, false, container))
            element.appendChild(childElement);
    }
    return true;
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
