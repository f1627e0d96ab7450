#include "SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <cerrno>
#include <climits>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>
#include <unistd.h>

namespace {
// Magic numbers of statfs's f_type (linux/magic.h and the file systems' own headers).
constexpr unsigned long NfsMagic = 0x6969;
constexpr unsigned long SmbMagic = 0x517B;
constexpr unsigned long CifsMagic = 0xFF534D42;
constexpr unsigned long Smb2Magic = 0xFE534D42;
constexpr unsigned long FuseMagic = 0x65735546;
constexpr unsigned long V9fsMagic = 0x01021997;
constexpr unsigned long CodaMagic = 0x73757245;
constexpr unsigned long AfsMagic = 0x5346414F;
constexpr unsigned long NcpMagic = 0x564C;
constexpr unsigned long CephMagic = 0x00C36400;

bool isNetworkType(unsigned long type)
{
    switch (type) {
    case NfsMagic:
    case SmbMagic:
    case CifsMagic:
    case Smb2Magic:
    case FuseMagic:
    case V9fsMagic:
    case CodaMagic:
    case AfsMagic:
    case NcpMagic:
    case CephMagic:
        return true;
    default:
        return false;
    }
}
} // namespace

namespace SystemInfo {

bool isProcessRunning(qint64 pid)
{
    if (pid <= 0 || pid > INT_MAX)
        return false;
    // Signal 0 only checks: EPERM means the process exists but belongs to someone else.
    if (::kill(static_cast<pid_t>(pid), 0) == 0)
        return true;
    return errno == EPERM;
}

qint64 currentProcessId()
{
    return static_cast<qint64>(::getpid());
}

QString currentUserName()
{
    if (const passwd* entry = ::getpwuid(::getuid())) {
        if (entry->pw_name && *entry->pw_name)
            return QString::fromLocal8Bit(entry->pw_name);
    }
    const QString fromEnvironment = qEnvironmentVariable("USER");
    return fromEnvironment.isEmpty() ? QString::number(::getuid()) : fromEnvironment;
}

bool isOnNetworkFileSystem(const QString& path)
{
    // A path that does not exist (yet) lies on the file system of the nearest folder above it.
    QString existing = path;
    while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
        const QString above = QFileInfo(existing).absolutePath();
        if (above == existing)
            break;
        existing = above;
    }
    struct statfs info = {};
    if (existing.isEmpty() || ::statfs(QFile::encodeName(existing).constData(), &info) != 0)
        return false;
    return isNetworkType(static_cast<unsigned long>(info.f_type));
}

namespace {
// A real folder (not a link to one) that belongs to us and that nobody else may enter.
bool isPrivateFolder(const QByteArray& path, bool repairMode)
{
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & 077) == 0)
        return true;
    return repairMode && ::chmod(path.constData(), 0700) == 0;
}
} // namespace

QString privateRuntimeFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && runtime.startsWith('/') && isPrivateFolder(runtime, false))
        return QFile::decodeName(runtime);
    // Where the desktop gives none: a folder of our own, refused when someone else made it first.
    const QByteArray own
        = QFile::encodeName(QDir::tempPath() + QStringLiteral("/kestrovan-%1").arg(::geteuid()));
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    return isPrivateFolder(own, true) ? QFile::decodeName(own) : QString();
}

qint64 peerUserId(qintptr socketDescriptor)
{
    struct ucred credentials = {};
    socklen_t size = sizeof(credentials);
    if (socketDescriptor < 0
        || ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0
        || size != sizeof(credentials))
        return -1;
    return qint64(credentials.uid);
}

qint64 currentUserId()
{
    return qint64(::geteuid());
}

} // namespace SystemInfo
