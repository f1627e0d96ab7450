#pragma once

#include "StringComparison.h"
#include "Verdict.h"

#include <QList>
#include <QString>
#include <QVector>

namespace IVCurve {

class CurveRecord;

// The text of the curve report: the page template filled with the site texts, the header of
// one string and the table rows of the strings. The numbers are read off the series the graph
// draws, so the report and the graph always agree.
namespace CurveReportTable {

struct Header
{
    QString site;
    QString substation;
    QString inverter;
    QString combiner;
    // An <img> element with the logo, or empty.
    QString logoHtml;
    VerdictTolerances tolerances;
};

// The page template from the resources; empty when it cannot be read.
QString pageTemplate();
// One row of the strings table and one of the electrical data table.
// The strings row ends with the string's verdict against the tolerances.
QString stringsRow(CurveRecord& record, const VerdictTolerances& tolerances = VerdictTolerances());
QString stringsRow(CurveRecord& record, const Verdict& verdict);
// The string's verdict, from the figures of its STC curve.
Verdict verdictOf(CurveRecord& record, const VerdictTolerances& tolerances);
QString electricalRow(CurveRecord& record);
// The template with the header from `headerRecord`, the rows of `records`, the time span of
// their tests (Start = earliest, End = latest) and the count of their verdicts.
QString fill(const QString& pageTemplate, const Header& header, const QList<CurveRecord*>& records,
    CurveRecord& headerRecord);
// A page comparing the strings: their STC figures, their distance from their folder's median
// power (outliers marked) and their verdicts, with the count of each verdict.
QString comparisonPage(const QVector<ComparisonRow>& rows);
// A fixed-point number in the user's locale, without group separators.
QString fixed(double value, int decimals);

} // namespace CurveReportTable
} // namespace IVCurve
