#include "TestDate.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

namespace IVCurve {
namespace TestDate {

QDateTime parse(const QString& stored)
{
    QDateTime result = QDateTime::fromString(stored, Qt::ISODate);
    if (result.isValid())
        return result;
    const QStringList parts = stored.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return QDateTime();
    QDate date = QLocale::system().toDate(parts.at(0), QLocale::ShortFormat);
    if (!date.isValid())
        date = QDate::fromString(parts.at(0), QStringLiteral("dd/MM/yyyy"));
    QTime time;
    const QStringList hms = parts.at(1).split(QLatin1Char(':'));
    if (hms.size() == 3)
        time
            = QTime(hms.at(0).toInt(nullptr, 10), hms.at(1).toInt(nullptr, 10), hms.at(2).toInt(nullptr, 10));
    return QDateTime(date, time);
}

bool hasTime(const QString& stored)
{
    if (!parse(stored).isValid())
        return false;
    // ISO text carries its time after the "T"; the older text after the blank, as H:m:s.
    if (QDateTime::fromString(stored, Qt::ISODate).isValid())
        return stored.contains(QLatin1Char('T'));
    const QStringList hms = stored.section(QLatin1Char(' '), 1).split(QLatin1Char(':'));
    if (hms.size() != 3)
        return false;
    bool ok[3] = { false, false, false };
    const QTime time(hms.at(0).toInt(&ok[0], 10), hms.at(1).toInt(&ok[1], 10), hms.at(2).toInt(&ok[2], 10));
    return ok[0] && ok[1] && ok[2] && time.isValid();
}

QString displayText(const QString& stored)
{
    const QDateTime dateTime = parse(stored);
    if (!dateTime.isValid())
        return QString();
    const QString date = QLocale::system().toString(dateTime.date(), QLocale::ShortFormat);
    if (!hasTime(stored))
        return date + QLatin1Char(' ') + QCoreApplication::translate("IVCurve::TestDate", "time unknown");
    return date + QLatin1Char(' ') + dateTime.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace TestDate
} // namespace IVCurve
