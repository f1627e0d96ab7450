#pragma once

#include <QByteArray>
#include <QDomElement>
#include <QList>
#include <QPair>
#include <QString>

// Report files made by hand for the tests, without the scene: these link only the file format.
namespace ReportTestSupport {
// Registers the layouts compiled for the tests (:/testpacks, the kstatr revisions in
// :res/reports, :/testdata/background.svg).
void initTestData();

using Entry = QPair<QString, QByteArray>;
// Container bytes made by hand, independently of DocumentContainer: big-endian size header,
// zlib stream, and for each entry a UTF-16BE name and the data, each behind a 32-bit length.
// A null name or array is written as length 0xFFFFFFFF.
QByteArray handMadeContainer(const QList<Entry>& entries, bool nullName = false, bool nullData = false);
QByteArray handMadePayload(const QList<Entry>& entries);
QByteArray compressWithHeader(const QByteArray& payload, quint32 declaredSize);
bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Writes a report file whose XML is given, with optional picture entries after it.
QString writeReport(
    const QString& folder, const QString& fileName, const QByteArray& xml, const QList<Entry>& pictures = {});

// The first element below root, at any depth, whose id is the given one.
QDomElement findById(const QDomElement& root, const QString& id);
} // namespace ReportTestSupport
