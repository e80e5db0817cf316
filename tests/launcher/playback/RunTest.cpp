// The run panel through the real window: the mode buttons, the parameter
// checks, each mode's script, command line, log and start of the game, and
// the question whether the game is running.
#include "support/WaitUntil.h"
#include "support/WindowFixture.h"

#include "common/ShellOpen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <thread>

namespace {

const QString CDemo = QStringLiteral("mods\\bf2\\Demos\\Intro\\take1.bf2demo");
const QString CCam = QStringLiteral("mods\\bf2\\Demos\\Intro\\cam1.bf2cam");
const QString CParamsText = QStringLiteral("Parameters are not valid, please go through them\r"
                                           "and enter valid entries before running BF2 again.");

QByteArray Crlf(const QStringList& Lines) {
    QByteArray Data;
    for (const QString& L : Lines)
        Data += L.toUtf8() + "\r\n";
    return Data;
}

// The size block and playback tail of the start-up values.
const QStringList CSize = {"demo.renderwidth 800", "demo.renderheight 600",
                           "demo.renderfieldofview 90", "demo.renderfps 30"};
const QStringList CTail = {"demo.synccameraanddemo 1", "demo.timedemo 0",
                           "demo.renderstats 0",       "demo.vtuneFrame -1 ",
                           "demo.vtuneRendering 0",    "demo.vtuneRepeatCount 1"};

} // namespace

class RunTest : public WindowTest {
protected:
    // A configured launcher with the game, showing the run page, with bf2 or
    // the given mod as the current mod.
    void StartReady(const QByteArray& Mod = "bf2") {
        MakeGame();
        WriteConfigured("defaultmod=" + Mod + "\r\n");
        Start();
        Dialogs.Clear();
        FLogMark = ConsoleLines().size();
    }
    void ChooseMode(const char* Button) {
        auto* B = Find<QToolButton>(Button);
        ASSERT_TRUE(B->isVisible()) << Button;
        B->click();
    }
    void SetText(const char* Edit, const QString& Text) { Find<QLineEdit>(Edit)->setText(Text); }
    void ChooseFiles(const QString& Demo = CDemo, const QString& Cam = CCam) {
        SetText("edSelDemo", Demo);
        SetText("edSelCam", Cam);
    }
    void Run() {
        auto* B = Find<QPushButton>("btnRun");
        ASSERT_TRUE(B->isVisible() && B->isEnabled());
        B->click();
    }
    QByteArray Script() { return ReadHost(GameHost + "/quorvane.con"); }
    QStringList ConsoleLines() {
        return Find<QPlainTextEdit>("edConsole")->toPlainText().split('\n');
    }
    // The log lines since StartReady, without their time stamps.
    QStringList NewLog() {
        QStringList Lines;
        for (const QString& L : ConsoleLines().mid(FLogMark))
            Lines << L.mid(L.indexOf("] ") + 2);
        return Lines;
    }
    bool IsRed(const char* Label) {
        return Find<QLabel>(Label)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    }
    bool IsNormal(const char* Label) {
        QLabel* L = Find<QLabel>(Label);
        return L->palette().color(QPalette::WindowText) ==
               L->parentWidget()->palette().color(QPalette::WindowText);
    }
    // The starts asked for, as "file|params|folder".
    QStringList Starts() {
        QStringList R;
        for (const QStringList& S : Starter.Started)
            R << S.join('|');
        return R;
    }
    QString StartOf(const QString& Params) { return "BF2.exe|" + Params + "|" + GameDir; }

    qsizetype FLogMark = 0;
};

// ---------------------------------------------------------------- modes

TEST_F(RunTest, EachModeButtonSetsThePanel) {
    StartReady();
    // Start-up: mode 0 with its button down.
    EXPECT_EQ(Window->RunPanel().RunMode(), rmPlayUserCam);
    EXPECT_TRUE(Find<QToolButton>("btnPlayNoCam")->isChecked());
    EXPECT_TRUE(Find<QLabel>("laPlayDemoUserCam")->font().bold());
    EXPECT_FALSE(Find<QLineEdit>("edSelCam")->isEnabled());

    const char* Labels[] = {"laPlayDemoUserCam",   "laPlayDemoRecordedCam",
                            "laPlayDemoRecordCam", "laRenderVideo",
                            "laTimeDemo",          "laSingleplayer"};
    const struct {
        const char* Button;
        int Mode;
        int Label; // index into Labels
        bool SelDemo, SelCam, CamName, VideoName, RenderStats, CaptureSound, Maps;
    } Cases[] = {
        {"btnPlayWithCam", 1, 1, true, true, false, false, false, true, false},
        {"btnPlayRecCam", 2, 2, true, false, true, false, false, false, false},
        {"btnRender", 3, 3, true, true, false, true, false, false, false},
        {"btnTimeDemo", 5, 4, true, true, false, false, true, false, false},
        {"btnSP", 6, 5, false, false, false, false, false, false, true},
        {"btnPlayNoCam", 0, 0, true, false, false, false, false, false, false},
        // Back from the singleplayer mode to one with a camera.
        {"btnSP", 6, 5, false, false, false, false, false, false, true},
        {"btnTimeDemo", 5, 4, true, true, false, false, true, false, false},
    };
    for (const auto& C : Cases) {
        ChooseMode(C.Button);
        SCOPED_TRACE(C.Button);
        EXPECT_EQ(Window->RunPanel().RunMode(), C.Mode);
        EXPECT_TRUE(Find<QToolButton>(C.Button)->isChecked());
        EXPECT_EQ(Find<QLineEdit>("edSelDemo")->isEnabled(), C.SelDemo);
        EXPECT_EQ(Find<QLineEdit>("edSelCam")->isEnabled(), C.SelCam);
        EXPECT_EQ(Find<QLineEdit>("edCamName")->isEnabled(), C.CamName);
        EXPECT_EQ(Find<QLineEdit>("edVideoName")->isEnabled(), C.VideoName);
        EXPECT_EQ(Find<QCheckBox>("cbRenderStats")->isEnabled(), C.RenderStats);
        EXPECT_EQ(Find<QCheckBox>("cbCaptureSound")->isEnabled(), C.CaptureSound);
        EXPECT_EQ(Find<QToolButton>("btnMaps")->isEnabled(), C.Maps);
        for (int I = 0; I < 6; ++I)
            EXPECT_EQ(Find<QLabel>(Labels[I])->font().bold(), I == C.Label) << Labels[I];
    }
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(RunTest, TicksAndTextsStayAcrossModes) {
    StartReady();
    ChooseMode("btnPlayWithCam");
    Find<QCheckBox>("cbCaptureSound")->setChecked(true);
    ChooseMode("btnPlayRecCam");
    SetText("edCamName", "MyCam");
    ChooseMode("btnPlayNoCam");
    EXPECT_TRUE(Find<QCheckBox>("cbCaptureSound")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("cbCaptureSound")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>("cbRenderStats")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("edCamName")->text(), "MyCam");
}

// ---------------------------------------------------------------- scripts and command lines

TEST_F(RunTest, PlayWithUserCameraWritesLogsAndStarts) {
    StartReady();
    ChooseFiles(CDemo, QString());
    Run();
    const QStringList Lines =
        QStringList{"demo.demoMode playback", "demo.cameraMode user", "demo.demoFile " + CDemo} +
        CSize + CTail;
    ASSERT_EQ(Lines.size(), 13);
    EXPECT_EQ(Script(), Crlf(Lines));
    const QString Params =
        "+wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 +demo quorvane.con +modPath mods/bf2";
    EXPECT_EQ(Starts(), QStringList{StartOf(Params)});
    QStringList Log{"Mode is: [Play with user camera]", "Demo config file:"};
    for (const QString& L : Lines)
        Log << "    " + L;
    Log << "-- end of demo config file"
        << "Executing BF2..."
        << "Parameters: " + Params;
    EXPECT_EQ(NewLog(), Log);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(RunTest, PlayWithRecordedCamera) {
    StartReady();
    ChooseMode("btnPlayWithCam");
    ChooseFiles();
    Run();
    const QStringList Lines = QStringList{"demo.demoMode playback", "demo.cameraMode playback",
                                          "demo.cameraFile " + CCam, "demo.demoFile " + CDemo} +
                              CSize + CTail;
    EXPECT_EQ(Script(), Crlf(Lines));
    EXPECT_EQ(Starts(), QStringList{StartOf("+wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 +modPath "
                                            "mods/bf2 +demo quorvane.con")});
    EXPECT_EQ(NewLog().value(0), "Mode is: [Play with recorded camera]");
    EXPECT_FALSE(Window->Sound().Timer1()->isActive());
}

TEST_F(RunTest, CaptureSoundSelectsTheStoredInputAndStartsTheWatch) {
    const struct {
        const char* Stored;
        int Selected; // the entry selected after the run; 0 before it
    } Cases[] = {{"game.MONITOR", 1}, {"", 0}, {"Line In", 0}};
    for (const auto& C : Cases) {
        MakeGame();
        WriteConfigured(QByteArray("[AUDIO]\r\nsrc=") + C.Stored + "\r\n");
        Start();
        Dialogs.Clear();
        auto* Source = Find<QComboBox>("edSource");
        Source->clear();
        Source->addItems({"Microphone", "game.monitor"});
        Source->setCurrentIndex(0);
        int Changes = 0;
        QObject::connect(Source, &QComboBox::currentIndexChanged, [&] { ++Changes; });
        ChooseMode("btnPlayWithCam");
        Find<QCheckBox>("cbCaptureSound")->setChecked(true);
        ChooseFiles();
        FLogMark = ConsoleLines().size();
        Run();
        SCOPED_TRACE(C.Stored);
        EXPECT_EQ(Source->currentIndex(), C.Selected);
        // Selection only: the change-of-input handler is not run.
        EXPECT_EQ(Changes, 0);
        EXPECT_TRUE(Window->Sound().Timer1()->isActive());
        EXPECT_EQ(NewLog().value(0), "Mode is: [Play and capture sound]");
        EXPECT_EQ(Starter.Started.size(), 1);
        Starter.Started.clear();
        Window.reset();
    }
}

TEST_F(RunTest, RecordCameraCompletesTheNameWhereTheUserSeesIt) {
    const struct {
        const char* Mod;
        const char* Typed;
        const char* Name;
    } Cases[] = {{"bf2", "MyCam", "MyCam.bf2cam"},
                 {"bf2", "MyCam.BF2CAM", "MyCam.BF2CAM.bf2cam"},
                 {"bf2", "done.bf2cam", "done.bf2cam"},
                 // The current mod's Demos folder, not the demo's project.
                 {"xpack", "MyCam", "MyCam.bf2cam"}};
    for (const auto& C : Cases) {
        StartReady(C.Mod);
        ChooseMode("btnPlayRecCam");
        ChooseFiles(CDemo, QString());
        SetText("edCamName", C.Typed);
        Run();
        SCOPED_TRACE(C.Typed);
        EXPECT_EQ(Find<QLineEdit>("edCamName")->text(), C.Name);
        const QStringList Lines =
            QStringList{"demo.demoMode playback", "demo.cameraMode record",
                        QString("demo.cameraFile mods\\%1\\Demos\\%2").arg(C.Mod, C.Name),
                        "demo.demoFile " + CDemo} +
            CSize + QStringList{"demo.synccameraanddemo 1"};
        EXPECT_EQ(Script(), Crlf(Lines));
        EXPECT_EQ(Starts(),
                  QStringList{StartOf(QString("+wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 "
                                              "+noSound 1 +skipMips 10 +modPath mods/%1 "
                                              "+demo quorvane.con")
                                          .arg(C.Mod))});
        EXPECT_EQ(NewLog().value(0), "Mode is: [Play and record camera]");
        Starter.Started.clear();
        Window.reset();
    }
}

TEST_F(RunTest, RenderVideoAsksThenWritesIntoTheBf2DemosFolder) {
    const struct {
        const char* Typed;
        const char* RenderLine;
    } Cases[] = {{"clip", "demo.renderfile mods\\bf2\\Demos\\clip.avi"},
                 {"clip.avi", "demo.renderfile mods\\bf2\\Demos\\clip.avi.avi"}};
    for (const auto& C : Cases) {
        StartReady("xpack");
        ChooseMode("btnRender");
        ChooseFiles();
        SetText("edVideoName", C.Typed);
        Dialogs.QueueYesNo(true);
        Run();
        SCOPED_TRACE(C.Typed);
        ASSERT_EQ(Dialogs.Shown().size(), 1);
        EXPECT_EQ(Dialogs.Shown()[0].What, TShownDialog::Question);
        EXPECT_TRUE(Dialogs.Shown()[0].Text.startsWith(
            "Render Video: Battlefield 2 will generate a complete AVI file"));
        EXPECT_TRUE(
            Dialogs.Shown()[0].Text.contains("length of your demo.\r\rOnce the map has loaded"));
        EXPECT_TRUE(Dialogs.Shown()[0].Text.contains(
            "commence the rendering process.\r\rRemember, if you need to stop"));
        const QStringList Lines = QStringList{"demo.demoMode render",
                                              "demo.cameraMode playback",
                                              "demo.cameraFile " + CCam,
                                              "demo.demoFile " + CDemo,
                                              C.RenderLine,
                                              "demo.rendercompressed 1",
                                              "demo.renderpanorama 0",
                                              "demo.numpanoramaslices 0"} +
                                  CSize + QStringList{"demo.synccameraanddemo 1"};
        EXPECT_EQ(Script(), Crlf(Lines));
        EXPECT_EQ(Starts(),
                  QStringList{StartOf("+wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 "
                                      "+noSound 1 +modPath mods/xpack +demo quorvane.con")});
        EXPECT_EQ(NewLog().value(0), "Mode is: [Render to video]");
        Starter.Started.clear();
        Window.reset();
    }
}

TEST_F(RunTest, RenderVideoAnsweredNoWritesNothing) {
    StartReady();
    WriteHost(GameHost + "/quorvane.con", "earlier run\r\n");
    ChooseMode("btnRender");
    ChooseFiles();
    SetText("edVideoName", "clip");
    Dialogs.QueueYesNo(false);
    Run();
    EXPECT_EQ(Script(), "earlier run\r\n");
    EXPECT_TRUE(Starter.Started.isEmpty());
    EXPECT_TRUE(NewLog().isEmpty());
    EXPECT_EQ(Dialogs.Beeps(), 0);
}

TEST_F(RunTest, TimeDemoAsksOnlyWithStatsAndAfterTheWrite) {
    StartReady();
    ChooseMode("btnTimeDemo");
    ChooseFiles();
    ASSERT_TRUE(Find<QCheckBox>("cbRenderStats")->isChecked());
    Dialogs.QueueYesNo(false);
    Run();
    // Answered No: the new script stays, the game is not started.
    QStringList Lines = QStringList{"demo.demoMode playback", "demo.cameraMode playback",
                                    "demo.cameraFile " + CCam, "demo.demoFile " + CDemo} +
                        CSize + QStringList{"demo.synccameraanddemo 1", "demo.timedemo 1",
                                            "demo.renderstats 4",       "demo.vtuneFrame -1",
                                            "demo.vtuneRendering 1",    "demo.vtuneRepeatCount 3"};
    ASSERT_EQ(Lines.size(), 14);
    EXPECT_EQ(Script(), Crlf(Lines));
    EXPECT_TRUE(Starter.Started.isEmpty());
    EXPECT_TRUE(NewLog().isEmpty());
    ASSERT_EQ(Dialogs.Shown().size(), 1);
    EXPECT_TRUE(
        Dialogs.Shown()[0].Text.startsWith("Time Demo: Once the demo has finished playing"));
    EXPECT_TRUE(Dialogs.Shown()[0].Text.contains("wait for your input.\r\rUnless you're running"));
    EXPECT_TRUE(Dialogs.Shown()[0].Text.contains("about your demo.\r\rIt's safe to click"));

    // Without stats: no question (an unexpected one fails the test).
    Dialogs.Clear();
    Find<QCheckBox>("cbRenderStats")->setChecked(false);
    Run();
    Lines[10] = "demo.renderstats 0";
    EXPECT_EQ(Script(), Crlf(Lines));
    EXPECT_EQ(Starts(), QStringList{StartOf("+wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 +modPath "
                                            "mods/bf2 +demo quorvane.con")});
    EXPECT_EQ(NewLog().value(0), "Mode is: [Time Demo]");
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(RunTest, SingleplayerNeedsAnExistingLevelAndWritesNoScript) {
    StartReady();
    WriteHost(GameHost + "/quorvane.con", "earlier run\r\n");
    ChooseMode("btnSP");
    Run();
    EXPECT_EQ(Dialogs.Beeps(), 1);
    EXPECT_EQ(Dialogs.Messages(), QStringList{"[] is not a valid [bf2] map, please choose again."});

    Dialogs.Clear();
    // A map chosen whose level folder is gone by the time of the run.
    QDir().mkpath(GameHost + "/mods/bf2/Levels/kubra_dam");
    ChooseMap("kubra_dam");
    QDir(GameHost + "/mods/bf2/Levels").removeRecursively();
    Run();
    EXPECT_EQ(Dialogs.Messages(),
              QStringList{"[kubra_dam] is not a valid [bf2] map, please choose again."});
    EXPECT_TRUE(Starter.Started.isEmpty());
    EXPECT_TRUE(NewLog().isEmpty());

    Dialogs.Clear();
    QDir().mkpath(GameHost + "/mods/bf2/Levels/kubra_dam");
    Run();
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
    const QString Params = "+wx 0 +wy 0 +fullscreen 1 +szx 800 +szy 600 +loadLevel kubra_dam +ai 1 "
                           "+gameMode sp1 +modPath mods/bf2 +config singleplayer.con";
    EXPECT_EQ(Starts(), QStringList{StartOf(Params)});
    EXPECT_EQ(NewLog(), QStringList({"Mode is: [Singleplayer]", "Executing BF2...",
                                     "Parameters: " + Params}));
    EXPECT_EQ(Script(), "earlier run\r\n");
}

TEST_F(RunTest, MissingFilesAndNamesAreRefused) {
    const struct {
        const char* Button;
        QString Demo, Cam;
        const char* CamName;
        const char* VideoName;
        const char* Message;
        const char* Focus; // the edit that gets the focus, if any
    } Cases[] = {
        {"btnPlayNoCam", "", CCam, "", "",
         "Please select a Demo file before running BF2 - Try again", nullptr},
        {"btnPlayRecCam", "", CCam, "MyCam", "",
         "Please select a Demo file before running BF2 - Try again", nullptr},
        {"btnPlayRecCam", CDemo, "", "", "", "Please enter a name for your new camera",
         "edCamName"},
        {"btnPlayWithCam", CDemo, "", "", "",
         "Please select a Demo file and a Camera file before running BF2 - Try again", nullptr},
        {"btnPlayWithCam", "", CCam, "", "",
         "Please select a Demo file and a Camera file before running BF2 - Try again", nullptr},
        {"btnRender", CDemo, "", "", "clip",
         "Please select a Demo file and a Camera file before running BF2 - Try again", nullptr},
        {"btnRender", CDemo, CCam, "", "", "Please enter a name for your new video.",
         "edVideoName"},
        {"btnTimeDemo", "", CCam, "", "",
         "Please select a Demo file and a Camera file before running BF2 - Try again", nullptr},
    };
    StartReady();
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::string(C.Button) + " " + C.Message);
        Dialogs.Clear();
        Find<QPushButton>("btnRun")->setFocus();
        ChooseMode(C.Button);
        ChooseFiles(C.Demo, C.Cam);
        SetText("edCamName", C.CamName);
        SetText("edVideoName", C.VideoName);
        Run();
        ASSERT_EQ(Dialogs.Shown().size(), 2);
        EXPECT_EQ(Dialogs.Shown()[0].What, TShownDialog::Beep);
        EXPECT_EQ(Dialogs.Shown()[1].Kind, TMsgKind::Error);
        EXPECT_EQ(Dialogs.Shown()[1].Text, C.Message);
        if (C.Focus) {
            EXPECT_EQ(Window->focusWidget(), Find<QLineEdit>(C.Focus));
        }
    }
    EXPECT_TRUE(Script().isNull());
    EXPECT_TRUE(Starter.Started.isEmpty());
    EXPECT_TRUE(NewLog().isEmpty());
}

// ---------------------------------------------------------------- parameter checks

TEST_F(RunTest, EachFieldIsCheckedAgainstItsRange) {
    const struct {
        const char* Edit;
        const char* Value;
        const char* Label; // null: the field has no label of its own
        bool Valid;
    } Cases[] = {
        {"edWidth", "2048", "laWidth", true},   {"edWidth", "2049", "laWidth", false},
        {"edWidth", "5000", "laWidth", false},  {"edWidth", "0", "laWidth", true},
        {"edHeight", "1536", "laHeight", true}, {"edHeight", "1537", "laHeight", false},
        {"edHeight", "0", "laHeight", true},    {"edFPS", "200", "laFPS", true},
        {"edFPS", "201", "laFPS", false},       {"edFPS", "0", "laFPS", true},
        {"edFOV", "300", "laFOV", true},        {"edFOV", "0", "laFOV", true},
        {"edFOV", "abc", "laFOV", false},       {"edFOV", "", "laFOV", false},
        {"edFOV", "   ", "laFOV", false},       {"edFOV", "-1", "laFOV", false},
        {"edFOV", "90 ", "laFOV", false},       {"edPosX", "2048", nullptr, true},
        {"edPosX", "2049", nullptr, false},     {"edPosX", "x", nullptr, false},
        {"edPosY", "1536", nullptr, true},      {"edPosY", "1537", nullptr, false},
        {"edPosY", "0", nullptr, true},
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

TEST_F(RunTest, TheGameIsSeenRunningByItsFileName) {
    // Real processes, listed through a folder that holds only theirs, so that
    // other programs on this machine cannot change the answer.
    const QString Bin = Tmp.path() + "/bin";
    const QString Proc = Tmp.path() + "/proc";
    QDir().mkpath(Bin);
    QDir().mkpath(Proc);
    std::vector<std::unique_ptr<QProcess>> Running;
    auto Launch = [&](const QString& Name) {
        const QString Exe = Bin + "/" + Name;
        EXPECT_TRUE(QFile::copy("/bin/sleep", Exe));
        QFile::setPermissions(Exe, QFile::ReadOwner | QFile::ExeOwner);
        auto P = std::make_unique<QProcess>();
        P->start(Exe, {"60"});
        EXPECT_TRUE(P->waitForStarted()) << Name.toStdString();
        const QString Pid = QString::number(P->processId());
        EXPECT_TRUE(QFile::link("/proc/" + Pid, Proc + "/" + Pid));
        Running.push_back(std::move(P));
    };
    TProcFsProcessList Only(Proc);
    Services.Processes = &Only;

    Launch("BF2.exe.bak");
    Launch("XBF2.exe");
    Create();
    EXPECT_FALSE(Window->RunPanel().IsBF2Running());

    Launch("bf2.EXE");
    EXPECT_TRUE(Window->RunPanel().IsBF2Running());
    // The whole system's list sees it as well.
    Window.reset();
    Services.Processes = &Processes;
    Create();
    EXPECT_TRUE(Window->RunPanel().IsBF2Running());

    for (auto& P : Running) {
        P->kill();
        P->waitForFinished();
    }
    Window.reset();
    Services.Processes = &Only;
    Create();
    EXPECT_FALSE(Window->RunPanel().IsBF2Running());
}
