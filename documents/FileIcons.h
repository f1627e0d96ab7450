#pragma once

#include <QIcon>
#include <QString>

// The icon of a path in the project tree and on a document's tab: folders (marked when they
// hold a checklist, i.e. a client handover pack), the search results file, our own document
// kinds, and the desktop's icon for anything else (a null icon when it has none).
QIcon iconForPath(const QString& path);

// The parts of iconForPath for lists that may hold thousands of paths on a slow share: the
// folder's icon once it is known whether it holds a checklist (folderHoldsChecklist reads the
// folder, so it runs off the GUI thread), and a file's icon by its name alone, never reading the
// file or its folder.
bool folderHoldsChecklist(const QString& path);
QIcon folderIcon(bool holdsChecklist);
QIcon iconForFileName(const QString& path);
