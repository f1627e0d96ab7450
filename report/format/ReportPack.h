#pragma once

#include <QString>

class DocumentContainer;
class QDomDocument;

// Resource packs: the layout a report file's values are laid over. A report names its pack
// ("resPak" on the root element); a report that names none uses the built-in pack of its suffix.
namespace ReportPack {
// Where the built-in pack of a suffix stands.
QString defaultPath(const QString& suffix);
// The pack whose layout is shown for a document naming packPath. The built-in packs come in an
// English and a German set with the same file names, ids and geometry; a German layoutLanguage
// (a locale name) lays reports out from the German set, every other language from the
// English one. The document keeps naming the pack it named, so a file saved in one language opens
// in the other. Packs outside the two sets, and twins that do not exist, are used as named.
QString layoutPath(const QString& packPath, const QString& layoutLanguage);
// Reads a pack and parses its layout; false when either fails.
bool load(const QString& path, DocumentContainer* pack, QDomDocument* layout);
} // namespace ReportPack
