#include "launcher/platform/ProcessList.h"

#include <QFile>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
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

// The module of one process: its exe link, and for Wine's loader the program
// that its command line names. The buffers are kept from one process to the
// next; a module read stays valid until the next read.
class TModuleReader {
public:
    // Process: the process's folder relative to DirFd ("1234"), or "" when
    // DirFd is that folder.
    bool Read(int DirFd, const char* Process, std::string_view& Module) {
        std::string_view Exe;
        if (!ReadLinkAt(DirFd, FileOf(Process, "exe"), FLink, Exe) || Exe.empty())
            return false;
        if (Exe.ends_with(" (deleted)"))
            Exe.remove_suffix(sizeof " (deleted)" - 1);
        if (!IsWineLoader(Exe)) {
            Module = Exe;
            return true;
        }
        std::string_view Cmdline;
        if (!ReadFileAt(DirFd, FileOf(Process, "cmdline"), FCmdline, Cmdline))
            return false;
        Module = WineProgram(Cmdline);
        return !Module.empty();
    }

private:
    const char* FileOf(const char* Process, const char* Name) {
        if (!*Process)
            return Name;
        std::snprintf(FPath, sizeof FPath, "%s/%s", Process, Name);
        return FPath;
    }

    QByteArray FLink = QByteArray(4096, Qt::Uninitialized);
    QByteArray FCmdline = QByteArray(4096, Qt::Uninitialized);
    char FPath[NAME_MAX + 16];
};

// Hands each process that could be read to Visit(pid text, module) until
// Visit answers false. Only the exe link is read for every process: it is
// the cheap part. Kernel threads and zombies have no exe, and another user's
// may not be readable; such processes are skipped. There is no limit on
// their number.
template <class TVisit> void ForEachProcess(const QByteArray& ProcRoot, TVisit Visit) {
    DIR* Dir = ::opendir(ProcRoot.constData());
    if (!Dir)
        return;
    TModuleReader Reader;
    while (const dirent* Entry = ::readdir(Dir)) {
        std::string_view Module;
        if (IsPidName(Entry->d_name) && Reader.Read(::dirfd(Dir), Entry->d_name, Module) &&
            !Visit(Entry->d_name, Module))
            break;
    }
    ::closedir(Dir);
}

// The name rule on a path's UTF-8 bytes: the game's name is plain ASCII, and
// no byte of a longer UTF-8 sequence is ASCII.
bool IsGameName(std::string_view Path) {
    static constexpr std::string_view Game = "BF2.EXE";
    const size_t Cut = Path.find_last_of("\\/:");
    const std::string_view Name = Cut == std::string_view::npos ? Path : Path.substr(Cut + 1);
    if (Name.size() != Game.size())
        return false;
    for (size_t I = 0; I < Game.size(); ++I) {
        char C = Name[I];
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
        if (C != Game[I])
            return false;
    }
    return true;
}

// Field 22 of the process's "stat": its start time in clock ticks since boot.
// The command name (field 2) is in parentheses and may hold any character, so
// the fields are counted from the last ")".
bool ReadStartTime(int ProcessFd, unsigned long long& Start) {
    char Buffer[512];
    const int Fd = ::openat(ProcessFd, "stat", O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return false;
    ssize_t N;
    do
        N = ::read(Fd, Buffer, sizeof Buffer);
    while (N < 0 && errno == EINTR);
    ::close(Fd);
    if (N <= 0)
        return false;
    std::string_view Stat(Buffer, static_cast<size_t>(N));
    const size_t Close = Stat.rfind(')');
    if (Close == std::string_view::npos)
        return false;
    Stat.remove_prefix(Close + 1);
    for (int Field = 3; Field <= 22; ++Field) {
        const size_t Begin = Stat.find_first_not_of(' ');
        if (Begin == std::string_view::npos)
            return false;
        Stat.remove_prefix(Begin);
        const size_t End = Stat.find(' ');
        // The start time is followed by more fields: a text cut short inside
        // it must not be taken for it.
        if (End == std::string_view::npos)
            return false;
        if (Field == 22) {
            const auto [Ptr, Error] = std::from_chars(Stat.data(), Stat.data() + End, Start);
            return Error == std::errc() && Ptr == Stat.data() + End;
        }
        Stat.remove_prefix(End);
    }
    return false;
}

// Whether the process whose folder is Folder runs the game, with its start
// time. Everything is read through the one open folder, which stays bound to
// that process: should it end, the reads fail even when its pid is reused.
bool ReadGameAt(const QByteArray& Folder, unsigned long long& Start) {
    const int Fd = ::open(Folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd < 0)
        return false;
    TModuleReader Reader;
    std::string_view Module;
    const bool Game = ReadStartTime(Fd, Start) && Reader.Read(Fd, "", Module) && IsGameName(Module);
    ::close(Fd);
    return Game;
}

QString FromBytes(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

} // namespace

TProcFsProcessList::TProcFsProcessList(QString ProcRoot)
    : FProcRoot(std::move(ProcRoot)), FProcRootName(QFile::encodeName(FProcRoot)) {}

void TProcFsProcessList::ListProcessModules(QStringList& List) {
    ForEachProcess(FProcRootName, [&](const char*, std::string_view Module) {
        List.append(FromBytes(Module));
        return true;
    });
}

bool TProcFsProcessList::IsGameRunning() {
    if (IsRememberedGameRunning())
        return true;
    if (FTickDepth > 0 && FNoGameThisTick)
        return false;
    const bool Running = ScanForGame();
    FNoGameThisTick = !Running && FTickDepth > 0;
    return Running;
}

void TProcFsProcessList::BeginTick() {
    ++FTickDepth;
    FNoGameThisTick = false;
}

void TProcFsProcessList::EndTick() {
    if (FTickDepth > 0)
        --FTickDepth;
    FNoGameThisTick = false;
}

// The game found last: the same process (pid and start time), still running
// the game. Forgotten as soon as it is not.
bool TProcFsProcessList::IsRememberedGameRunning() {
    if (FGamePid < 0)
        return false;
    unsigned long long Start = 0;
    const bool Running = ReadGameAt(FProcRootName + '/' + QByteArray::number(FGamePid), Start) &&
                         Start == FGameStart;
    if (!Running)
        FGamePid = -1;
    return Running;
}

// Every process in turn, up to the first that is the game, which is then
// remembered. Should it end before it is remembered, the answer is still the
// one the scan saw.
bool TProcFsProcessList::ScanForGame() {
    bool Found = false;
    ForEachProcess(FProcRootName, [&](const char* Pid, std::string_view Module) {
        if (!IsGameName(Module))
            return true;
        Found = true;
        unsigned long long Start = 0;
        if (ReadGameAt(FProcRootName + '/' + Pid, Start)) {
            FGamePid = static_cast<pid_t>(std::strtol(Pid, nullptr, 10));
            FGameStart = Start;
        }
        return false;
    });
    return Found;
}

bool IProcessList::IsGameRunning() {
    QStringList List;
    ListProcessModules(List);
    for (const QString& Module : List)
        if (IsGameModule(Module))
            return true;
    return false;
}

TProcessTick::TProcessTick(IProcessList* Processes) : FProcesses(Processes) {
    if (FProcesses)
        FProcesses->BeginTick();
}

TProcessTick::~TProcessTick() {
    if (FProcesses)
        FProcesses->EndTick();
}

bool IsGameModule(const QString& ModulePath) {
    const QByteArray Bytes = ModulePath.toUtf8();
    return IsGameName(std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size())));
}

bool IsBF2Running(IProcessList& Processes) {
    return Processes.IsGameRunning();
}
