#pragma once

#include <QByteArray>

class DocumentContainer;
class ReportDocument;

// Writing the report model as report XML (the schema is described in ReportReader.h). A report
// is written whole, layout and values, so that it can also be read without its pack.
namespace ReportWriter {
// The XML of a report; the bytes of its pictures are appended to the container, whose entries
// the image elements name by index.
QByteArray toXml(const ReportDocument& document, DocumentContainer& container);
} // namespace ReportWriter
