#pragma once

#include "ReportModel.h"

#include <QString>

class DocumentContainer;
class ReportScene;

// Reading and writing report files for the scene: the model's reader lays the document's values
// over the layout of the pack it names, the scene keeps what it read and its items are built as
// views of it; saving writes the kept model, which every edit went into. What the reader has to
// say is told to the user here.
namespace ReportFile {
// layoutLanguage is the locale name of the user interface, which picks the layout set (see
// layoutPackPath).
bool load(ReportScene* scene, const QString& path, const QString& layoutLanguage);
// The same from a container already in memory; path names the file in messages and gives the
// suffix that picks the default pack.
bool load(ReportScene* scene, const QString& path, const DocumentContainer& container,
    const QString& layoutLanguage);
bool save(ReportScene* scene, const QString& path);
// The XML the scene would be written as (entries of pictures are appended to the container).
QByteArray toXml(ReportScene* scene, DocumentContainer& container);

// The pack a report file names ("resPak"); false when the file cannot be read.
bool readPackPath(const QString& path, QString* packPath);
// Where the pack of a suffix stands when a document names none.
QString defaultPackPath(const QString& suffix);
// The pack whose layout is shown for a document naming packPath. The built-in packs come in an
// English and a German set with the same file names, ids and geometry; a German layoutLanguage
// (a locale name) lays reports out from the German set, every other language from the
// English one. The document keeps naming the pack it named, so a file saved in one language opens
// in the other. Packs outside the two sets, and twins that do not exist, are used as named.
QString layoutPackPath(const QString& packPath, const QString& layoutLanguage);

// Nesting deeper than this, or more items than this (cells included), is damage, not a form.
constexpr int MaxDepth = ReportLimits::MaxDepth;
constexpr int MaxItems = ReportLimits::MaxItems;
} // namespace ReportFile
