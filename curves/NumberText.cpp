#include "NumberText.h"

#include "PlainNumber.h"

#include <QLocale>
#include <charconv>
#include <climits>
#include <cmath>

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
// value of every node and curve loaded is formatted. Both round the exact binary value to 6
// significant digits and choose the form alike; they differ only on an exact tie (Qt rounds it
// away from zero, the library to even), which is left to Qt, as are 0 (Qt writes -0 as "0")
// and what is not finite. A tie has exactly 7 significant digits ending in 5, and so then has
// the shortest text that reads back as the value.
bool formatSixDigits(double value, QString* text)
{
    if (!std::isfinite(value) || value == 0.0)
        return false;
    char buffer[32];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc())
        return false;
    int digits = 0;
    int significant = 0;
    char last = 0;
    for (const char* p = buffer; p != result.ptr && *p != 'e'; ++p) {
        if (!PlainNumber::isDigit(PlainNumber::code(*p)) || (digits == 0 && *p == '0'))
            continue;
        ++digits;
        if (*p != '0') {
            significant = digits;
            last = *p;
        }
    }
    if (significant == 7 && last == '5')
        return false;
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    if (result.ec != std::errc())
        return false;
    *text = QString::fromLatin1(buffer, int(result.ptr - buffer));
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
