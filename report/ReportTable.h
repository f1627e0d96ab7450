#pragma once

#include "AbstractReportItem.h"

#include <QMap>
#include <QMultiMap>
#include <QPair>
#include <QVector>

class ReportTableCell;
class ReportTableSet;
class QKeyEvent;

// A grid of text cells with column and row descriptions. Cells may span several columns and
// rows; grid positions no cell covers get an empty cell of their own.
class ReportTable : public AbstractReportItem
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::Table };
    explicit ReportTable(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::Table; }
    void fromModel(const ReportItem& item) override;
    void bindModel(ReportItem* item) override;
    bool toModel(ReportItem& item) const override;
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int columnCount() const { return m_columns.size(); }
    int rowCount() const { return m_rows.size(); }
    qreal width() const { return m_width; }
    qreal height() const { return m_height; }
    // The cell that starts at a grid position, or none (also for positions covered by a span).
    ReportTableCell* cellAt(int column, int row) const;
    // The set of a column; past the last column the default set, whose offset is the width.
    ReportTableSet* columnSet(int i) const;
    ReportTableSet* rowSet(int i) const;
    QMultiMap<QString, ReportTableCell*> cellsById() const;
    QList<ReportTableCell*> cells() const { return m_cells.values(); }

    ReportTableCell* currentCell() const { return m_current; }
    void setCurrentCell(ReportTableCell* cell) { m_current = cell; }
    void moveCurrent(int dx, int dy);
    // The next (or previous) cell the user may edit, in reading order; none past the last (first).
    ReportTableCell* nextEditableCell(const ReportTableCell* from, bool forward) const;
    // Makes a cell current and starts editing it with all its text selected.
    void editCell(ReportTableCell* cell);
    // A key that reached a selected (not editing) cell.
    void cellKeyPress(ReportTableCell* cell, QKeyEvent* event);

    // Grids beyond these sizes are damage, not a form.
    static constexpr int MaxColumns = ReportLimits::MaxColumns;
    static constexpr int MaxRows = ReportLimits::MaxRows;
    static constexpr int MaxCells = ReportLimits::MaxCells;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private:
    static quint32 key(int column, int row) { return (quint32(quint16(row)) << 16) | quint16(column); }
    void layoutSets(QVector<ReportTableSet*>& sets, bool columns, const QVector<qreal>& sizes);
    ReportTableCell* addCell(const ReportItem& item);
    ReportTableCell* cellUnder(const QPointF& scenePos) const;
    void makeCurrent(ReportTableCell* cell);

    qreal m_width = 0;
    qreal m_height = 0;
    QVector<ReportTableSet*> m_columns;
    QVector<ReportTableSet*> m_rows;
    ReportTableSet* m_defaultColumn = nullptr;
    ReportTableSet* m_defaultRow = nullptr;
    ReportTableCell* m_current = nullptr;
    QMap<quint32, ReportTableCell*> m_cells;
    // The sets and cells made from the model item's children, until they are bound to them.
    QVector<QPair<const ReportItem*, AbstractReportItem*>> m_parts;
};
