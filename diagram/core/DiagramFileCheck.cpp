#include "DiagramFileCheck.h"

#include <QXmlStreamReader>

DiagramFileCheck::Result DiagramFileCheck::check(const QByteArray& data)
{
    Result result;
    QXmlStreamReader reader(data);
    int depth = 0;
    int items = 0;
    bool seenRoot = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            result.problem = DocumentType;
        } else if (token == QXmlStreamReader::StartElement) {
            seenRoot = true;
            ++depth;
            if (depth > MaxDepth)
                result.problem = TooDeep;
            else if (depth == 2 && ++items > MaxItems)
                result.problem = TooManyItems;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
        if (result.problem != None) {
            result.line = reader.lineNumber();
            result.column = reader.columnNumber();
            return result;
        }
    }
    // A document type declaration can only come before the root element. Where the reader gives
    // up before that, it cannot tell whether one follows, so the file is refused; later errors
    // are left to the document parser, which says where.
    if (reader.hasError() && !seenRoot) {
        result.problem = Malformed;
        result.line = reader.lineNumber();
        result.column = reader.columnNumber();
        result.message = reader.errorString();
    }
    return result;
}
