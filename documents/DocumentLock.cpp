#include "DocumentLock.h"

#include "PlainText.h"
#include "platform/PlainEntries.h"
#include "platform/SystemInfo.h"

#include <QFileInfo>
#include <QSysInfo>
#include <QTextCodec>
#include <climits>

namespace {
const QLatin1String LockPrefix(".~lock.");
const QLatin1Char LockSuffix('#');
// Longest user or host name taken from a lock file.
constexpr int MaxNameLength = 256;

QString hostName()
{
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("localhost") : name;
}

// Valid UTF-8 text without control characters other than line ends and tabs.
bool isPlainText(const QByteArray& data, QString* text)
{
    QTextCodec::ConverterState state;
    *text = QTextCodec::codecForName("UTF-8")->toUnicode(data.constData(), data.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return false;
    for (const QChar c : qAsConst(*text)) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\r') && c != QLatin1Char('\t'))
            return false;
    }
    return true;
}
} // namespace

LockOwner LockOwner::current()
{
    LockOwner owner;
    owner.user = SystemInfo::currentUserName();
    owner.host = hostName();
    owner.pid = SystemInfo::currentProcessId();
    // Whole seconds: the same value reads back from the file.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    owner.opened = QDateTime::fromSecsSinceEpoch(now.toSecsSinceEpoch(), Qt::UTC);
    return owner;
}

bool LockOwner::operator==(const LockOwner& other) const
{
    return user == other.user && host == other.host && pid == other.pid && opened == other.opened;
}

DocumentLock::DocumentLock(const QString& documentPath)
    : m_lockPath(lockPathFor(documentPath))
    , m_owner(LockOwner::current())
{ }

DocumentLock::~DocumentLock()
{
    release();
}

QString DocumentLock::lockPathFor(const QString& documentPath)
{
    const QFileInfo info(documentPath);
    return info.absolutePath() + QLatin1Char('/') + LockPrefix + info.fileName() + LockSuffix;
}

QString DocumentLock::lockFilePrefix()
{
    return LockPrefix;
}

bool DocumentLock::acquire()
{
    // Never through whatever stands at the name: a link planted there (even between a look and
    // the write) is replaced itself, and what it points to stays as it was.
    m_acquired = PlainEntries::replace(m_lockPath, format(m_owner));
    return m_acquired;
}

bool DocumentLock::isBlockedByFolder() const
{
    return PlainEntries::kindOf(m_lockPath) == PlainEntries::Kind::Folder;
}

void DocumentLock::release()
{
    if (!m_acquired)
        return;
    m_acquired = false;
    // Someone who opened the document anyway has replaced our lock with theirs: leave it.
    QByteArray data;
    LockOwner owner;
    if (PlainEntries::read(m_lockPath, MaxLockSize, &data) && parse(data, &owner) && owner == m_owner)
        PlainEntries::remove(m_lockPath);
}

QByteArray DocumentLock::format(const LockOwner& owner)
{
    QByteArray text;
    text += "user=" + owner.user.toUtf8() + '\n';
    text += "host=" + owner.host.toUtf8() + '\n';
    text += "pid=" + QByteArray::number(owner.pid) + '\n';
    text += "opened=" + owner.opened.toUTC().toString(Qt::ISODate).toUtf8() + '\n';
    return text;
}

bool DocumentLock::parse(const QByteArray& data, LockOwner* owner)
{
    QString text;
    if (data.isEmpty() || data.size() > MaxLockSize || !isPlainText(data, &text))
        return false;
    LockOwner read;
    bool havePid = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("user")) {
            read.user = plainUserText(value);
        } else if (key == QLatin1String("host")) {
            read.host = plainUserText(value);
        } else if (key == QLatin1String("pid")) {
            bool ok = false;
            const qlonglong pid = value.toLongLong(&ok);
            havePid = ok && pid > 0 && pid <= INT_MAX;
            read.pid = havePid ? pid : 0;
        } else if (key == QLatin1String("opened")) {
            read.opened = QDateTime::fromString(value, Qt::ISODate).toUTC();
        }
    }
    if (read.user.isEmpty() || read.host.isEmpty() || read.user.size() > MaxNameLength
        || read.host.size() > MaxNameLength || !havePid || !read.opened.isValid())
        return false;
    *owner = read;
    return true;
}

DocumentLock::Reading DocumentLock::inspect(const QString& documentPath, const QDateTime& now)
{
    Reading reading;
    const QString path = lockPathFor(documentPath);
    // Only a regular file is a lock; a link is never followed, a pipe never waited on.
    const PlainEntries::Kind kind = PlainEntries::kindOf(path);
    if (kind == PlainEntries::Kind::Missing)
        return reading;
    reading.state = State::Stale;
    QByteArray data;
    LockOwner owner;
    if (kind != PlainEntries::Kind::File || !PlainEntries::read(path, MaxLockSize, &data))
        return reading;
    if (!parse(data, &owner))
        return reading;
    const LockOwner self = LockOwner::current();
    if (owner.host == self.host) {
        if (owner.pid == self.pid)
            reading.state = State::Ours;
        else if (SystemInfo::isProcessRunning(owner.pid))
            reading.state = State::Held;
    } else {
        const qint64 age = owner.opened.secsTo(now);
        // A clock far ahead on the other machine does not make a lock that never ages.
        if (age <= ForeignLockLifeSecs && age >= -ForeignLockLifeSecs)
            reading.state = State::Held;
    }
    reading.owner = owner;
    return reading;
}
