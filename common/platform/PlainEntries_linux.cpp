#include "PlainEntries.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// Retries a call that a signal interrupted.
template <typename Call> auto retried(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

bool writeAll(int fd, const QByteArray& data)
{
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t written
            = retried([&] { return ::write(fd, data.constData() + done, size_t(data.size() - done)); });
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}
} // namespace

namespace PlainEntries {
Kind kindOf(const QString& path)
{
    struct stat info = {};
    if (path.isEmpty() || ::lstat(native(path).constData(), &info) != 0)
        return Kind::Missing;
    if (S_ISREG(info.st_mode))
        return Kind::File;
    if (S_ISDIR(info.st_mode))
        return Kind::Folder;
    return Kind::Other;
}

bool read(const QString& path, qint64 maxSize, QByteArray* content)
{
    content->clear();
    if (path.isEmpty())
        return false;
    // O_NONBLOCK: a named pipe put there would otherwise hold the open until someone writes.
    const int fd = retried(
        [&] { return ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); });
    if (fd < 0)
        return false;
    struct stat info = {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxSize;
    QByteArray bytes;
    if (ok) {
        bytes.resize(int(info.st_size));
        qint64 done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t got
                = retried([&] { return ::read(fd, bytes.data() + done, size_t(bytes.size() - done)); });
            ok = got > 0;
            done += got;
        }
        // A file that grew meanwhile is not what was measured.
        char extra = 0;
        ok = ok && retried([&] { return ::read(fd, &extra, 1); }) == 0;
    }
    ::close(fd);
    if (ok)
        *content = bytes;
    return ok;
}

bool replace(const QString& path, const QByteArray& data)
{
    if (path.isEmpty())
        return false;
    const QByteArray name = native(path);
    if (kindOf(path) == Kind::Folder && ::rmdir(name.constData()) != 0)
        return false;
    // The temporary carries the final name as its start, so whatever hides the final name hides
    // it too.
    QByteArray temporary = name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, data);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), name.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

bool remove(const QString& path)
{
    return !path.isEmpty() && kindOf(path) != Kind::Folder && ::unlink(native(path).constData()) == 0;
}
} // namespace PlainEntries
