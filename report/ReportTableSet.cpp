#include "ReportTableSet.h"

ReportTableSet::ReportTableSet(QGraphicsItem* parent)
    : AbstractReportItem(parent)
{
    setFlag(ItemHasNoContents);
    setVisible(false);
}

ReportTableSet::ReportTableSet(int column, int row, QGraphicsItem* parent)
    : ReportTableSet(parent)
{
    m_column = column;
    m_row = row;
    m_implicit = true;
}

void ReportTableSet::fromModel(const ReportItem& item)
{
    AbstractReportItem::fromModel(item);
    m_column = item.column;
    m_row = item.row;
    m_size = item.setSize;
    m_implicit = false;
}

bool ReportTableSet::toModel(ReportItem& item) const
{
    if (m_implicit)
        return false;
    item.column = m_column;
    item.row = m_row;
    item.setSize = m_size;
    return AbstractReportItem::toModel(item);
}
