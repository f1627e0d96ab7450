#pragma once

#include <QString>

class DocumentContainer;
class ReportScene;

// Reading and writing report files: the document's values are laid over the layout of the
// resource pack it names. Failures are told to the user here.
namespace ReportFile {
bool load(ReportScene* scene, const QString& path);
// The same from a container already in memory; path names the file in messages and gives the
// suffix that picks the default pack.
bool load(ReportScene* scene, const QString& path, const DocumentContainer& container);
bool save(ReportScene* scene, const QString& path);
// The XML the scene would be written as (entries of pictures are appended to the container).
QByteArray toXml(ReportScene* scene, DocumentContainer& container);

// The pack a report file names ("resPak"); false when the file cannot be read.
bool readPackPath(const QString& path, QString* packPath);
// Where the pack of a suffix stands when a document names none.
QString defaultPackPath(const QString& suffix);

// Nesting deeper than this, or more items than this (cells included), is damage, not a form.
constexpr int MaxDepth = 64;
constexpr int MaxItems = 20000;
} // namespace ReportFile
