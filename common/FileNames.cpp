#include "FileNames.h"

#include <QDir>
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

QString canonicalPath(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool isSameOrInside(const QString& path, const QString& folder)
{
    const QString inner = canonicalPath(path);
    const QString outer = canonicalPath(folder);
    if (inner.isEmpty() || outer.isEmpty())
        return false;
    if (inner == outer)
        return true;
    const QString prefix = outer.endsWith(QLatin1Char('/')) ? outer : outer + QLatin1Char('/');
    return inner.startsWith(prefix);
}

bool openPlainFile(const QString& path, qint64 maxSize, QFile* file)
{
    if (!QFileInfo(path).isFile())
        return false;
    file->setFileName(path);
    if (!file->open(QIODevice::ReadOnly))
        return false;
    if (file->isSequential() || file->size() > maxSize) {
        file->close();
        return false;
    }
    return true;
}

bool readPlainFile(const QString& path, qint64 maxSize, QByteArray* content)
{
    content->clear();
    QFile file;
    if (!openPlainFile(path, maxSize, &file))
        return false;
    // readAll() sets aside what the file's size says; read(maxSize + 1) would set aside the
    // whole limit first.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > maxSize)
        return false;
    *content = bytes;
    return true;
}
