#include "TestDate.h"

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

QString displayText(const QString& stored)
{
    const QDateTime dateTime = parse(stored);
    if (!dateTime.isValid())
        return QString();
    return QLocale::system().toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + dateTime.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace TestDate
} // namespace IVCurve
