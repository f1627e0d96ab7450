#include "NumberText.h"

#include <QLocale>
#include <cmath>

namespace IVCurve {
namespace NumberText {

namespace {
// The user's locale, but a group separator is not skipped: in a decimal-comma locale "0.004"
// would otherwise read as 4.
QLocale userLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
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
    return QLocale().toString(value, 'g', 6);
}

QString format(double value)
{
    return QLocale().toString(value, 'g', 6);
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

} // namespace NumberText
} // namespace IVCurve
