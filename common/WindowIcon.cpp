#include "WindowIcon.h"

#include <QDir>

QIcon windowIconWithSizes(const QString& picture, const QString& sizesFolder)
{
    QIcon icon(picture);
    const QFileInfoList sized = QDir(sizesFolder).entryInfoList({ QStringLiteral("*.png") }, QDir::Files);
    for (const QFileInfo& file : sized)
        icon.addFile(file.filePath());
    return icon;
}
