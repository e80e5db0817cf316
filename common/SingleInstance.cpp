#include "common/SingleInstance.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
// The descriptors that hold this process's locks, by name. The lock lives as
// long as its descriptor is open.
QHash<QString, int>& HeldLocks() {
    static QHash<QString, int> Held;
    return Held;
}
} // namespace

QString SingleInstanceLockPath(const QString& Name) {
    const QByteArray Runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!Runtime.isEmpty())
        return QFile::decodeName(Runtime) + u'/' + Name;
    return QStringLiteral("/tmp/%1-%2").arg(Name).arg(::getuid());
}

bool AcquireSingleInstance(const QString& Name) {
    // Close-on-exec: the game we start must not inherit the lock and keep it.
    const int Fd = ::open(QFile::encodeName(SingleInstanceLockPath(Name)).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
