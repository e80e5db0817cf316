#include "common/SingleInstance.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The descriptors that hold this process's locks, by name. The lock lives as
// long as its descriptor is open.
QHash<QString, int>& HeldLocks() {
    static QHash<QString, int> Held;
    return Held;
}

// Close-on-exec: the game we start must not inherit the lock and keep it. A
// link in the lock's place is not followed: it could lead anywhere.
constexpr int CLockFlags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW;

// $XDG_RUNTIME_DIR; empty when it is not set.
QString RuntimeFolder() {
    return QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
}

// The lock's folder when there is no runtime folder: one in the shared /tmp
// that only this user may enter.
QString OwnFolderPath() {
    return QStringLiteral("/tmp/quorvane-%1").arg(::getuid());
}

// A descriptor of that folder, made when missing; -1 when its place is taken
// by anything else (a link, a file, a folder of another user), where others
// could hold the lock. Judged by what was opened, so nothing can be swapped
// in between. A folder of the user's that others may enter is narrowed.
int OpenOwnFolder() {
    const QByteArray Path = QFile::encodeName(OwnFolderPath());
    if (::mkdir(Path.constData(), 0700) != 0 && errno != EEXIST)
        return -1;
    const int Fd = ::open(Path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (Fd < 0)
        return -1;
    struct stat Folder;
    if (::fstat(Fd, &Folder) != 0 || !S_ISDIR(Folder.st_mode) || Folder.st_uid != ::geteuid() ||
        ((Folder.st_mode & 07777) != 0700 && ::fchmod(Fd, 0700) != 0)) {
        ::close(Fd);
        return -1;
    }
    return Fd;
}

// The lock file, made when missing; -1 when it cannot be had.
int OpenLockFile(const QString& Name) {
    if (!RuntimeFolder().isEmpty())
        return ::open(QFile::encodeName(SingleInstanceLockPath(Name)).constData(), CLockFlags,
                      0600);
    const int Folder = OpenOwnFolder();
    if (Folder < 0)
        return -1;
    const int Fd = ::openat(Folder, QFile::encodeName(Name).constData(), CLockFlags, 0600);
    ::close(Folder);
    // One planted while the folder was open to others is not ours to trust.
    struct stat File;
    if (Fd >= 0 && (::fstat(Fd, &File) != 0 || File.st_uid != ::geteuid())) {
        ::close(Fd);
        return -1;
    }
    return Fd;
}
} // namespace

QString SingleInstanceLockPath(const QString& Name) {
    const QString Runtime = RuntimeFolder();
    return (Runtime.isEmpty() ? OwnFolderPath() : Runtime) + u'/' + Name;
}

bool AcquireSingleInstance(const QString& Name) {
    const int Fd = OpenLockFile(Name);
    if (Fd < 0)
        return true;
    if (::flock(Fd, LOCK_EX | LOCK_NB) != 0) {
        const bool Held = errno == EWOULDBLOCK;
        ::close(Fd);
        return !Held;
    }
    HeldLocks().insert(Name, Fd);
    return true; // the descriptor stays open, and the lock held, until released
}

void ReleaseSingleInstance(const QString& Name) {
    const auto Held = HeldLocks().constFind(Name);
    if (Held == HeldLocks().cend())
        return;
    ::close(*Held);
    HeldLocks().erase(Held);
}
