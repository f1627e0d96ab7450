#include "CurvePointsCodec.h"

#include "CurveSeries.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace IVCurve {
namespace CurvePointsCodec {

QString encode(const CurveSeries& series)
{
    QString text;
    const QVector<QPointF>& points = series.points();
    const QVector<SeriesPoint>& extra = series.seriesPoints();
    text.reserve(points.size() * 28);
    for (int i = 0; i < points.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('#');
        text += QString::number(points.at(i).x(), 'f', 3);
        text += QLatin1Char(':');
        text += QString::number(points.at(i).y(), 'f', 3);
        text += QLatin1Char(':');
        text += QString::number(extra.at(i).irradiance, 'f', 3);
        text += QLatin1Char(':');
        text += QString::number(extra.at(i).tag);
    }
    return text;
}

void decode(const QString& text, CurveSeries& series)
{
    if (text.isEmpty())
        return;
    const QLocale c = QLocale::c();
    int from = 0;
    for (int count = 0; count < maxPoints && from <= text.size(); ++count) {
        int to = text.indexOf(QLatin1Char('#'), from);
        if (to < 0)
            to = text.size();
        const QStringRef part = text.midRef(from, to - from);
        from = to + 1;
        double values[3] = { 0.0, 0.0, 1000.0 };
        int tag = 0;
        const QVector<QStringRef> fields = part.split(QLatin1Char(':'), Qt::KeepEmptyParts);
        for (int f = 0; f < fields.size() && f < 4; ++f) {
            bool ok = false;
            if (f < 3) {
                const double value = c.toDouble(fields.at(f), &ok);
                // "nan" and "inf" parse, but would poison every figure drawn from the curve.
                ok = ok && std::isfinite(value);
                values[f] = ok ? value : 0.0;
            } else {
                const int value = c.toInt(fields.at(f), &ok);
                tag = ok ? value : 0;
            }
            if (!ok)
                break;
        }
        series.addPoint(values[0], values[1], values[2], tag);
    }
}

} // namespace CurvePointsCodec
} // namespace IVCurve
