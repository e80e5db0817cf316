// The launcher program itself, started as a user would.
#include "common/SingleInstance.h"
#include "support/InstanceLock.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {
// A copy of the staged program folder, so the test owns its settings and log.
QString StageCopy(const QTemporaryDir& Tmp) {
    const QString Stage = QStringLiteral(QVR_STAGE_DIR);
    const QString Dir = Tmp.path() + "/app";
    QDir().mkpath(Dir + "/Languages");
    for (const QString& Name :
         {QStringLiteral("qvr"), QStringLiteral("libbass.so"), QStringLiteral("Presets.ini")})
        QFile::copy(Stage + "/" + Name, Dir + "/" + Name);
    for (const QString& Lang : QDir(Stage + "/Languages").entryList(QDir::Files))
        QFile::copy(Stage + "/Languages/" + Lang, Dir + "/Languages/" + Lang);
    return Dir;
}

} // namespace

TEST(Program, ASecondCopyEndsSilentlyWhileTheFirstRuns) {
    QTemporaryDir Tmp;
    const QString App = StageCopy(Tmp);
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert("QT_QPA_PLATFORM", "offscreen");
    Env.insert("PULSE_SERVER", "unix:/nonexistent"); // no audio server: start-up goes on

    QProcess First;
    First.setProcessEnvironment(Env);
    First.start(App + "/qvr", {});
    ASSERT_TRUE(First.waitForStarted());
    // The first copy holds the lock once it runs.
    ASSERT_TRUE(WaitUntil([] { return !LockIsFree(); }, 10000));

    QProcess Second;
    Second.setProcessEnvironment(Env);
    Second.start(App + "/qvr", {});
    ASSERT_TRUE(Second.waitForFinished(10000));
    EXPECT_EQ(Second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Second.exitCode(), 0);
    EXPECT_EQ(Second.readAllStandardOutput(), "");
    EXPECT_EQ(First.state(), QProcess::Running);

    First.kill();
    First.waitForFinished();
}
