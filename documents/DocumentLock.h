#pragma once

#include <QDateTime>
#include <QString>

// Who holds a document open: written into the lock file beside the document.
struct LockOwner
{
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime opened; // UTC

    // This process on this machine.
    static LockOwner current();
    bool operator==(const LockOwner& other) const;
};

// The lock file of one document: a small hidden text file beside it, named
// ".~lock.<file name>#", that says who has the document open. Another program that opens the
// document reads it and asks its user what to do; a lock left behind by a crash is recognised
// as stale and taken over. The lock is removed when this object goes, unless someone else has
// taken it over meanwhile.
class DocumentLock
{
public:
    enum class State {
        Free, // no lock file
        Ours, // this process holds it
        Stale, // left by a process that is gone, too old, or not a lock at all
        Held, // someone else has the document open
    };

    struct Reading
    {
        State state = State::Free;
        LockOwner owner; // valid for Ours and Held
    };

    // Bytes read of a lock file at most; a bigger file is not a lock.
    static constexpr qint64 MaxLockSize = 4096;
    // A lock from another machine older than this is taken as left behind.
    static constexpr qint64 ForeignLockLifeSecs = 24 * 60 * 60;

    explicit DocumentLock(const QString& documentPath);
    ~DocumentLock();
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

    QString lockPath() const { return m_lockPath; }
    bool isAcquired() const { return m_acquired; }

    // Writes our lock (atomically), replacing whatever lock was there, a link, pipe or device at
    // its name included (never what a link points to). False when the folder cannot be written
    // or a folder with something in it stands at the lock's name: the document is then unlocked.
    bool acquire();
    // A folder (not empty) stands where the lock belongs, so none can be written.
    bool isBlockedByFolder() const;
    // Removes the lock file when it is still ours.
    void release();

    static QString lockPathFor(const QString& documentPath);
    // Every lock file's name begins with this (the project tree hides such names).
    static QString lockFilePrefix();
    // Reads and judges the lock of a document at the moment now.
    static Reading inspect(
        const QString& documentPath, const QDateTime& now = QDateTime::currentDateTimeUtc());
    // The text of a lock file, and back; parse fails (returns false) on anything that is not one.
    // The user and host read back carry no control or bidirectional-override characters.
    static QByteArray format(const LockOwner& owner);
    static bool parse(const QByteArray& data, LockOwner* owner);

private:
    QString m_lockPath;
    LockOwner m_owner;
    bool m_acquired = false;
};
