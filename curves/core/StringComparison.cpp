#include "StringComparison.h"

#include "CurveConstants.h"
#include "CurveGraphModel.h"
#include "CurveRecord.h"
#include "NumberText.h"
#include "PointsExport.h"
#include "TreeItem.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QSet>
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

QVector<StringRef> stringsUnder(const QVector<const TreeItem*>& nodes)
{
    QVector<StringRef> strings;
    QSet<const TreeItem*> seen;
    for (const TreeItem* node : nodes) {
        // Depth first in tree order, without recursion: folders may nest deeply.
        QVector<const TreeItem*> pending { node };
        while (!pending.isEmpty()) {
            const TreeItem* item = pending.takeLast();
            if (!item || seen.contains(item))
                continue;
            seen.insert(item);
            if (item->curveID() != 0) {
                const TreeItem* parent = item->parent();
                strings.append({ parent ? parent->data(TreeNodeID).toInt() : 0, item->curveID(),
                    item->data(TreeLabel).toString() });
                continue;
            }
            for (int i = item->childCount() - 1; i >= 0; --i)
                pending.append(item->child(i));
        }
    }
    return strings;
}

ComparisonRow rowFor(const StringRef& string, CurveRecord& record, const VerdictTolerances& tolerances)
{
    ComparisonRow row;
    row.folder = string.folder;
    row.label = string.label;
    row.irradiance = record.value(CurveRecord::Irradiance);
    row.cellTemperature = record.value(CurveRecord::CellTemp);
    row.stc = CurveParameters::fromPoints(record.stc().points());
    row.verdict = judgeRecord(record, row.stc, tolerances);
    return row;
}

Verdict judgeRecord(CurveRecord& record, const CurveParameters& stc, const VerdictTolerances& tolerances)
{
    const ModuleAssignment& module = record.module();
    const NominalString nominal = module.hasModule()
        ? NominalString::fromModule(module.voc, module.isc, module.vmp, module.imp, module.ns, module.np)
        : NominalString();
    bool measured = false;
    const double irradiance = NumberText::parse(record.value(CurveRecord::Irradiance), &measured);
    return Verdict::judge(nominal, stc, measured && irradiance > 0.0, tolerances);
}

QVector<ComparisonRow> build(
    CurveGraphModel& curves, const QVector<StringRef>& strings, const VerdictTolerances& tolerances)
{
    QVector<ComparisonRow> rows(strings.size());
    QVector<uint> ids;
    ids.reserve(strings.size());
    for (int i = 0; i < strings.size(); ++i) {
        ids.append(strings.at(i).curveID);
        // A string whose curve cannot be read keeps its place, without figures.
        rows[i].folder = strings.at(i).folder;
        rows[i].label = strings.at(i).label;
        rows[i].verdict.missing = Verdict::NoCurve;
    }
    ComparisonRow* const places = rows.data();
    curves.readEach(ids, [&](int place, std::unique_ptr<CurveRecord> record) {
        if (record)
            places[place] = rowFor(strings.at(place), *record, tolerances);
    });
    rank(rows);
    return rows;
}

QByteArray toCsv(const QVector<ComparisonRow>& rows)
{
    auto tr = [](const char* text) { return QCoreApplication::translate("IVCurve::StringComparison", text); };
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString separator = PointsExport::separator();
    // Separators and quotes inside a label or verdict would split or end its field.
    auto field = [&separator](QString text) {
        if (text.contains(separator) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))) {
            text.replace(QLatin1String("\""), QLatin1String("\"\""));
            text = QLatin1Char('"') + text + QLatin1Char('"');
        }
        return text;
    };
    auto number
        = [&locale](double value, bool shown) { return shown ? locale.toString(value, 'g', 6) : QString(); };
    QStringList header { tr("String"), tr("Irradiance (W/m²)"), tr("Cell temperature (°C)"), tr("Isc (A)"),
        tr("Voc (V)"), tr("Imp (A)"), tr("Vmp (V)"), tr("Pmp (W)"), tr("Fill factor"), tr("Rsh (Ω)"),
        tr("Rs (Ω)"), tr("Pmp from median (%)"), tr("Outlier"), tr("Verdict") };
    QString text = header.join(separator) + QLatin1String("\r\n");
    for (const ComparisonRow& row : rows) {
        const CurveParameters& p = row.stc;
        QStringList fields { field(row.label), field(row.irradiance), field(row.cellTemperature),
            number(p.isc, p.valid), number(p.voc, p.valid), number(p.imp, p.valid), number(p.vmp, p.valid),
            number(p.pmp, p.valid), number(p.fillFactor, p.valid), number(p.rsh, p.valid && p.rsh > 0.0),
            number(p.rs, p.valid && p.rs > 0.0), number(row.deviation, row.hasDeviation),
            row.outlier ? tr("yes") : QString(), field(row.verdict.text()) };
        text += fields.join(separator) + QLatin1String("\r\n");
    }
    return text.toUtf8();
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
