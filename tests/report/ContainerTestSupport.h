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

// Report XML as a parsed tree, one element a line with its attributes sorted by name: two files
// compare equal when they hold the same tree, whatever order the attributes were written in.
QString canonicalTree(const QByteArray& xml);

// Reports whose load-then-save output is kept in tests/data/report/roundtrip/<name>.saved.xml: the
// built-in forms, the packs, and documents with values, pictures and damage over test layouts.
struct RoundTripCase
{
    QString name;
    // The report's file name: its suffix picks the default pack.
    QString fileName;
    QByteArray xml;
    QList<Entry> pictures;
    // A layout written beside the report as a pack (with the same pictures), which the document names as
    // "@pack".
    QByteArray layout;
    // The user interface's language, which picks the layout set.
    QString language;
};
QList<RoundTripCase> roundTripCases();
// Writes the case's report (and layout) into folder; returns the report's path.
QString writeRoundTripCase(const RoundTripCase& roundTrip, const QString& folder);
// A saved report as kept in a golden file: its XML, with the folder's layout named "@pack" again,
// after a comment that names its picture entries in order.
QByteArray goldenForm(const QList<Entry>& saved, const QString& folder);
// The picture entries a golden file names, with the bytes of the case's picture of that name.
QList<Entry> goldenPictures(const QByteArray& golden, const RoundTripCase& roundTrip);
QString goldenPath(const QString& name);

// The first element below root, at any depth, whose id is the given one.
QDomElement findById(const QDomElement& root, const QString& id);
} // namespace ReportTestSupport
