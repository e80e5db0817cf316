// Run through the real window and real Wine: a Windows program built here
// stands in for BF2.exe in the game folder. The game runs in the game folder,
// gets exactly the run mode's command line, and the run panel sees it running
// while it runs and not after.
#include "RunFixture.h"

#include <QStandardPaths>

namespace {

class WineRunTest : public RunTest {
protected:
    void SetUp() override {
        // The prefix the test run made (the drive letters the paths use
        // come from it, so it is named before the window's folders are).
        qputenv("WINEPREFIX", QVR_WINE_PREFIX);
        qputenv("WINEDEBUG", "-all");
        qunsetenv("DISPLAY");
        RunTest::SetUp();
        Services.Starter = &FStarter;
    }
    void TearDown() override {
        // A game left waiting by a failed check ends now.
        if (QFile::exists(GameHost + "/BF2.exe")) {
            WriteHost(GameHost + "/quit", "");
            WaitUntil([&] { return !GameListed(); });
        }
        RunTest::TearDown();
    }

    // Builds the stand-in into the game folder as BF2.exe.
    void BuildGame() {
        const QString Compiler = QStandardPaths::findExecutable("x86_64-w64-mingw32-gcc");
        ASSERT_FALSE(Compiler.isEmpty()) << "MinGW-w64 is not installed (scripts/install-deps.sh)";
        ASSERT_FALSE(QStandardPaths::findExecutable("wine").isEmpty()) << "Wine is not installed";
        QProcess Gcc;
        Gcc.start(Compiler, {"-O2", "-o", GameHost + "/BF2.exe",
                             QVR_SOURCE_DIR "/tests/launcher/playback/GameStandIn.c"});
        ASSERT_TRUE(Gcc.waitForFinished(60000));
        ASSERT_EQ(Gcc.exitCode(), 0) << Gcc.readAllStandardError().toStdString();
    }

    // Our game among the running programs, as the process list names it.
    bool GameListed() {
        QStringList Modules;
        Processes.ListProcessModules(Modules);
        return Modules.contains(GameHost + "/BF2.exe");
    }

    TShellStarter FStarter;
};

TEST_F(WineRunTest, TheGameRunsInItsFolderWithTheModesCommandLine) {
    StartReady();
    BuildGame();
    ChooseMode("btnPlayWithCam");
    ChooseFiles();
    Find<QCheckBox>("cbWinMode")->setChecked(true);
    Run();
    EXPECT_TRUE(Dialogs.Shown().isEmpty());

    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(GameHost + "/ran.txt"); })) << "no start";
    const QStringList Ran = QString::fromLocal8Bit(ReadHost(GameHost + "/ran.txt")).split('\n');
    ASSERT_EQ(Ran.size(), 3);
    // The game folder without its trailing backslash, as Windows gives it.
    EXPECT_EQ(Ran[0] + "\\", GameDir);
    const QString Params =
        "+wx 0 +wy 0 +fullscreen 0 +szx 800 +szy 600 +modPath mods/bf2 +demo quorvane.con";
    EXPECT_EQ(Ran[1], "\"" + GameDir + "BF2.exe\" " + Params);

    EXPECT_TRUE(GameListed());
    EXPECT_TRUE(Window->RunPanel().IsBF2Running());
    WriteHost(GameHost + "/quit", "");
    EXPECT_TRUE(WaitUntil([&] { return !GameListed(); })) << "the game did not end";
    // Another test may run a program of that name for a moment.
    EXPECT_TRUE(WaitUntil([&] { return !Window->RunPanel().IsBF2Running(); }));
}

} // namespace
