#include "CurvePointsCodec.h"

#include "CurveSeries.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
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
bool isDigit(ushort c)
{
    return c >= '0' && c <= '9';
}

// A plain decimal number: an optional minus, digits without a redundant leading zero, and
// optionally a point followed by digits. Converted with correct rounding, as the C locale does.
bool scanPlainDouble(const QChar* begin, const QChar* end, double* value)
{
    char buffer[64];
    const std::ptrdiff_t length = end - begin;
    if (length <= 0 || length >= std::ptrdiff_t(sizeof buffer))
        return false;
    const QChar* p = begin;
    if (p->unicode() == '-')
        ++p;
    const QChar* digits = p;
    while (p != end && isDigit(p->unicode()))
        ++p;
    const std::ptrdiff_t integerDigits = p - digits;
    if (integerDigits == 0 || (integerDigits > 1 && digits->unicode() == '0'))
        return false;
    if (p != end) {
        if (p->unicode() != '.')
            return false;
        const QChar* fraction = ++p;
        while (p != end && isDigit(p->unicode()))
            ++p;
        if (p == fraction || p != end)
            return false;
    }
    for (std::ptrdiff_t i = 0; i < length; ++i)
        buffer[i] = char(begin[i].unicode());
    const std::from_chars_result result = std::from_chars(buffer, buffer + length, *value);
    return result.ec == std::errc() && result.ptr == buffer + length;
}

bool scanPlainInt(const QChar* begin, const QChar* end, int* value)
{
    const QChar* p = begin;
    const bool negative = p != end && p->unicode() == '-';
    if (negative)
        ++p;
    if (p == end || end - p > 9 || (end - p > 1 && p->unicode() == '0'))
        return false;
    int number = 0;
    for (; p != end; ++p) {
        if (!isDigit(p->unicode()))
            return false;
        number = number * 10 + (p->unicode() - '0');
    }
    *value = negative ? -number : number;
    return true;
}

bool parseDouble(const QString& text, int from, int to, double* value)
{
    const QChar* data = text.constData();
    if (scanPlainDouble(data + from, data + to, value))
        return true;
    bool ok = false;
    *value = QLocale::c().toDouble(QStringRef(&text, from, to - from), &ok);
    return ok;
}

bool parseInt(const QString& text, int from, int to, int* value)
{
    const QChar* data = text.constData();
    if (scanPlainInt(data + from, data + to, value))
        return true;
    bool ok = false;
    *value = QLocale::c().toInt(QStringRef(&text, from, to - from), &ok);
    return ok;
}
} // namespace

void decode(const QString& text, CurveSeries& series)
{
    if (text.isEmpty())
        return;
    const int size = text.size();
    const QChar* data = text.constData();
    series.reserve(series.size() + std::min(maxPoints, int(text.count(QLatin1Char('#'))) + 1));
    int from = 0;
    for (int count = 0; count < maxPoints && from <= size; ++count) {
        int to = from;
        while (to < size && data[to].unicode() != '#')
            ++to;
        double values[3] = { 0.0, 0.0, 1000.0 };
        int tag = 0;
        // The fields of the part in order; reading stops at the first one that does not parse.
        int fieldStart = from;
        for (int f = 0; f < 4 && fieldStart <= to; ++f) {
            int fieldEnd = fieldStart;
            while (fieldEnd < to && data[fieldEnd].unicode() != ':')
                ++fieldEnd;
            bool ok = false;
            if (f < 3) {
                double value = 0.0;
                ok = parseDouble(text, fieldStart, fieldEnd, &value);
                // "nan" and "inf" parse, but would poison every figure drawn from the curve.
                ok = ok && std::isfinite(value);
                values[f] = ok ? value : 0.0;
            } else {
                int value = 0;
                ok = parseInt(text, fieldStart, fieldEnd, &value);
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

} // namespace CurvePointsCodec
} // namespace IVCurve
