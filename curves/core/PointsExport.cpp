#include "PointsExport.h"

#include "CurveRecord.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

namespace IVCurve {
namespace PointsExport {

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("IVCurve::CurveDocument", text);
}
} // namespace

QString suffix(Kind kind)
{
    switch (kind) {
    case MeasuredIV:
        return QLatin1Char(' ') + tr("MEAS");
    case MeasuredPower:
        return QLatin1Char(' ') + tr("PWR");
    case STCIV:
        return QLatin1Char(' ') + tr("STC");
    default:
        return QLatin1Char(' ') + tr("STC") + QLatin1Char(' ') + tr("PWR");
    }
}

QChar separator()
{
    return QLocale().toString(0.5).contains(QLatin1Char(',')) ? QLatin1Char(';') : QLatin1Char(',');
}

QByteArray content(CurveRecord& record, const QString& label, Kind kind)
{
    const QString sep = separator();
    // Read back by spreadsheets: no group separators in the numbers.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QStringList lines;
    lines << label + suffix(kind) << QString();
    lines << QStringList { tr("Irradiance"), tr("Ambient Temp"), tr("Cell Temp"), tr("Fill Factor") }.join(
        sep);
    lines << QStringList { record.value(CurveRecord::Irradiance), record.value(CurveRecord::AmbientTemp),
        record.value(CurveRecord::CellTemp), record.value(CurveRecord::FF) }
                 .join(sep);
    lines << QString();
    const bool power = kind == MeasuredPower || kind == STCPower;
    lines << QStringLiteral("V") + sep + (power ? QStringLiteral("P") : QStringLiteral("I"));
    const SeriesKind series[] = { SeriesMEAS, SeriesMEASPower, SeriesSTC, SeriesSTCPower };
    for (const QPointF& p : record.series(series[kind]).points())
        lines << locale.toString(p.x(), 'g', 6) + sep + locale.toString(p.y(), 'g', 6);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

} // namespace PointsExport
} // namespace IVCurve
