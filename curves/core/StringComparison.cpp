#include "StringComparison.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace IVCurve {
namespace StringComparison {

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0.0;
    const int middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    const double upper = values.at(middle);
    if (values.size() % 2 == 1)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + middle);
    return (lower + upper) / 2.0;
}

void rank(QVector<ComparisonRow>& rows)
{
    QHash<int, QVector<double>> powers;
    for (const ComparisonRow& row : rows) {
        if (row.stc.valid)
            powers[row.folder].append(row.stc.pmp);
    }
    struct Spread
    {
        double median = 0.0;
        double scaledMad = 0.0;
    };
    QHash<int, Spread> spreads;
    for (auto it = powers.constBegin(); it != powers.constEnd(); ++it) {
        Spread spread;
        spread.median = median(it.value());
        QVector<double> distances;
        distances.reserve(it.value().size());
        for (double power : it.value())
            distances.append(std::fabs(power - spread.median));
        spread.scaledMad = MadScale * median(distances);
        spreads.insert(it.key(), spread);
    }
    for (ComparisonRow& row : rows) {
        row.hasDeviation = false;
        row.outlier = false;
        row.deviation = 0.0;
        if (!row.stc.valid)
            continue;
        const Spread spread = spreads.value(row.folder);
        const double distance = std::fabs(row.stc.pmp - spread.median);
        if (spread.median > 0.0) {
            row.deviation = (row.stc.pmp - spread.median) / spread.median * 100.0;
            row.hasDeviation = true;
        }
        row.outlier
            = distance > OutlierLimit * spread.scaledMad && distance > 1e-9 * std::fabs(spread.median);
    }
}

} // namespace StringComparison
} // namespace IVCurve
