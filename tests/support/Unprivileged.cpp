#include "support/Unprivileged.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <exception>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString Errno(const char* What) {
    return QStringLiteral("%1: %2").arg(QLatin1String(What),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// Sends Text to the parent and ends the child without running the test
// program's exit handlers.
[[noreturn]] void Reply(int Fd, const QString& Text, int Code) {
    const QByteArray Bytes = Text.toUtf8();
    qsizetype Done = 0;
    while (Done < Bytes.size()) {
        const ssize_t N = ::write(Fd, Bytes.constData() + Done, size_t(Bytes.size() - Done));
        if (N <= 0)
            break;
        Done += N;
    }
    ::_exit(Code);
}

} // namespace

QString RunUnprivileged(const std::function<QString()>& Action, const QStringList& Paths) {
    if (::geteuid() != 0)
        return Action();
    for (const QString& Path : Paths)
        if (::chown(QFile::encodeName(Path).constData(), CNobody, CNobody) != 0)
            return Errno("chown");

    int Pipe[2];
    if (::pipe(Pipe) != 0)
        return Errno("pipe");
    const pid_t Child = ::fork();
    if (Child < 0)
        return Errno("fork");
    if (Child == 0) {
        ::close(Pipe[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(CNobody) != 0 || ::setuid(CNobody) != 0)
            Reply(Pipe[1], Errno("dropping to nobody"), 2);
        // Whatever happens, the child must not go back into the test program.
        try {
            Reply(Pipe[1], Action(), 0);
        } catch (const std::exception& E) {
            Reply(Pipe[1], QStringLiteral("exception: ") + QString::fromUtf8(E.what()), 3);
        } catch (...) {
            Reply(Pipe[1], QStringLiteral("exception"), 3);
        }
    }
    ::close(Pipe[1]);
    QByteArray Answer;
    char Buffer[4096];
    ssize_t N;
    while ((N = ::read(Pipe[0], Buffer, sizeof Buffer)) != 0) {
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            break;
        Answer.append(Buffer, N);
    }
    ::close(Pipe[0]);
    int Status = 0;
    while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
        return QStringLiteral("the unprivileged child failed (status %1): %2")
            .arg(Status)
            .arg(QString::fromUtf8(Answer));
    return QString::fromUtf8(Answer);
}
