// The file associations through the window, as a Linux desktop reads them:
// after OK with "Associate demo files" ticked, the desktop's own tools name
// the launcher as the program that opens both types, and opening a demo
// starts the launcher in its folder on that file.
// Each test has private data and config folders.
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace {

bool HasTool(const char* Name) {
    return !QStandardPaths::findExecutable(QLatin1String(Name)).isEmpty();
}

class DesktopAssociationTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (const char* Name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP"})
            FSaved.append({Name, qgetenv(Name)});
        qputenv("XDG_DATA_HOME", QFile::encodeName(Tmp.path() + "/data"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Tmp.path() + "/config"));
        // GIO reads the user's MIME database; without a desktop named,
        // xdg-mime would ask "file", which knows none.
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        // The launcher as the desktop starts it: a stand-in that notes its
        // working folder and arguments.
        WriteHost(Services.ProgramFile, "#!/bin/sh\npwd > \"$0.ran\"\nfor A; do echo \"$A\"; done "
                                        ">> \"$0.ran\"\n");
        QFile::setPermissions(Services.ProgramFile, QFile::ReadOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        WindowTest::TearDown();
        for (const auto& [Name, Value] : FSaved)
            if (Value.isNull())
                qunsetenv(Name);
            else
                qputenv(Name, Value);
    }

    // A desktop tool's answer, or a null string when it is not installed.
    static QString Ask(const char* Tool, const QStringList& Arguments) {
        if (!HasTool(Tool))
            return QString();
        QProcess P;
        P.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        P.start(QString::fromLatin1(Tool), Arguments);
        P.waitForFinished(60000);
        return QString::fromUtf8(P.readAllStandardOutput()).trimmed();
    }

    void TickAndPressOk() {
        MakeGame();
        WriteConfigured();
        Start();
        Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
        Find<QPushButton>("btnOk")->click();
    }

    QList<QPair<const char*, QByteArray>> FSaved;
};

TEST_F(DesktopAssociationTest, TheDesktopKnowsBothTypesAndOpensThemWithTheLauncher) {
    TickAndPressOk();
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join("|").toStdString();
    const QString Data = Tmp.path() + "/data";
    EXPECT_TRUE(QFile::exists(Data + "/applications/quorvane.desktop"));
    EXPECT_TRUE(ReadHost(Data + "/mime/packages/quorvane.xml").contains("Battlefield 2 Demo"));

    if (!HasTool("xdg-mime") || !HasTool("update-mime-database") || !HasTool("gio"))
        GTEST_SKIP() << "the desktop's tools (xdg-utils, shared-mime-info, gio) are not here";
    for (const char* Type : {"application/x-bf2demo", "application/x-bf2cam"})
        EXPECT_EQ(Ask("xdg-mime", {"query", "default", Type}), "quorvane.desktop") << Type;
    // Opening a demo as a file manager does (the type told by its name)
    // starts the launcher on it, in its own folder.
    const QString Demo = Tmp.path() + "/Final Round.bf2demo";
    WriteHost(Demo, QByteArray("\x00\x01 recorded match", 17));
    Ask("gio", {"open", Demo});
    const QString Ran = Services.ProgramFile + ".ran";
    ASSERT_TRUE(WaitUntil([&] { return ReadHost(Ran).count('\n') >= 2; })) << "not started";
    EXPECT_EQ(ReadHost(Ran), (AppHost + "\n" + Demo + "\n").toUtf8());
}

TEST_F(DesktopAssociationTest, UntickedOkWritesNothingForTheDesktop) {
    MakeGame();
    WriteConfigured();
    Start();
    Find<QPushButton>("btnOk")->click();
    EXPECT_FALSE(QFile::exists(Tmp.path() + "/data/applications/quorvane.desktop"));
    EXPECT_FALSE(QFile::exists(Tmp.path() + "/data/mime"));
}

} // namespace
