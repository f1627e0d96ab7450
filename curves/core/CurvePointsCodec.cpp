#include "CurvePointsCodec.h"

#include "CurveSeries.h"
#include "PlainNumber.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstring>

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

// A field ends at ':' (the next field), '#' (the next point) or the end of the text.
template <typename Char> inline bool endsField(const Char* p, const Char* end)
{
    return p == end || code(*p) == ':' || code(*p) == '#';
}

// Reads the number at p up to the end of its field and leaves p there. The common case, a
// plain number of up to 15 significant digits, is converted while the field is scanned, with
// the same result as PlainNumber::scanDouble; any other field is handed to the readers above.
template <typename Char> bool readDouble(const Char*& p, const Char* end, double* value)
{
    static const double exactPowersOfTen[]
        = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    const Char* const begin = p;
    const bool negative = p != end && code(*p) == '-';
    if (negative)
        ++p;
    const Char* const digits = p;
    // At most 16 digits are taken: one more than a plain number may have.
    const Char* limit = end - p > 16 ? p + 16 : end;
    quint64 mantissa = 0;
    while (p != limit && PlainNumber::isDigit(code(*p))) {
        mantissa = mantissa * 10 + (code(*p) - '0');
        ++p;
    }
    const std::ptrdiff_t integerDigits = p - digits;
    std::ptrdiff_t decimals = 0;
    if (integerDigits > 0 && p != end && code(*p) == '.') {
        const Char* const fraction = ++p;
        limit = end - p > 16 - integerDigits ? p + (16 - integerDigits) : end;
        while (p != limit && PlainNumber::isDigit(code(*p))) {
            mantissa = mantissa * 10 + (code(*p) - '0');
            ++p;
        }
        decimals = p - fraction;
        if (decimals == 0)
            p = fraction - 1; // "12." is not plain
    }
    const bool plain = integerDigits > 0 && integerDigits + decimals <= 15
        && !(integerDigits > 1 && code(*digits) == '0') && endsField(p, end);
    if (plain) {
        const double magnitude = double(mantissa) / exactPowersOfTen[decimals];
        *value = negative ? -magnitude : magnitude;
        return true;
    }
    while (!endsField(p, end))
        ++p;
    return PlainNumber::scanDouble(begin, p, value) || parseOther(begin, p, value);
}

template <typename Char> bool readInt(const Char*& p, const Char* end, int* value)
{
    const Char* const begin = p;
    while (!endsField(p, end))
        ++p;
    return PlainNumber::scanInt(begin, p, value) || parseOther(begin, p, value);
}

qint64 countSeparators(const QChar* begin, const QChar* end)
{
    return std::count(begin, end, QLatin1Char('#'));
}
qint64 countSeparators(const char* begin, const char* end)
{
    qint64 count = 0;
    const void* found = std::memchr(begin, '#', std::size_t(end - begin));
    while (found) {
        ++count;
        const char* next = static_cast<const char*>(found) + 1;
        found = std::memchr(next, '#', std::size_t(end - next));
    }
    return count;
}

// One pass over the text: each field is read where it stands, without splitting the text.
template <typename Char> void decodePoints(const Char* data, int size, CurveSeries& series)
{
    if (size == 0)
        return;
    const Char* p = data;
    const Char* const end = data + size;
    // Every "#"-separated part is one point.
    const int count = int(std::min<qint64>(maxPoints, countSeparators(p, end) + 1));
    series.appendPoints(count, [&p, end](int, QPointF& point, SeriesPoint& extra) {
        double values[3] = { 0.0, 0.0, 1000.0 };
        int tag = 0;
        // The fields of the part in order; reading stops at the first one that does not parse.
        for (int f = 0; f < 4; ++f) {
            bool ok = false;
            if (f < 3) {
                double value = 0.0;
                // "nan" and "inf" parse, but would poison every figure drawn from the curve.
                ok = readDouble(p, end, &value) && std::isfinite(value);
                values[f] = ok ? value : 0.0;
            } else {
                int value = 0;
                ok = readInt(p, end, &value);
                tag = ok ? value : 0;
            }
            if (!ok || p == end || code(*p) == '#')
                break;
            ++p; // the ':' before the next field
        }
        // The rest of the part, after a field that did not parse or beyond the fourth.
        while (p != end && code(*p) != '#')
            ++p;
        if (p != end)
            ++p;
        point = QPointF(values[0], values[1]);
        extra.irradiance = values[2];
        extra.tag = tag;
        return true;
    });
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
