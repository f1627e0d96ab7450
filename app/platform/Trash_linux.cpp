#include "Trash.h"

#include <QFile>

// The freedesktop trash (~/.local/share/Trash, or the volume's .Trash-<uid>).
bool moveToTrash(const QString& path)
{
    return QFile::moveToTrash(path);
}
