#include "NumberText.h"

#include <QLocale>
#include <climits>
#include <cmath>

namespace IVCurve {
namespace NumberText {

namespace {
// The user's locale, but a group separator is neither written nor skipped: numbers shown are
// parsed back (an edit, a details update), and "1.050" would read as 1.05 in a decimal-comma
// locale, "1 050" not at all in a locale that groups with a space, and "1,050" would be
// stored as text in a REAL column. Skipping separators would make "0.004" read as 4.
QLocale userLocale()
{
    QLocale locale;
    locale.setNumberOptions(
        locale.numberOptions() | QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
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
    const QString text = stored.toString();
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return text;
    return userLocale().toString(value, 'g', 6);
}

QString format(double value)
{
    return userLocale().toString(value, 'g', 6);
}

double parse(const QString& text, bool* ok)
{
    bool parsed = false;
    double value = userLocale().toDouble(text, &parsed);
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
