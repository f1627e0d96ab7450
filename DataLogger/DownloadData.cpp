#include "DownloadData.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace DownloadData {

bool writesDecimalComma(const QLocale& locale)
{
    return locale.toString(0.5, 'g', 6).contains(QLatin1Char(','));
}

QChar listSeparator(const QLocale& locale)
{
    return writesDecimalComma(locale) ? QLatin1Char(';') : QLatin1Char(',');
}

QByteArray forSaving(const QByteArray& received, const QString& fileName, const QLocale& locale)
{
    QByteArray data = received;
    for (char& c : data)
        c = char(c & 0x7f);
    if (QFileInfo(fileName).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) != 0
        || !writesDecimalComma(locale))
        return data;
    // Separators outside ASCII cannot stand for one byte of the file; those stay as they are.
    const ushort list = listSeparator(locale).unicode();
    const ushort decimal = locale.decimalPoint().unicode();
    if (list < 0x80)
        data.replace(',', char(list));
    if (decimal < 0x80)
        data.replace('.', char(decimal));
    return data;
}

QString withFilterSuffix(const QString& fileName, const QString& filter)
{
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    // The first pattern of "Name (*.csv)" decides; "*.*" or "*" is no suffix.
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)[ )]"));
    const QRegularExpressionMatch match = pattern.match(filter);
    if (!match.hasMatch())
        return fileName;
    QString named = fileName;
    // "messung1." means the user typed the dot and nothing after it.
    if (!named.endsWith(QLatin1Char('.')))
        named += QLatin1Char('.');
    return named + match.captured(1);
}

} // namespace DownloadData
