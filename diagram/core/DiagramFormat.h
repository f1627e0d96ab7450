#pragma once

#include "DiagramModel.h"

#include <QByteArray>
#include <QString>

// The installation diagram file (.kstid): the one place that reads and writes it. The whole
// format is described at the top of DiagramFormat.cpp.
namespace DiagramFormat {

enum Problem {
    None,
    CannotOpen,
    TooLarge, // above DiagramFileCheck::MaxFileSize
    DocumentType, // a document type declaration (entities are never expanded)
    TooDeep, // nested beyond DiagramFileCheck::MaxDepth
    TooManyItems, // above DiagramFileCheck::MaxItems
    Malformed, // not well-formed XML
};

struct ReadResult
{
    Problem problem = None;
    // Where the reader stopped, for DocumentType, TooDeep and Malformed.
    qint64 line = 0;
    qint64 column = 0;
    QString message; // the XML parser's own words for Malformed
    // Some items shared an id; the later ones were given new ids.
    bool renumbered = false;
};

// Reads a file into model (which should be empty). On a problem the model is left as it was.
ReadResult readFile(const QString& path, DiagramModel* model);
ReadResult read(const QByteArray& data, DiagramModel* model);

// The file's bytes: UTF-8, indented by 2, attributes in a fixed order, no declaration.
QByteArray write(const DiagramModel& model);

} // namespace DiagramFormat
