#include "ReportXml.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QXmlStreamReader>

bool ReportXml::parse(
    const QByteArray& data, QDomDocument* document, QString* errorMessage, int* line, int* column)
{
    auto fail = [&](const QXmlStreamReader& reader, const QString& message) {
        if (errorMessage)
            *errorMessage = message;
        if (line)
            *line = int(reader.lineNumber());
        if (column)
            *column = int(reader.columnNumber());
        return false;
    };
    // One streaming pass first: a DTD is refused wherever it stands, and so is nesting that
    // no form has and that would only exhaust the stack of whoever walks the tree.
    {
        QXmlStreamReader scan(data);
        int depth = 0;
        while (!scan.atEnd()) {
            const QXmlStreamReader::TokenType token = scan.readNext();
            if (token == QXmlStreamReader::DTD)
                return fail(scan,
                    QCoreApplication::translate(
                        "Error Message", "Document type declarations are not allowed"));
            if (token == QXmlStreamReader::StartElement && ++depth > MaxDepth)
                return fail(
                    scan, QCoreApplication::translate("Error Message", "Elements are nested too deeply"));
            if (token == QXmlStreamReader::EndElement)
                --depth;
        }
        if (scan.hasError())
            return fail(scan, scan.errorString());
    }
    QXmlStreamReader reader(data);
    QString message;
    int l = 0;
    int c = 0;
    if (!document->setContent(&reader, false, &message, &l, &c)) {
        if (errorMessage)
            *errorMessage = message;
        if (line)
            *line = l;
        if (column)
            *column = c;
        return false;
    }
    return true;
}
