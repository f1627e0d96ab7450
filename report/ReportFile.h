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
// ReportPack::layoutPath).
bool load(ReportScene* scene, const QString& path, const QString& layoutLanguage);
// The same from a container already in memory; path names the file in messages and gives the
// suffix that picks the default pack.
bool load(ReportScene* scene, const QString& path, const DocumentContainer& container,
    const QString& layoutLanguage);
bool save(ReportScene* scene, const QString& path);
// The XML the scene would be written as (entries of pictures are appended to the container).
QByteArray toXml(ReportScene* scene, DocumentContainer& container);
} // namespace ReportFile
