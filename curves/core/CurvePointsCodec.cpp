#include "CurvePointsCodec.h"

#include "CurveSeries.h"
#include "PlainNumber.h"

#include <QLocale>
#include <algorithm>
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

namespace {
// The fields of the points this program writes ("12.500", "-0.013", "0") are read by a scanner
// of their own: CurvePoints is read for every string shown or translated, and going through
// QLocale for each of its numbers was most of the time spent opening a document. Anything else
// ("1e3", " 5", "+2", "nan") is handed to the C locale, which decides as it always did.
using PlainNumber::code;

// Anything but a plain number: the C locale reads it.
bool parseOther(const QChar* begin, const QChar* end, double* value)
{
    bool ok = false;
    *value = QLocale::c().toDouble(QString::fromRawData(begin, int(end - begin)), &ok);
    return ok;
}
bool parseOther(const char* begin, const char* end, double* value)
{
    bool ok = false;
    *value = QLocale::c().toDouble(QString::fromUtf8(begin, int(end - begin)), &ok);
    return ok;
}
bool parseOther(const QChar* begin, const QChar* end, int* value)
{
    bool ok = false;
    *value = QLocale::c().toInt(QString::fromRawData(begin, int(end - begin)), &ok);
    return ok;
}
bool parseOther(const char* begin, const char* end, int* value)
{
    bool ok = false;
    *value = QLocale::c().toInt(QString::fromUtf8(begin, int(end - begin)), &ok);
    return ok;
}

template <typename Char> void decodePoints(const Char* data, int size, CurveSeries& series)
{
    if (size == 0)
        return;
    series.reserve(series.size()
        + int(std::min<qint64>(
            maxPoints, std::count_if(data, data + size, [](Char c) { return code(c) == '#'; }) + 1)));
    int from = 0;
    for (int count = 0; count < maxPoints && from <= size; ++count) {
        int to = from;
        while (to < size && code(data[to]) != '#')
            ++to;
        double values[3] = { 0.0, 0.0, 1000.0 };
        int tag = 0;
        // The fields of the part in order; reading stops at the first one that does not parse.
        int fieldStart = from;
        for (int f = 0; f < 4 && fieldStart <= to; ++f) {
            int fieldEnd = fieldStart;
            while (fieldEnd < to && code(data[fieldEnd]) != ':')
                ++fieldEnd;
            const Char* begin = data + fieldStart;
            const Char* end = data + fieldEnd;
            bool ok = false;
            if (f < 3) {
                double value = 0.0;
                ok = PlainNumber::scanDouble(begin, end, &value) || parseOther(begin, end, &value);
                // "nan" and "inf" parse, but would poison every figure drawn from the curve.
                ok = ok && std::isfinite(value);
                values[f] = ok ? value : 0.0;
            } else {
                int value = 0;
                ok = PlainNumber::scanInt(begin, end, &value) || parseOther(begin, end, &value);
                tag = ok ? value : 0;
            }
            if (!ok)
                break;
            fieldStart = fieldEnd + 1;
        }
        series.addPoint(values[0], values[1], values[2], tag);
        from = to + 1;
    }
}
} // namespace

void decode(const QString& text, CurveSeries& series)
{
    decodePoints(text.constData(), text.size(), series);
}

void decodeUtf8(const QByteArray& text, CurveSeries& series)
{
    decodePoints(text.constData(), text.size(), series);
}

} // namespace CurvePointsCodec
} // namespace IVCurve
