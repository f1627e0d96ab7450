#pragma once

#include "AbstractReportItem.h"

// The description of one column or one row of a table: its size, its place and the styles its
// cells inherit.
class ReportTableSet : public AbstractReportItem
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::TableSet };
    explicit ReportTableSet(QGraphicsItem* parent = nullptr);
    ReportTableSet(int column, int row, QGraphicsItem* parent);

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::TableSet; }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;

    int column() const { return m_column; }
    int row() const { return m_row; }
    qreal size() const { return m_size; }
    void setSize(qreal size) { m_size = size; }
    qreal offset() const { return m_offset; }
    void setOffset(qreal offset) { m_offset = offset; }
    // Made by the table to fill the grid; such sets are never written.
    bool isImplicit() const { return m_implicit; }

private:
    int m_column = -1;
    int m_row = -1;
    qreal m_size = 0;
    qreal m_offset = 0;
    bool m_implicit = false;
};
