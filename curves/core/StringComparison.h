#pragma once

#include "CurveParameters.h"
#include "Verdict.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace IVCurve {

class CurveGraphModel;
class CurveRecord;
class TreeItem;

// One string of the comparison table: its conditions, the figures of its STC curve, its
// verdict, and how its STC maximum power stands against the other strings of its folder.
struct ComparisonRow
{
    int folder = 0;
    QString label;
    QString irradiance;
    QString cellTemperature;
    CurveParameters stc;
    Verdict verdict;
    // Percent of the folder's median STC maximum power; not a number without a usable curve.
    double deviation = 0.0;
    bool hasDeviation = false;
    bool outlier = false;
};

namespace StringComparison {

// Scales the median absolute deviation to the standard deviation of normally spread values.
constexpr double MadScale = 1.4826;
// How many scaled median absolute deviations from the median make a string stand out.
constexpr double OutlierLimit = 3.0;

// The median of the values (the mean of the middle two for an even count); 0 for none.
double median(QVector<double> values);

// The strings under the given tree nodes (a string stands for itself, a folder for every string
// beneath it, each once), in tree order, each with its folder's node id.
struct StringRef
{
    int folder = 0;
    uint curveID = 0;
    QString label;
};
QVector<StringRef> stringsUnder(const QVector<const TreeItem*>& nodes);

// A string's verdict from its record and the figures of its STC curve.
Verdict judgeRecord(CurveRecord& record, const CurveParameters& stc, const VerdictTolerances& tolerances);

// A row of the table from a string's record: its conditions, STC figures and verdict.
ComparisonRow rowFor(const StringRef& string, CurveRecord& record, const VerdictTolerances& tolerances);

// Reads each string's curve once and builds the ranked table.
QVector<ComparisonRow> build(
    CurveGraphModel& curves, const QVector<StringRef>& strings, const VerdictTolerances& tolerances);

// The table as CSV in the user's locale (its list separator and decimal mark, no group
// separators), a header line first.
QByteArray toCsv(const QVector<ComparisonRow>& rows);

// Sets each row's deviation from its folder's median STC maximum power and marks the outliers
// among the rows with a valid STC curve. Where the folder's values hardly scatter (a median
// absolute deviation of 0), only values away from the median stand out.
void rank(QVector<ComparisonRow>& rows);

} // namespace StringComparison
} // namespace IVCurve
