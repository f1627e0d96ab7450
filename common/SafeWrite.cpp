#include "SafeWrite.h"

#include <QCoreApplication>
#include <QSaveFile>

bool SafeWrite::writeFile(const QString& path, const Writer& writer, QString* errorString)
{
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        if (errorString)
            *errorString = why;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (!writer(file))
        return fail(file.error() != QFileDevice::NoError
                ? file.errorString()
                : QCoreApplication::translate("Error Message", "The data could not be written."));
    // QSaveFile::commit() in Qt 5.15 can report success after a short write (a full disk),
    // so the buffered data is flushed and every error checked before the rename.
    if (file.error() != QFileDevice::NoError || !file.flush() || file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (!file.commit()) {
        if (errorString)
            *errorString = file.errorString();
        return false;
    }
    return true;
}

bool SafeWrite::writeFile(const QString& path, const QByteArray& data, QString* errorString)
{
    return writeFile(
        path, [&data](QIODevice& device) { return device.write(data) == data.size(); }, errorString);
}
