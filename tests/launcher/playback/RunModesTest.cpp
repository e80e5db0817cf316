// The run panel through the real window: the mode buttons and each mode's
// script, command line, log and start of the game.
#include "RunFixture.h"

#include "common/ProfileFile.h"

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
    } Cases[] = {{"MONITOR of game", 1}, {"", 0}, {"Line In", 0}};
    for (const auto& C : Cases) {
        // The device's first input is on, so start-up selects it.
        Bass.Inputs = {{"Microphone", true, 40}, {"Monitor of Game", false, 70}};
        MakeGame();
        WriteConfigured();
        Start();
        Dialogs.Clear();
        auto* Source = Find<QComboBox>("edSource");
        ASSERT_EQ(Source->currentIndex(), 0);
        // Stored after start-up, as the settings OK stores it.
        Window->SettingsIni().WriteString("AUDIO", "src", C.Stored);
        ChooseMode("btnPlayWithCam");
        Find<QCheckBox>("cbCaptureSound")->setChecked(true);
        ChooseFiles();
        FLogMark = LogMark();
        Bass.Calls.clear();
        Run();
        SCOPED_TRACE(C.Stored);
        EXPECT_EQ(Source->currentIndex(), C.Selected);
        // Selection only: no input is switched and nothing is recorded until
        // the watch sees the game.
        EXPECT_EQ(Bass.Calls, QStringList());
        EXPECT_EQ(Bass.OnInputs(), QList<int>{0});
        EXPECT_FALSE(Window->Sound().CapturingSound());
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
                 // A camera kept in a project's folder.
                 {"bf2", "Intro\\cam1", "Intro\\cam1.bf2cam"},
                 // The current mod's Demos folder, not the demo's project. (The
                 // name's own rule is tried on its own.)
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
        // Typed names that would break the script's line or climb out of the
        // Demos folder are refused like missing ones.
        {"btnPlayRecCam", CDemo, "", "cam\ndemo.cameraMode user", "",
         "Please enter a name for your new camera", "edCamName"},
        {"btnPlayRecCam", CDemo, "", "Intro\\..\\..\\cam", "",
         "Please enter a name for your new camera", "edCamName"},
        {"btnRender", CDemo, CCam, "", "clip\r", "Please enter a name for your new video.",
         "edVideoName"},
        {"btnRender", CDemo, CCam, "", "\\clip", "Please enter a name for your new video.",
         "edVideoName"},
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
