#include "DownloadData.h"

#include <QFileInfo>

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

} // namespace DownloadData
