// The run panel through the real window: the parameter checks and the start
// of the game itself.
#include "RunFixture.h"

// ---------------------------------------------------------------- parameter checks

TEST_F(RunTest, EachFieldIsCheckedAgainstItsRange) {
    const struct {
        const char* Edit;
        const char* Value;
        const char* Label; // null: the field has no label of its own
        bool Valid;
    } Cases[] = {
        // Each field's limits; the whole-number and blank rules themselves
        // are tried on their own, so one text of each kind is enough here:
        // "abc" passes the blank check, whose result must not clear the red.
        {"edWidth", "2048", "laWidth", true},    {"edWidth", "2049", "laWidth", false},
        {"edWidth", "0", "laWidth", true},       {"edHeight", "1536", "laHeight", true},
        {"edHeight", "1537", "laHeight", false}, {"edHeight", "0", "laHeight", true},
        {"edFPS", "200", "laFPS", true},         {"edFPS", "201", "laFPS", false},
        {"edFPS", "0", "laFPS", true},           {"edFOV", "300", "laFOV", true},
        {"edFOV", "0", "laFOV", true},           {"edFOV", "abc", "laFOV", false},
        {"edFOV", "", "laFOV", false},           {"edPosX", "2048", nullptr, true},
        {"edPosX", "2049", nullptr, false},      {"edPosY", "1536", nullptr, true},
        {"edPosY", "1537", nullptr, false},      {"edPosY", "0", nullptr, true},
    };
    const char* Labels[] = {"laWidth", "laHeight", "laFPS", "laFOV"};
    const QStringList Edits = {"edWidth", "edHeight", "edFPS", "edFOV", "edPosX", "edPosY"};
    const QStringList Defaults = {"800", "600", "30", "90", "0", "0"};
    StartReady();
    ChooseFiles();
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::string(C.Edit) + "=[" + C.Value + "]");
        for (int I = 0; I < Edits.size(); ++I)
            Find<QLineEdit>(Edits[I].toLatin1().constData())->setText(Defaults[I]);
        SetText(C.Edit, C.Value);
        Dialogs.Clear();
        Starter.Started.clear();
        Run();
        if (C.Valid) {
            EXPECT_TRUE(Dialogs.Shown().isEmpty());
            EXPECT_EQ(Starter.Started.size(), 1);
        } else {
            EXPECT_EQ(Dialogs.Beeps(), 1);
            EXPECT_EQ(Dialogs.Messages(), QStringList{CParamsText});
            EXPECT_TRUE(Starter.Started.isEmpty());
        }
        for (const char* L : Labels) {
            const bool Red = C.Label && !C.Valid && QLatin1String(L) == QLatin1String(C.Label);
            EXPECT_EQ(IsRed(L), Red) << L;
            EXPECT_EQ(IsNormal(L), !Red) << L;
        }
    }
}

TEST_F(RunTest, SeveralBadFieldsShowOneMessageAndRecoverTheirColour) {
    StartReady();
    ChooseFiles();
    WriteHost(GameHost + "/quorvane.con", "earlier run\r\n");
    SetText("edWidth", "5000");
    SetText("edFPS", "abc");
    SetText("edFOV", "");
    SetText("edPosY", "-5");
    Run();
    EXPECT_TRUE(IsRed("laWidth"));
    EXPECT_TRUE(IsNormal("laHeight"));
    EXPECT_TRUE(IsRed("laFPS"));
    EXPECT_TRUE(IsRed("laFOV"));
    EXPECT_EQ(Dialogs.Beeps(), 1);
    EXPECT_EQ(Dialogs.Messages(), QStringList{CParamsText});
    EXPECT_EQ(Script(), "earlier run\r\n");
    EXPECT_TRUE(Starter.Started.isEmpty());
    EXPECT_TRUE(NewLog().isEmpty());

    // Corrected, the labels are back to the normal colour and the run goes on.
    Dialogs.Clear();
    SetText("edWidth", "1024");
    SetText("edFPS", "60");
    SetText("edFOV", "75");
    SetText("edPosY", "0");
    Run();
    for (const char* L : {"laWidth", "laHeight", "laFPS", "laFOV"})
        EXPECT_TRUE(IsNormal(L)) << L;
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
    EXPECT_EQ(Starter.Started.size(), 1);
    EXPECT_TRUE(Script().contains("demo.renderwidth 1024\r\n"));
}

TEST_F(RunTest, FieldsTravelAsTyped) {
    StartReady();
    ChooseFiles();
    SetText("edWidth", " 640");
    SetText("edHeight", "$1E0");
    SetText("edPosX", "+8");
    Find<QCheckBox>("cbWinMode")->setChecked(true);
    Run();
    EXPECT_TRUE(Script().contains("demo.renderwidth  640\r\ndemo.renderheight $1E0\r\n"));
    EXPECT_EQ(Starts(), QStringList{StartOf("+wx +8 +wy 0 +fullscreen 0 +szx  640 +szy $1E0 "
                                            "+demo quorvane.con +modPath mods/bf2")});
}

TEST_F(RunTest, WithoutTheGameTheRunIsRefusedAfterTheChecks) {
    WriteConfigured();
    Start();
    Dialogs.Clear();
    ChooseFiles();
    SetText("edWidth", "abc");
    Run();
    // The parameters come first.
    EXPECT_EQ(Dialogs.Messages(), QStringList{CParamsText});
    Dialogs.Clear();
    SetText("edWidth", "800");
    Run();
    EXPECT_EQ(Dialogs.Beeps(), 1);
    EXPECT_EQ(Dialogs.Messages(), QStringList{"Battlefield 2 was not found - check your settings"});
    EXPECT_TRUE(Script().isNull());
    EXPECT_TRUE(Starter.Started.isEmpty());
}

TEST_F(RunTest, AScriptThatCannotBeWrittenStopsTheRun) {
    StartReady();
    ChooseFiles();
    // A folder in the script's place cannot be replaced by a file.
    QDir().mkpath(GameHost + "/quorvane.con");
    Run();
    ASSERT_EQ(Dialogs.Messages().size(), 1);
    EXPECT_TRUE(
        Dialogs.Messages()[0].startsWith("Cannot create file \"" + GameDir + "quorvane.con\""))
        << Dialogs.Messages()[0].toStdString();
    EXPECT_EQ(Dialogs.Beeps(), 0);
    EXPECT_TRUE(NewLog().isEmpty());
    EXPECT_TRUE(Starter.Started.isEmpty());
}

// ---------------------------------------------------------------- the game itself

TEST_F(RunTest, TheGameStartsInItsFolderWithTheCommandLine) {
    TShellStarter RealStarter;
    Services.Starter = &RealStarter;
    const QString Out = Tmp.path() + "/game";
    // A stand-in for the game: records where it runs, what it was given and
    // the script it finds there.
    WriteHost(GameHost + "/BF2.exe", ("#!/bin/sh\n"
                                      "pwd > '" +
                                      Out +
                                      ".cwd'\n"
                                      "printf '%s\\n' \"$@\" > '" +
                                      Out +
                                      ".args'\n"
                                      "cp quorvane.con '" +
                                      Out +
                                      ".con'\n"
                                      "touch '" +
                                      Out + ".done'\n")
                                         .toUtf8());
    QFile::setPermissions(GameHost + "/BF2.exe",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteHost(GameHost + "/mods/bf2/mod.desc", "<version> 1.5 </version>\r\n");
    WriteConfigured();
    Start();
    Dialogs.Clear();
    ChooseMode("btnPlayWithCam");
    ChooseFiles();
    Run();
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(Out + ".done"); }))
        << "the game did not start";
    EXPECT_EQ(QString::fromUtf8(ReadHost(Out + ".cwd")).trimmed(),
              QFileInfo(GameHost).canonicalFilePath());
    EXPECT_EQ(ReadHost(Out + ".args"),
              "+wx\n0\n+wy\n0\n+fullscreen\n1\n+szx\n800\n+szy\n600\n+modPath\nmods/bf2\n"
              "+demo\nquorvane.con\n");
    EXPECT_EQ(ReadHost(Out + ".con"), Script());
    EXPECT_TRUE(ReadHost(Out + ".con").startsWith("demo.demoMode playback\r\n"));
}

TEST_F(RunTest, AGameThatCannotStartIsReported) {
    TShellStarter RealStarter;
    Services.Starter = &RealStarter;
    // A Windows program, and no wine to run it.
    const QByteArray Path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(Tmp.path()));
    StartReady();
    ChooseMode("btnPlayWithCam");
    ChooseFiles();
    Run();
    qputenv("PATH", Path);
    const QString Text = "BF2 could not be started: wine is not installed";
    EXPECT_EQ(Dialogs.Messages(), QStringList{Text});
    // The run's own lines stay, and the failure follows them.
    EXPECT_EQ(NewLog().mid(NewLog().size() - 3),
              QStringList({"Executing BF2...",
                           "Parameters: +wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 +modPath "
                           "mods/bf2 +demo quorvane.con",
                           Text}));
}
