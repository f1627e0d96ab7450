#pragma once

#include <QByteArray>
#include <QString>

class QDomDocument;

// Parses report XML without a DTD: no entity of the file's own is ever declared, so nothing can
// expand without bound or pull in an external file.
namespace ReportXml {
constexpr int MaxDepth = 200;

bool parse(const QByteArray& data, QDomDocument* document, QString* errorMessage = nullptr,
    int* line = nullptr, int* column = nullptr);
}
