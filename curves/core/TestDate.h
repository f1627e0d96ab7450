#pragma once

#include <QDateTime>
#include <QString>

// The date and time of a test as stored in the Curves table: ISO 8601 text, or the
// "date time" text that older program versions wrote.
namespace IVCurve {
namespace TestDate {

// The date and time; a text whose time could not be read gives its date at midnight.
QDateTime parse(const QString& stored);
// Whether the text holds a time that was read: the tester's time field may not have been
// readable, and midnight is then no time to show or to match readings against.
bool hasTime(const QString& stored);
// The short date of the system locale and "HH:mm:ss", or the date and "time unknown"; empty
// when the text is not a date.
QString displayText(const QString& stored);

} // namespace TestDate
} // namespace IVCurve
