#pragma once

#include <QIcon>
#include <QString>

// The icon of a path in the project tree and on a document's tab: folders (marked when they
// hold a checklist, i.e. a client handover pack), the search results file, our own document
// kinds, and the desktop's icon for anything else (a null icon when it has none).
QIcon iconForPath(const QString& path);
