#include "Verdict.h"

#include "CurveParameters.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

namespace IVCurve {

namespace {
// Percentages computed from values that sit exactly on a limit must not fail by rounding.
constexpr double Slack = 1e-9;

double deviation(double value, double nominal)
{
    return (value - nominal) / nominal * 100.0;
}
} // namespace

NominalString NominalString::fromModule(
    double voc, double isc, double vmp, double imp, unsigned series, unsigned parallel)
{
    NominalString nominal;
    nominal.voc = voc * series;
    nominal.isc = isc * parallel;
    nominal.pmp = vmp * imp * series * parallel;
    return nominal;
}

Verdict Verdict::judge(const NominalString& nominal, const CurveParameters& stc, bool hasIrradiance,
    const VerdictTolerances& tolerances)
{
    Verdict verdict;
    if (!nominal.isUsable()) {
        verdict.missing = NoModule;
        return verdict;
    }
    if (!stc.valid) {
        verdict.missing = NoCurve;
        return verdict;
    }
    if (!hasIrradiance) {
        verdict.missing = NoIrradiance;
        return verdict;
    }
    const double pmp = deviation(stc.pmp, nominal.pmp);
    if (pmp < -tolerances.pmpBelow - Slack)
        verdict.shortfalls.append({ Pmp, pmp });
    const double voc = deviation(stc.voc, nominal.voc);
    if (std::fabs(voc) > tolerances.voc + Slack)
        verdict.shortfalls.append({ Voc, voc });
    const double isc = deviation(stc.isc, nominal.isc);
    if (std::fabs(isc) > tolerances.isc + Slack)
        verdict.shortfalls.append({ Isc, isc });
    verdict.outcome = verdict.shortfalls.isEmpty() ? Pass : Fail;
    return verdict;
}

QString Verdict::text() const
{
    auto tr = [](const char* text) { return QCoreApplication::translate("IVCurve::Verdict", text); };
    switch (outcome) {
    case Pass:
        return tr("Pass");
    case Fail: {
        QStringList parts;
        const QLocale locale;
        for (const Shortfall& shortfall : shortfalls) {
            const char* const names[] = { "Pmp", "Voc", "Isc" };
            parts.append(QStringLiteral("%1 %2%3 %")
                             .arg(QLatin1String(names[shortfall.quantity]),
                                 shortfall.deviation >= 0.0 ? QStringLiteral("+") : QString(),
                                 locale.toString(shortfall.deviation, 'f', 1)));
        }
        return tr("Fail: %1").arg(parts.join(QStringLiteral(", ")));
    }
    case None:
        break;
    }
    switch (missing) {
    case NoModule:
        return tr("No verdict: no module");
    case NoCurve:
        return tr("No verdict: no curve");
    case NoIrradiance:
        return tr("No verdict: no irradiance");
    case NothingMissing:
        break;
    }
    return QString();
}

} // namespace IVCurve
