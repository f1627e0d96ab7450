#include "ReportTableSet.h"

#include <QDomElement>

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

bool ReportTableSet::load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container)
{
    if (!AbstractReportItem::load(element, valuesOnly, container))
        return false;
    bool colOk = true;
    bool rowOk = true;
    m_column = readInt(element, QStringLiteral("col"), -1, &colOk);
    m_row = readInt(element, QStringLiteral("row"), -1, &rowOk);
    m_size = readDouble(element, QStringLiteral("size"), 0.0);
    m_implicit = false;
    return colOk && rowOk && m_size >= 0;
}

bool ReportTableSet::save(QDomElement& element, bool valuesOnly, DocumentContainer& container)
{
    if (m_implicit)
        return false;
    AbstractReportItem::save(element, valuesOnly, container);
    if (m_column >= 0)
        element.setAttribute(QStringLiteral("col"), QString::number(m_column));
    if (m_row >= 0)
        element.setAttribute(QStringLiteral("row"), QString::number(m_row));
    if (m_size > 0)
        element.setAttribute(QStringLiteral("size"), QString::number(m_size));
    return true;
}
