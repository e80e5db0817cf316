#include "common/ShellOpen.h"

#include "common/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

bool IsBlank(QChar C) {
    return C == u' ' || C == u'\t';
}

bool IsAbsoluteWinPath(const QString& Path) {
    if (Path.startsWith(u'\\') || Path.startsWith(u'/'))
        return true;
    return Path.size() >= 2 && Path[1] == u':' && Path[0].unicode() < 128 && Path[0].isLetter();
}

QString JoinWinPath(const QString& Dir, const QString& File) {
    if (Dir.endsWith(u'\\') || Dir.endsWith(u'/') || Dir.endsWith(u':'))
        return Dir + File;
    return Dir + u'\\' + File;
}

bool IsWindowsExecutable(const QString& HostFile) {
    QFile F(HostFile);
    return F.open(QIODevice::ReadOnly) && F.read(2) == "MZ";
}

// After fork only async-signal-safe calls are allowed (the launcher has other
// threads), so everything the child needs is made ready before.
struct TExecImage {
    QByteArray Program;
    QByteArray WorkDir; // empty: the launcher's own
    std::vector<QByteArray> Args;
    std::vector<char*> Argv;
    int MaxFd = 0;
};

[[noreturn]] void FailChild(int ErrFd) {
    const int Err = errno;
    [[maybe_unused]] const ssize_t N = ::write(ErrFd, &Err, sizeof Err);
    ::_exit(127);
}

// Closes every descriptor from First on. Descriptors opened elsewhere without
// close-on-exec would otherwise reach the program and outlive the launcher.
void CloseFrom(int First, int MaxFd) {
    if (::close_range(static_cast<unsigned>(First), ~0U, 0) == 0)
        return;
    for (int Fd = First; Fd < MaxFd; ++Fd)
        ::close(Fd);
}

// Runs in the grandchild: a fresh signal state, the working folder, no
// inherited descriptors but 0-2 and the error pipe, then the program.
[[noreturn]] void ExecGrandchild(const TExecImage& Image, int ErrFd) {
    sigset_t Empty;
    ::sigemptyset(&Empty);
    ::sigprocmask(SIG_SETMASK, &Empty, nullptr);
    struct sigaction Default = {};
    Default.sa_handler = SIG_DFL;
    for (int Sig = 1; Sig < NSIG; ++Sig)
        if (Sig != SIGKILL && Sig != SIGSTOP)
            ::sigaction(Sig, &Default, nullptr);

    if (ErrFd != 3) {
        if (::dup3(ErrFd, 3, O_CLOEXEC) < 0)
            FailChild(ErrFd);
        ErrFd = 3;
    }
    CloseFrom(4, Image.MaxFd);
    if (!Image.WorkDir.isEmpty() && ::chdir(Image.WorkDir.constData()) != 0)
        FailChild(ErrFd);
    ::execve(Image.Program.constData(), Image.Argv.data(), environ);
    FailChild(ErrFd);
}

// Double fork: the program is re-parented at once, so it never becomes a
// zombie of ours, and setsid gives it a session of its own. The error pipe is
// close-on-exec; it reads empty when the program was started, else it carries
// the errno of the step that failed. Returns 0, or that errno.
int StartDetached(TExecImage& Image) {
    for (QByteArray& A : Image.Args)
        Image.Argv.push_back(A.data());
    Image.Argv.push_back(nullptr);
    struct rlimit Limit = {};
    Image.MaxFd = ::getrlimit(RLIMIT_NOFILE, &Limit) == 0 && Limit.rlim_cur != RLIM_INFINITY
                      ? static_cast<int>(qMin<rlim_t>(Limit.rlim_cur, 1 << 20))
                      : 1 << 16;

    int Pipe[2];
    if (::pipe2(Pipe, O_CLOEXEC) != 0)
        return errno;
    const pid_t Child = ::fork();
    if (Child == 0) {
        ::close(Pipe[0]);
        ::setsid();
        const pid_t Grandchild = ::fork();
        if (Grandchild == 0)
            ExecGrandchild(Image, Pipe[1]);
        if (Grandchild < 0)
            FailChild(Pipe[1]);
        ::_exit(0);
    }
    ::close(Pipe[1]);
    if (Child < 0) {
        const int Err = errno;
        ::close(Pipe[0]);
        return Err;
    }
    while (::waitpid(Child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int Err = 0;
    ssize_t N;
    do
        N = ::read(Pipe[0], &Err, sizeof Err);
    while (N < 0 && errno == EINTR);
    ::close(Pipe[0]);
    return N == 0 ? 0 : N == sizeof Err ? Err : EIO;
}

// Fails with a reason, when one is asked for.
bool Fail(QString* Why, const QString& Reason) {
    if (Why)
        *Why = Reason;
    return false;
}

} // namespace

QStringList SplitWindowsCommandLine(const QString& CommandLine) {
    QStringList Result;
    const qsizetype Size = CommandLine.size();
    qsizetype I = 0;
    for (;;) {
        while (I < Size && IsBlank(CommandLine[I]))
            ++I;
        if (I >= Size)
            return Result;
        QString Arg;
        bool Quoted = false;
        while (I < Size) {
            qsizetype Slashes = 0;
            while (I < Size && CommandLine[I] == u'\\') {
                ++Slashes;
                ++I;
            }
            if (I < Size && CommandLine[I] == u'"') {
                Arg.append(QString(Slashes / 2, u'\\'));
                if (Slashes % 2 == 1 || (Quoted && I + 1 < Size && CommandLine[I + 1] == u'"')) {
                    Arg.append(u'"'); // escaped, or "" inside a quoted run
                    I += Slashes % 2 == 1 ? 1 : 2;
                } else {
                    Quoted = !Quoted;
                    ++I;
                }
                continue;
            }
            Arg.append(QString(Slashes, u'\\'));
            if (I >= Size || (!Quoted && IsBlank(CommandLine[I])))
                break;
            Arg.append(CommandLine[I++]);
        }
        Result.append(Arg);
    }
}

bool TShellStarter::ShellOpen(const QString& WinFile, const QString& Params,
                              const QString& WinWorkDir, QString* Why) {
    if (WinFile.isEmpty())
        return Fail(Why, QStringLiteral("no program was named"));
    TExecImage Image;
    if (!WinWorkDir.isEmpty()) {
        const QFileInfo Dir(QvrFs::HostPath(WinWorkDir));
        if (!Dir.isDir())
            return Fail(Why, QStringLiteral("its folder was not found"));
        Image.WorkDir = QFile::encodeName(Dir.absoluteFilePath());
    }
    const QString WinPath = IsAbsoluteWinPath(WinFile) || WinWorkDir.isEmpty()
                                ? WinFile
                                : JoinWinPath(WinWorkDir, WinFile);
    const QFileInfo File(QvrFs::HostPath(WinPath));
    if (!File.isFile())
        return Fail(Why, QStringLiteral("the program was not found"));
    const QString Host = File.absoluteFilePath();

    QStringList Args = SplitWindowsCommandLine(Params);
    QString Program;
    if (IsWindowsExecutable(Host)) {
        Program = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (Program.isEmpty())
            return Fail(Why, QStringLiteral("wine is not installed"));
        Args.prepend(Host);
    } else {
        if (!File.isExecutable())
            return Fail(Why, QStringLiteral("the program is not executable"));
        Program = Host;
    }
    Args.prepend(Program);
    Image.Program = QFile::encodeName(Program);
    for (const QString& A : Args)
        Image.Args.push_back(QFile::encodeName(A));
    const int Err = StartDetached(Image);
    return Err == 0 || Fail(Why, QString::fromLocal8Bit(std::strerror(Err)));
}
