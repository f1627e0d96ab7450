#include "DiagramFileCheck.h"

#include <QXmlStreamReader>

DiagramFileCheck::Result DiagramFileCheck::check(const QByteArray& data)
{
    Result result;
    QXmlStreamReader reader(data);
    int depth = 0;
    int items = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            result.problem = DocumentType;
        } else if (token == QXmlStreamReader::StartElement) {
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
    return result;
}
