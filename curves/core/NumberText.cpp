#include "NumberText.h"

#include "PlainNumber.h"

#include <QLocale>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace IVCurve {
namespace NumberText {

namespace {
// The user's locale, but a group separator is neither written nor skipped: numbers shown are
// parsed back (an edit, a details update), and "1.050" would read as 1.05 in a decimal-comma
// locale, "1 050" not at all in a locale that groups with a space, and "1,050" would be
// stored as text in a REAL column. Skipping separators would make "0.004" read as 4.
// The user's locale as numbers need it, kept between calls (every value of every curve loaded
// passes here) and made again only when the default locale changes.
struct UserNumbers
{
    QLocale locale = QLocale::c();
    // Western digits and signs: a number's text is the C locale's with the user's decimal
    // point, which gives the locale's own text much faster.
    bool plain = false;
    unsigned point = '.';
};

const UserNumbers& userNumbers()
{
    thread_local QLocale base = QLocale::c();
    thread_local UserNumbers numbers;
    thread_local bool made = false;
    const QLocale current;
    if (!made || current != base) {
        base = current;
        numbers.locale = current;
        numbers.locale.setNumberOptions(
            current.numberOptions() | QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        numbers.point = current.decimalPoint().unicode();
        numbers.plain = current.zeroDigit() == QLatin1Char('0') && current.negativeSign() == QLatin1Char('-')
            && current.positiveSign() == QLatin1Char('+') && current.exponential() == QLatin1Char('e')
            && !PlainNumber::isDigit(numbers.point) && numbers.point != '-';
        made = true;
    }
    return numbers;
}

const QLocale& userLocale()
{
    return userNumbers().locale;
}

// QString::number(value, 'g', 6) made by the standard library, several times faster: every
// value of every node and curve loaded is formatted. A value whose shortest exact text has six
// significant digits or fewer shows those digits; one with more is rounded by the library,
// which rounds the exact binary value as Qt does but for an exact tie (Qt rounds it away from
// zero, the library to even). A tie has exactly 7 significant digits ending in 5, and so then
// has the shortest text: it is left to Qt, as are 0 (Qt writes -0 as "0"), values below the
// normal range and what is not finite.
bool formatSixDigits(double value, QString* text)
{
    // Below the normal range the shortest text may have fewer digits than the value rounds to.
    if (!std::isfinite(value) || std::fabs(value) < std::numeric_limits<double>::min())
        return false;
    // The shortest digits that read back as the value, as d.ddde±x.
    char buffer[40];
    std::to_chars_result result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (result.ec != std::errc())
        return false;
    char digits[20];
    int count = 0;
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.' && count < int(sizeof digits))
            digits[count++] = *p;
    }
    int exponent = 0;
    if (p == result.ptr || std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent).ec != std::errc())
        return false;
    if (count == 7 && digits[6] == '5')
        return false;
    if (count > 6) {
        // More digits than shown: rounded by the library, which agrees with Qt but on a tie.
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
        if (result.ec != std::errc())
            return false;
        *text = QString::fromLatin1(buffer, int(result.ptr - buffer));
        return true;
    }
    // Six digits or fewer are the digits shown, laid out as 'g' lays them out: fixed from 1e-4
    // to below 1e6, otherwise with an exponent of at least two digits.
    char out[40];
    int n = 0;
    if (negative)
        out[n++] = '-';
    if (exponent < -4 || exponent >= 6) {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = '.';
            for (int i = 1; i < count; ++i)
                out[n++] = digits[i];
        }
        out[n++] = 'e';
        out[n++] = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude >= 100)
            out[n++] = char('0' + magnitude / 100);
        out[n++] = char('0' + magnitude / 10 % 10);
        out[n++] = char('0' + magnitude % 10);
    } else if (exponent < 0) {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = exponent + 1; i < 0; ++i)
            out[n++] = '0';
        for (int i = 0; i < count; ++i)
            out[n++] = digits[i];
    } else {
        for (int i = 0; i <= exponent || i < count; ++i) {
            if (i == exponent + 1)
                out[n++] = '.';
            out[n++] = i < count ? digits[i] : '0';
        }
    }
    *text = QString::fromLatin1(out, n);
    return true;
}

// 'g' with 6 significant digits in the user's locale, without group separators.
QString formatInUserLocale(double value)
{
    const UserNumbers& numbers = userNumbers();
    if (!numbers.plain)
        return numbers.locale.toString(value, 'g', 6);
    // The C locale's text with the user's decimal point: the same digits and rounding, without
    // the locale's general formatting machinery.
    QString text;
    if (!formatSixDigits(value, &text))
        text = QString::number(value, 'g', 6);
    if (numbers.point != '.')
        text.replace(QLatin1Char('.'), QChar(numbers.point));
    return text;
}
} // namespace

QString toStore(const QString& userText)
{
    bool ok = false;
    const double value = userLocale().toDouble(userText, &ok);
    if (!ok || !std::isfinite(value))
        return userText;
    return QLocale::c().toString(value, 'g', 6);
}

QString toDisplay(const QVariant& stored)
{
    // A number stored as a number needs no trip through its text.
    double value = 0.0;
    bool ok = false;
    switch (stored.userType()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        value = stored.toDouble();
        ok = !stored.isNull();
        break;
    default:
        break;
    }
    if (!ok) {
        const QString text = stored.toString();
        value = QLocale::c().toDouble(text, &ok);
        if (!ok || !std::isfinite(value))
            return text;
    }
    if (!std::isfinite(value))
        return stored.toString();
    return formatInUserLocale(value);
}

QString format(double value)
{
    return formatInUserLocale(value);
}

double parse(const QString& text, bool* ok)
{
    // A plain number with the locale's decimal point or a point reads the same in the user's
    // locale or the C locale, whichever accepts it.
    const UserNumbers& numbers = userNumbers();
    double value = 0.0;
    if (numbers.plain) {
        const QChar* begin = text.constData();
        const QChar* end = begin + text.size();
        if (PlainNumber::scanDouble(begin, end, &value, numbers.point)
            || PlainNumber::scanDouble(begin, end, &value)) {
            if (ok)
                *ok = true;
            return value;
        }
    }
    bool parsed = false;
    value = userLocale().toDouble(text, &parsed);
    // Texts written with a decimal point stay readable for users of a decimal-comma locale.
    if (!parsed)
        value = QLocale::c().toDouble(text, &parsed);
    parsed = parsed && std::isfinite(value);
    if (ok)
        *ok = parsed;
    return parsed ? value : 0.0;
}

double fromVariant(const QVariant& value, bool* ok)
{
    switch (value.userType()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const double number = value.toDouble();
        const bool finite = std::isfinite(number);
        if (ok)
            *ok = finite;
        return finite ? number : 0.0;
    }
    default: {
        // Stored texts are written in the C locale; a user's locale is the second guess.
        bool parsed = false;
        double number = QLocale::c().toDouble(value.toString(), &parsed);
        if (!parsed)
            number = userLocale().toDouble(value.toString(), &parsed);
        parsed = parsed && std::isfinite(number);
        if (ok)
            *ok = parsed;
        return parsed ? number : 0.0;
    }
    }
}

uint toUnsigned(const QVariant& value, bool* ok)
{
    bool valid = false;
    qulonglong number = 0;
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const qlonglong signedNumber = value.toLongLong();
        valid = signedNumber >= 0;
        number = qulonglong(signedNumber);
        break;
    }
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        valid = true;
        number = value.toULongLong();
        break;
    case QMetaType::Double: {
        const double real = value.toDouble();
        valid = std::isfinite(real) && real >= 0.0 && real <= double(UINT_MAX) && std::floor(real) == real;
        number = valid ? qulonglong(real) : 0;
        break;
    }
    case QMetaType::QString:
        number = value.toString().trimmed().toULongLong(&valid, 10);
        break;
    default:
        break;
    }
    valid = valid && !value.isNull() && number <= UINT_MAX;
    if (ok)
        *ok = valid;
    return valid ? uint(number) : 0u;
}

} // namespace NumberText
} // namespace IVCurve
