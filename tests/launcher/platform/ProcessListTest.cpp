#include "launcher/platform/ProcessList.h"

#include "support/Children.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>

namespace {

std::string Show(QStringList List) {
    List.sort();
    return ("[" + List.join(QStringLiteral("|")) + "]").toStdString();
}

// A list handed in as it stands.
class TListed : public IProcessList {
public:
    explicit TListed(QStringList Entries) : FEntries(std::move(Entries)) {}
    void ListProcessModules(QStringList& List) override { List += FEntries; }

private:
    QStringList FEntries;
};

// The real list cut down to this test's own processes, so that whatever else
// runs on the machine cannot change the answer.
class TOwnProcesses : public IProcessList {
public:
    explicit TOwnProcesses(QString Tag) : FTag(std::move(Tag)) {}
    void ListProcessModules(QStringList& List) override {
        QStringList All;
        TProcFsProcessList().ListProcessModules(All);
        for (const QString& Module : All)
            if (Module.contains(FTag))
                List.append(Module);
    }

private:
    QString FTag;
};

TEST(IsGameModule, FollowsTheNameRule) {
    const struct {
        const char* Path;
        bool Game;
    } Cases[] = {
        {"BF2.exe", true},
        {"bf2.EXE", true},
        {"C:\\Games\\Battlefield 2\\BF2.exe", true},
        {"Z:/x/bf2.exe", true},
        {"/home/u/games/Bf2.ExE", true},
        {"C:BF2.EXE", true},
        {"BF2.exe.bak", false},
        {"XBF2.exe", false},
        {"C:\\Games\\BF2.exe\\", false},
        {"BF2.ex", false},
        {"", false},
        {"bf2.\xD0\x95XE", false}, // a Cyrillic capital Ie for the E
        {"\xEF\xBC\xA2"
         "F2.exe",
         false}, // a fullwidth B
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsGameModule(QString::fromUtf8(C.Path)), C.Game) << C.Path;
}

TEST(IsBF2Running, AnswersFromTheList) {
    TListed None({"/usr/bin/bash", "C:\\windows\\system32\\services.exe", "BF2.exe.bak"});
    EXPECT_FALSE(IsBF2Running(None));
    TListed Two({"/usr/bin/bash", "C:\\Games\\A\\BF2.exe", "D:\\B\\bf2.exe"});
    EXPECT_TRUE(IsBF2Running(Two));
    TListed Empty({});
    EXPECT_FALSE(IsBF2Running(Empty));
}

// A folder laid out as /proc is, for what a running system rarely shows.
class TFakeProc {
public:
    // A process, or a new state of it: its executable, command line and, for
    // the game question's memory, its start time (0: no "stat").
    void Process(const QString& Pid, const QByteArray& Exe, const QByteArray* Cmdline = nullptr,
                 int Start = 0) {
        const QString Dir = FRoot.path() + u'/' + Pid;
        QDir().mkpath(Dir);
        const QByteArray Link = QFile::encodeName(Dir + QStringLiteral("/exe"));
        ::unlink(Link.constData());
        if (!Exe.isEmpty())
            ::symlink(Exe.constData(), Link.constData());
        if (Cmdline) {
            ASSERT_TRUE(WriteHostFile(Dir + QStringLiteral("/cmdline"), *Cmdline));
        }
        if (Start > 0) {
            // A command name with parentheses and blanks, as the kernel allows.
            ASSERT_TRUE(WriteHostFile(
                Dir + QStringLiteral("/stat"),
                QByteArray(Pid.toLatin1() +
                           " (a) b (c) S 1 2 2 0 -1 4194560 10 0 0 0 3 1 0 0 20 0 "
                           "1 0 " +
                           QByteArray::number(Start) + " 2527232 500 18446744073709551615\n")));
        }
    }
    QStringList List() {
        QStringList L;
        TProcFsProcessList(FRoot.path()).ListProcessModules(L);
        return L;
    }
    QTemporaryDir FRoot;
};

TEST(TProcFsProcessList, ReadsEachKindOfProcess) {
    TFakeProc Proc;
    const QByteArray Services("C:\\windows\\system32\\services.exe\0", 34);
    const QByteArray Early("/usr/bin/wine64-preloader\0/usr/bin/wine64\0C:\\G\\BF2.exe\0+wx\0", 59);
    const QByteArray Literal("wine\0D:\\bf2.exe\0", 16);
    const QByteArray Bare("/usr/bin/wine\0", 14);
    Proc.Process("1", "/sbin/init");
    Proc.Process("2", {}); // a kernel thread: no executable
    Proc.Process("15", "/opt/game/BF2.exe (deleted)");
    Proc.Process("20", "/usr/lib/wine/wine64-preloader", &Services);
    Proc.Process("21", "/usr/bin/wine64-preloader", &Early);
    Proc.Process("22", "/usr/bin/wine", &Literal);
    Proc.Process("23", "/usr/bin/wine");          // its command line cannot be read
    Proc.Process("24", "/usr/bin/wine32", &Bare); // names no program
    Proc.Process("25", "/usr/bin/wineserver");
    Proc.Process("self", "/bin/not-a-process");
    Proc.Process("3a", "/bin/not-a-process");
    EXPECT_EQ(Show(Proc.List()),
              Show({"/sbin/init", "/opt/game/BF2.exe", "C:\\windows\\system32\\services.exe",
                    "C:\\G\\BF2.exe", "D:\\bf2.exe", "/usr/bin/wineserver"}));
}

TEST(TProcFsProcessList, SeesTheGameBeyondAThousandProcesses) {
    TFakeProc Proc;
    for (int Pid = 100; Pid < 1600; ++Pid)
        Proc.Process(QString::number(Pid), "/usr/bin/sleep");
    Proc.Process("1600", "/opt/game/bf2.exe");
    QStringList L = Proc.List();
    EXPECT_EQ(L.size(), 1501);
    TListed Listed(L);
    EXPECT_TRUE(IsBF2Running(Listed));
}

TEST(TProcFsProcessList, MissingRootListsNothing) {
    QStringList L;
    TProcFsProcessList(QStringLiteral("/nonexistent/proc")).ListProcessModules(L);
    EXPECT_TRUE(L.isEmpty());
}

// The game question remembers the game it found. Each step changes the
// processes as a running system may; the answer must stay the one a full
// listing gives at that moment.
TEST(TProcFsProcessList, GameQuestionAnswersAsAFullListing) {
    const QByteArray Starting("/usr/bin/wine64-preloader\0/usr/bin/wine64\0", 42);
    const QByteArray Loading = Starting + QByteArray("C:\\G\\BF2.exe\0", 13);
    const struct {
        const char* Step;
        const char* Pid;
        QByteArray Exe; // empty: none (ended, a zombie)
        int Start;
        bool Running;
        const QByteArray* Cmdline = nullptr;
    } Steps[] = {
        {"no game", "30", "/usr/bin/bash", 50, false},
        {"a game starts", "40", "/opt/g/BF2.exe", 100, true},
        {"its pid is reused by another program", "40", "/usr/bin/vim", 200, false},
        {"the same pid runs a game again", "40", "/opt/g/bf2.EXE", 300, true},
        {"the game execs into another program", "40", "/usr/bin/vim", 300, false},
        {"which execs into the game", "40", "/opt/g/BF2.exe", 300, true},
        {"the game ends: a zombie", "40", "", 300, false},
        {"Wine's loader starting", "50", "/usr/bin/wine64-preloader", 400, false, &Starting},
        {"its command line names the game", "50", "/usr/bin/wine64-preloader", 400, true, &Loading},
        {"the Wine game ends", "50", "", 400, false},
    };
    TFakeProc Proc;
    TProcFsProcessList List(Proc.FRoot.path());
    for (const auto& S : Steps) {
        Proc.Process(QString::fromLatin1(S.Pid), S.Exe, S.Cmdline, S.Start);
        EXPECT_EQ(List.IProcessList::IsGameRunning(), S.Running) << S.Step << " (full listing)";
        EXPECT_EQ(IsBF2Running(List), S.Running) << S.Step;
        EXPECT_EQ(IsBF2Running(List), S.Running) << S.Step << ", asked again";
    }
}

// Within a tick, a scan that found no game answers the tick's questions; a
// tick begun while another waits, and every question outside ticks, looks
// again.
TEST(TProcFsProcessList, OneScanServesATick) {
    TFakeProc Proc;
    TProcFsProcessList List(Proc.FRoot.path());
    {
        TProcessTick Tick(&List);
        EXPECT_FALSE(IsBF2Running(List));
        Proc.Process("40", "/opt/g/BF2.exe", nullptr, 100);
        EXPECT_FALSE(IsBF2Running(List));
        TProcessTick Inner(&List);
        EXPECT_TRUE(IsBF2Running(List));
    }
    Proc.Process("40", "", nullptr, 100);
    EXPECT_FALSE(IsBF2Running(List));
    Proc.Process("41", "/opt/g/BF2.exe", nullptr, 110);
    EXPECT_TRUE(IsBF2Running(List));
}

// Real child processes: copies of the sleeper under the names the tests need.
class TRunningTest : public ::testing::Test {
protected:
    QString Copy(const QString& Name, const QString& Source = QStringLiteral(QVR_SLEEPER)) {
        const QString Path = FTemp.path() + u'/' + Name;
        QDir().mkpath(QFileInfo(Path).path());
        EXPECT_TRUE(QFile::copy(Source, Path)) << Path.toStdString();
        return Path;
    }
    QString Tag() const { return QFileInfo(FTemp.path()).fileName(); }
    std::string Own() {
        QStringList L;
        FOwn.ListProcessModules(L);
        return Show(L);
    }

    QTemporaryDir FTemp;
    TChildren FChildren;
    TProcFsProcessList FProcesses;
    TOwnProcesses FOwn{Tag()};
};

TEST_F(TRunningTest, ExecutableNamedBf2IsTheGame) {
    const QString Game = Copy(QStringLiteral("bf2.EXE"));
    ASSERT_GT(FChildren.Start(Game), 0);
    EXPECT_EQ(Own(), Show({Game}));
    EXPECT_TRUE(IsBF2Running(FProcesses));
}

TEST_F(TRunningTest, LookalikesAreNotTheGame) {
    QStringList Running;
    for (const char* Name : {"BF2.exe.bak", "XBF2.exe", "sleeper"})
        ASSERT_GT(FChildren.Start(Running.emplace_back(Copy(QString::fromLatin1(Name)))), 0);
    EXPECT_EQ(Own(), Show(Running));
    EXPECT_FALSE(IsBF2Running(FOwn));
}

TEST_F(TRunningTest, WineProcessCountsByItsWindowsProgram) {
    const QString Game = QStringLiteral("C:\\Games\\%1\\BF2.exe").arg(Tag());
    const QString Other = QStringLiteral("C:\\windows\\%1\\services.exe").arg(Tag());
    const struct {
        const char* Loader;
        QStringList Argv; // "@" stands for the loader's own path
        QString Program;
    } Cases[] = {
        {"wine-preloader", {"@", Game, "+wx", "0"}, Game},
        // As Wine leaves it once started: the loader has dropped itself.
        {"wine64-preloader", {Game, "+wx", "0"}, Game},
        // Early in start-up: preloader, then loader, then the program.
        {"wine64-preloader", {"@", "/usr/lib/wine/wine64", Game, "+wx"}, Game},
        {"wine", {"@", Other}, Other},
    };
    for (const auto& C : Cases) {
        const QString Loader = Copy(QString::fromLatin1(C.Loader));
        QStringList Argv = C.Argv;
        for (QString& A : Argv)
            if (A == QLatin1String("@"))
                A = Loader;
        ASSERT_GT(FChildren.Start(Loader, Argv), 0);
        EXPECT_EQ(Own(), Show({C.Program})) << C.Loader;
        if (C.Program == Game)
            EXPECT_TRUE(IsBF2Running(FProcesses)) << C.Loader;
        else
            EXPECT_FALSE(IsBF2Running(FOwn)) << C.Loader;
        FChildren.KillAll();
        QFile::remove(Loader);
    }
}

TEST_F(TRunningTest, DeletedExecutableCountsUnderItsPath) {
    const QString Game = Copy(QStringLiteral("bf2.EXE"));
    ASSERT_GT(FChildren.Start(Game), 0);
    ASSERT_TRUE(QFile::remove(Game));
    EXPECT_EQ(Own(), Show({Game}));
    EXPECT_TRUE(IsBF2Running(FOwn));
}

TEST_F(TRunningTest, GameDeeperThanThreeHundredCharacters) {
    const QString Folder = QString(60, u'd') + u'/';
    const QString Game = Copy(Folder.repeated(6) + QStringLiteral("BF2.exe"));
    ASSERT_GT(Game.size(), 300);
    ASSERT_GT(FChildren.Start(Game), 0);
    EXPECT_EQ(Own(), Show({Game}));
    EXPECT_TRUE(IsBF2Running(FOwn));
}

TEST_F(TRunningTest, EndedGameIsNotSeenWhileAZombie) {
    const pid_t Pid = FChildren.Start(Copy(QStringLiteral("BF2.exe"), QStringLiteral("/bin/true")));
    ASSERT_GT(Pid, 0);
    QFile Stat(QStringLiteral("/proc/%1/stat").arg(Pid));
    ASSERT_TRUE(WaitUntil([&] {
        Stat.close();
        return Stat.open(QIODevice::ReadOnly) && Stat.readAll().contains(") Z ");
    }));
    EXPECT_EQ(Own(), Show({}));
}

// The game run by another user, who may not be read: the list run as an
// unprivileged user does not show it (it shows that user's own process).
TEST_F(TRunningTest, AnotherUsersGameIsNotSeen) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to start the list as another user";
    const QString Game = Copy(QStringLiteral("bf2.EXE"));
    ASSERT_GT(FChildren.Start(Game), 0);
    int Pipe[2];
    ASSERT_EQ(::pipe2(Pipe, O_CLOEXEC), 0);
    const QByteArray Lister = QFile::encodeName(QStringLiteral(QVR_LISTER));
    char* const Argv[] = {const_cast<char*>(Lister.constData()), nullptr};
    const pid_t Pid = ::fork();
    if (Pid == 0) {
        if (::dup2(Pipe[1], 1) < 0 || ::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 ||
            ::setuid(65534) != 0)
            ::_exit(126);
        ::execv(Argv[0], Argv);
        ::_exit(127);
    }
    ::close(Pipe[1]);
    QFile Out;
    ASSERT_TRUE(Out.open(Pipe[0], QIODevice::ReadOnly, QFile::AutoCloseHandle));
    const QString Listed = QString::fromUtf8(Out.readAll());
    int Status = 0;
    ::waitpid(Pid, &Status, 0);
    ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
    EXPECT_TRUE(Listed.contains(QStringLiteral(QVR_LISTER))) << Listed.toStdString();
    EXPECT_FALSE(Listed.contains(Game));
}

} // namespace

namespace {

// Whether the process has its SIGUSR1 handler in place.
bool CatchesUsr1(pid_t Pid) {
    QFile Status(QStringLiteral("/proc/%1/status").arg(Pid));
    if (!Status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& Line : Status.readAll().split('\n'))
        if (Line.startsWith("SigCgt:"))
            return (Line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGUSR1 - 1)) & 1;
    return false;
}

// The game question over this test's own processes only, asked as the
// window's timers ask it: three times in one tick.
class TGameWatchTest : public TRunningTest {
protected:
    pid_t StartWatched(const QString& Program, const QStringList& Env = {}) {
        const pid_t Pid = FChildren.Start(Program, {}, Env);
        const QString Name = QString::number(Pid);
        EXPECT_TRUE(QFile::link(QStringLiteral("/proc/") + Name, FWatched.path() + u'/' + Name));
        return Pid;
    }
    bool AskInATick() {
        TProcessTick Tick(&FList);
        const bool Running = IsBF2Running(FList);
        EXPECT_EQ(IsBF2Running(FList), Running);
        EXPECT_EQ(IsBF2Running(FList), Running);
        return Running;
    }

    QTemporaryDir FWatched;
    TProcFsProcessList FList{FWatched.path()};
};

// It keeps its pid and start time.
TEST_F(TGameWatchTest, AProcessThatExecsIntoTheGameIsSeen) {
    const QString Game = Copy(QStringLiteral("BF2.exe"));
    const pid_t Pid = StartWatched(Copy(QStringLiteral("launcher")),
                                   {QStringLiteral("QVR_SLEEPER_EXEC=") + Game});
    ASSERT_GT(Pid, 0);
    ASSERT_TRUE(WaitUntil([&] { return CatchesUsr1(Pid); }));
    EXPECT_FALSE(AskInATick());
    ASSERT_EQ(::kill(Pid, SIGUSR1), 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(Pid)) == Game; }));
    EXPECT_TRUE(AskInATick());
}

TEST_F(TGameWatchTest, AGameEndsAndANewOneStarts) {
    const QString Game = Copy(QStringLiteral("BF2.exe"));
    const pid_t First = StartWatched(Game);
    ASSERT_GT(First, 0);
    EXPECT_TRUE(AskInATick());
    FChildren.End(First);
    EXPECT_FALSE(AskInATick());
    ASSERT_GT(StartWatched(Game), 0);
    EXPECT_TRUE(AskInATick());
}

} // namespace
