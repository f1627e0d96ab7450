#pragma once

#include <QDateTime>
#include <QString>

// The date and time of a test as stored in the Curves table: ISO 8601 text, or the
// "date time" text that older program versions wrote.
namespace IVCurve {
namespace TestDate {

QDateTime parse(const QString& stored);
// The short date of the system locale and "HH:mm:ss"; empty when the text is not a date.
QString displayText(const QString& stored);

} // namespace TestDate
} // namespace IVCurve
