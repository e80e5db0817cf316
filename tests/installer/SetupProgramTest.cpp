// The real qvrsetup: a second start beside a held lock, and the whole road
// from its own payload to a running launcher in a folder whose name holds a
// blank, with the shortcuts on the user's desktop and menu.

#include "SetupTestUtil.h"

#include "common/FileSystem.h"
#include "common/ShellOpen.h"
#include "installer/WinDirs.h"
#include "installer/mxStorage.h"
#include "installer/qvs_Main.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "support/WaitUntil.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <csignal>

using namespace SetupTest;

namespace {

const QString CSetup = QStringLiteral(QVRSETUP_PATH);

// The process whose program file is Program, or 0.
pid_t ProcessOf(const QString& Program) {
    const QString Wanted = QFileInfo(Program).canonicalFilePath();
    for (const QString& Entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool Ok = false;
        const pid_t Pid = Entry.toInt(&Ok);
        if (Ok && QFileInfo(QStringLiteral("/proc/%1/exe").arg(Pid)).symLinkTarget() == Wanted)
            return Pid;
    }
    return 0;
}

TEST(SetupProgram, ASecondStartWhileTheLockIsHeldEndsAtOnce) {
    TRuntimeDirScope Runtime;
    ASSERT_TRUE(AcquireSingleInstance(CInstanceName)); // as a running launcher does
    QProcess Setup;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Runtime.Path());
    Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    Setup.setProcessEnvironment(Env);
    Setup.start(CSetup, {});
    ASSERT_TRUE(Setup.waitForFinished(10000));
    EXPECT_EQ(Setup.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Setup.exitCode(), 0);
    EXPECT_EQ(Setup.readAllStandardOutput(), "");
    EXPECT_EQ(Setup.readAllStandardError(), "");
}

TEST(SetupProgram, InstallsItsPayloadAndStartsTheLauncherFromTheInstallFolder) {
    TRuntimeDirScope Runtime;
    ASSERT_TRUE(AcquireSingleInstance(CInstanceName)); // as the installer's entry does
    QDir().mkpath(TestRoot() + "/home/Desktop");
    QTemporaryDir Tmp;
    const QString Install = Tmp.path() + "/My Games/Quorvane Beta";
    const QString Stage = QStringLiteral(QVR_STAGE_DIR);
    // No audio server: the launcher goes on without one.
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane Installer"));

    TScriptedDialogs Dialogs;
    TShellStarter Starter;
    const TWindowsInfo Folders;
    TInstallerServices Services;
    Services.Dialogs = &Dialogs;
    Services.Starter = &Starter;
    Services.Folders = &Folders;
    Services.ProgramFile = CSetup;
    Services.ReleaseInstance = [] { ReleaseSingleInstance(CInstanceName); };
    {
        TfrmMain Window(Services);
        ASSERT_FALSE(Window.Terminated());
        Window.show();
        Window.findChild<QLineEdit*>("edInstallDir")->setText(QvrFs::WinPathOfHost(Install));
        for (const char* Button : {"btnContinue", "btnContinue", "btnInstall", "btnContinue"})
            Window.findChild<QPushButton*>(Button)->click();
        EXPECT_EQ(Dialogs.Shown().size(), 0);
        EXPECT_FALSE(Window.isVisible());
    }
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));

    // The program folder the launcher reads.
    EXPECT_TRUE(QFileInfo(Install + "/qvr").isExecutable());
    EXPECT_TRUE(QFileInfo(Install + "/libbass.so").isFile());
    EXPECT_EQ(ReadHostFile(Install + "/Languages/English.lang"),
              ReadHostFile(Stage + "/Languages/English.lang"));
    EXPECT_EQ(ReadHostFile(Install + "/Presets.ini"), ReadHostFile(Stage + "/Presets.ini"));

    // The shortcuts start it from there.
    const QByteArray Entry = "[Desktop Entry]\nType=Application\nName=Quorvane v1.2\nExec=\"" +
                             Install.toUtf8() + "/qvr\"\nPath=" + Install.toUtf8() + "\n";
    EXPECT_EQ(ReadHostFile(TestRoot() + "/data/applications/Quorvane v1.2.desktop"), Entry);
    EXPECT_EQ(ReadHostFile(TestRoot() + "/home/Desktop/Quorvane v1.2.desktop"), Entry);
    EXPECT_TRUE(QFileInfo(TestRoot() + "/home/Desktop/Quorvane v1.2.desktop").isExecutable());

    // The launcher runs, in the install folder, on the library beside it, and
    // holds the lock that the installer let go of.
    pid_t Launcher = 0;
    ASSERT_TRUE(WaitUntil([&] { return (Launcher = ProcessOf(Install + "/qvr")) != 0; }));
    EXPECT_TRUE(WaitUntil([] { return !LockIsFree(CInstanceName); }));
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/cwd").arg(Launcher)).symLinkTarget(),
              QFileInfo(Install).canonicalFilePath());
    EXPECT_TRUE(ReadHostFile(QStringLiteral("/proc/%1/maps").arg(Launcher))
                    .contains(QFileInfo(Install + "/libbass.so").canonicalFilePath().toUtf8()));
    ::kill(Launcher, SIGKILL);
    // Only the launcher held it: this process let go of it for the launcher.
    EXPECT_TRUE(WaitUntil([] { return LockIsFree(CInstanceName); }));
    QDir(TestRoot() + "/home/Desktop").removeRecursively();
    QDir(TestRoot() + "/data/applications").removeRecursively();
}

} // namespace
