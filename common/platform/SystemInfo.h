#pragma once

#include <QString>

// What the operating system says about processes, users and file systems.
namespace SystemInfo {
// True while a process of this id runs on this machine (also one of another user).
bool isProcessRunning(qint64 pid);
// The id of this process.
qint64 currentProcessId();
// The login name of the user running this process; never empty.
QString currentUserName();
// True when the path lies on a file system shared over a network (NFS, SMB/CIFS, a user-space
// file system such as sshfs, 9p and the like), where change notification does not see what
// other machines do.
bool isOnNetworkFileSystem(const QString& path);

// A folder only this user can reach, for the program's sockets: $XDG_RUNTIME_DIR when it is
// such a folder, otherwise one of our own in the temporary folder (made with mode 0700). Empty
// when neither can be had (someone else owns the name of ours): then nothing is shared there.
QString privateRuntimeFolder();
// The user id of the process at the other end of a connected local socket; -1 when unknown.
qint64 peerUserId(qintptr socketDescriptor);
qint64 currentUserId();
} // namespace SystemInfo
