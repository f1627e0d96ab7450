#include "DocumentType.h"

#include <QHash>

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
