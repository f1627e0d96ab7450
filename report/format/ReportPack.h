#pragma once

#include <QString>

class DocumentContainer;
class QDomDocument;

// Resource packs: the layout a report file's values are laid over. A report names its pack
// ("resPak" on the root element); a report that names none uses the built-in pack of its suffix.
namespace ReportPack {
// Where the built-in pack of a suffix stands.
QString defaultPath(const QString& suffix);
// Reads a pack and parses its layout; false when either fails.
bool load(const QString& path, DocumentContainer* pack, QDomDocument* layout);
// The pack a report file names (empty when it names none); false when the file cannot be read.
bool readPackPath(const QString& reportPath, QString* packPath);
} // namespace ReportPack
