#include "launcher/platform/ProcessList.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace {

bool IsPidName(const char* Name) {
    if (!*Name)
        return false;
    for (; *Name; ++Name)
        if (*Name < '0' || *Name > '9')
            return false;
    return true;
}

// Wine's loader by file name: wine, wine32, wine64, each also as -preloader.
// Its process runs a Windows program, which the command line names.
bool IsWineLoader(std::string_view Path) {
    const size_t Slash = Path.rfind('/');
    std::string_view Name = Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
    if (Name.ends_with("-preloader"))
        Name.remove_suffix(sizeof "-preloader" - 1);
    if (!Name.starts_with("wine"))
        return false;
    for (const char C : Name.substr(4))
        if (C < '0' || C > '9')
            return false;
    return true;
}

// Wine rewrites its command line to begin with the program it runs (the
// loader drops itself); early in start-up the loader and the preloader still
// lead it. So the program is the first entry that is not a loader.
std::string_view WineProgram(std::string_view Cmdline) {
    while (!Cmdline.empty()) {
        const size_t End = Cmdline.find('\0');
        const std::string_view Arg = Cmdline.substr(0, End);
        if (!IsWineLoader(Arg))
            return Arg;
        if (End == std::string_view::npos)
            break;
        Cmdline.remove_prefix(End + 1);
    }
    return {};
}

// The target of a symbolic link; Buffer is kept between calls and grows when
// a target fills it.
bool ReadLinkAt(int DirFd, const char* Path, QByteArray& Buffer, std::string_view& Target) {
    for (;;) {
        const ssize_t N = ::readlinkat(DirFd, Path, Buffer.data(), Buffer.size());
        if (N < 0)
            return false;
        if (N < Buffer.size()) {
            Target = std::string_view(Buffer.constData(), static_cast<size_t>(N));
            return true;
        }
        if (Buffer.size() >= (1 << 20))
            return false;
        Buffer.resize(Buffer.size() * 2);
    }
}

bool ReadFileAt(int DirFd, const char* Path, QByteArray& Buffer, std::string_view& Text) {
    const int Fd = ::openat(DirFd, Path, O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return false;
    qsizetype Used = 0;
    for (;;) {
        if (Used == Buffer.size()) {
            if (Buffer.size() >= (1 << 20))
                break;
            Buffer.resize(Buffer.size() * 2);
        }
        const ssize_t N = ::read(Fd, Buffer.data() + Used, Buffer.size() - Used);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            break;
        Used += N;
    }
    ::close(Fd);
    Text = std::string_view(Buffer.constData(), static_cast<size_t>(Used));
    return true;
}

QString FromBytes(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

} // namespace

TProcFsProcessList::TProcFsProcessList(QString ProcRoot) : FProcRoot(std::move(ProcRoot)) {}

// Only the exe link is read for every process: it is the cheap part. Kernel
// threads and zombies have no exe, and another user's may not be readable;
// such processes contribute nothing. There is no limit on their number.
void TProcFsProcessList::ListProcessModules(QStringList& List) {
    DIR* Dir = ::opendir(QFile::encodeName(FProcRoot).constData());
    if (!Dir)
        return;
    const int RootFd = ::dirfd(Dir);
    QByteArray LinkBuffer(4096, Qt::Uninitialized);
    QByteArray CmdlineBuffer(4096, Qt::Uninitialized);
    char Path[NAME_MAX + 16];
    while (const dirent* Entry = ::readdir(Dir)) {
        if (!IsPidName(Entry->d_name))
            continue;
        std::snprintf(Path, sizeof Path, "%s/exe", Entry->d_name);
        std::string_view Exe;
        if (!ReadLinkAt(RootFd, Path, LinkBuffer, Exe) || Exe.empty())
            continue;
        if (Exe.ends_with(" (deleted)"))
            Exe.remove_suffix(sizeof " (deleted)" - 1);
        if (!IsWineLoader(Exe)) {
            List.append(FromBytes(Exe));
            continue;
        }
        std::snprintf(Path, sizeof Path, "%s/cmdline", Entry->d_name);
        std::string_view Cmdline;
        if (!ReadFileAt(RootFd, Path, CmdlineBuffer, Cmdline))
            continue;
        const std::string_view Program = WineProgram(Cmdline);
        if (!Program.empty())
            List.append(FromBytes(Program));
    }
    ::closedir(Dir);
}

bool IsGameModule(const QString& ModulePath) {
    static constexpr char16_t Game[] = u"BF2.EXE";
    constexpr qsizetype GameSize = sizeof Game / sizeof Game[0] - 1;
    qsizetype Start = ModulePath.size();
    while (Start > 0 && ModulePath[Start - 1] != u'\\' && ModulePath[Start - 1] != u'/' &&
           ModulePath[Start - 1] != u':')
        --Start;
    if (ModulePath.size() - Start != GameSize)
        return false;
    for (qsizetype I = 0; I < GameSize; ++I) {
        char16_t C = ModulePath[Start + I].unicode();
        if (C >= u'a' && C <= u'z')
            C = static_cast<char16_t>(C - u'a' + u'A');
        if (C != Game[I])
            return false;
    }
    return true;
}

bool IsBF2Running(IProcessList& Processes) {
    QStringList List;
    Processes.ListProcessModules(List);
    for (const QString& Module : List)
        if (IsGameModule(Module))
            return true;
    return false;
}
