#include "FileNames.h"

#include <QFile>
#include <QFileInfo>

void uniqueFileName(QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    const QFileInfo info(path);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    QString base = path;
    QString suffix;
    if (dot >= 0) {
        suffix = name.mid(dot + 1);
        base = path.left(path.size() - suffix.size() - 1);
    }
    for (int n = 2;; ++n) {
        const QString candidate = dot >= 0 ? QStringLiteral("%1 (%2).%3").arg(base).arg(n).arg(suffix)
                                           : QStringLiteral("%1 (%2)").arg(base).arg(n);
        if (!QFileInfo::exists(candidate)) {
            path = candidate;
            return;
        }
    }
}

bool copyAsWritable(const QString& source, const QString& target)
{
    if (!QFile::copy(source, target))
        return false;
    return QFile::setPermissions(target,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser
            | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
            | QFileDevice::WriteOther);
}
