#include "DocumentType.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>

DocumentType documentType(const QString& path)
{
    static const QHash<QString, DocumentType> bySuffix = {
        { QStringLiteral("kstir"), InspectionReport },
        { QStringLiteral("kstatr"), ArrayTestReport },
        { QStringLiteral("kstvc"), VerificationCertificate },
        { QStringLiteral("kstreport"), GenericReport },
        { QStringLiteral("kstid"), InstallationDiagram },
        { QStringLiteral("kstchk"), Checklist },
        { QStringLiteral("png"), ImageFile },
        { QStringLiteral("jpg"), ImageFile },
        { QStringLiteral("jpeg"), ImageFile },
        { QStringLiteral("tif"), ImageFile },
        { QStringLiteral("tiff"), ImageFile },
        { QStringLiteral("bmp"), ImageFile },
        { QStringLiteral("pdf"), PdfFile },
        { QStringLiteral("doc"), WordProcessorFile },
        { QStringLiteral("xls"), SpreadsheetFile },
        { QStringLiteral("csv"), SpreadsheetFile },
        { QStringLiteral("html"), WebPage },
        { QStringLiteral("htm"), WebPage },
        { QStringLiteral("url"), WebPage },
        { QStringLiteral("kstcrv"), CurveData },
    };
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return OtherDocument;
    return bySuffix.value(path.mid(dot + 1).toLower(), OtherDocument);
}

DocumentType documentTypeFromContent(const QString& path)
{
    // Only what the desktop's rules look at: the first 256 bytes of a regular file.
    if (!QFileInfo(path).isFile())
        return OtherDocument;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return OtherDocument;
    const QByteArray head = file.read(256);
    // Payload size below 128 MiB, then the zlib header qCompress writes.
    if (head.size() >= 6 && (qFromBigEndian<quint32>(head.constData()) & 0xF8000000u) == 0
        && quint8(head.at(4)) == 0x78 && quint8(head.at(5)) == 0x9C)
        return GenericReport;
    if (head.size() >= 72 && head.startsWith(QByteArrayLiteral("SQLite format 3\0"))
        && head.mid(68, 4) == "KCRV")
        return CurveData;
    if (head.contains("<installation_diagram"))
        return InstallationDiagram;
    return OtherDocument;
}
