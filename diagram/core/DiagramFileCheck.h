#pragma once

#include <QByteArray>
#include <QString>

// What a diagram file must pass before it is parsed into a document tree: no document type
// declaration (so no entities to expand), a sane nesting depth and a bounded number of items.
namespace DiagramFileCheck {

constexpr qint64 MaxFileSize = 32 * 1024 * 1024;
constexpr int MaxItems = 100000;
// The format nests three levels; anything far deeper is not a diagram.
constexpr int MaxDepth = 32;

enum Problem { None, DocumentType, TooDeep, TooManyItems, Malformed };

struct Result
{
    Problem problem = None;
    qint64 line = 0;
    qint64 column = 0;
    QString message; // the reader's own words for malformed XML
};

// Looks for the problems above. Only what passes here is handed to the document parser, so that
// parser never meets a document type declaration, however the rest of the file looks.
// Malformed means the file is broken before its root element.
Result check(const QByteArray& data);

} // namespace DiagramFileCheck
