#pragma once

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>

// What the logger does to the instrument's bytes between the line and the file; no widgets.
namespace DownloadData {

// Stop a download that grows without end before it takes all memory.
constexpr qint64 DefaultLimit = qint64(64) * 1024 * 1024;

// True when the locale writes one half as "0,5".
bool writesDecimalComma(const QLocale& locale);
// The list separator a spreadsheet expects under the locale: ";" where decimals take a comma.
QChar listSeparator(const QLocale& locale);

// The bytes as they go into the file: every top bit cleared, and for a .csv file (any letter
// case) under a comma-decimal locale every comma turned into the list separator and then every
// period into the decimal separator, so that "1.5,2" becomes "1,5;2".
QByteArray forSaving(const QByteArray& received, const QString& fileName, const QLocale& locale);

// The file name with the suffix of the chosen save filter (such as "*.csv") added when none
// was typed; a filter of all files adds nothing.
QString withFilterSuffix(const QString& fileName, const QString& filter);

} // namespace DownloadData
