// The capture watch through the real window: the scripted audio device hands
// sound to the recording's callback, the game runs when the test says so,
// and the capture files are real files in the game's folders.
#include "SoundWindowFixture.h"

#include "SoundFiles.h"

#include <QtEndian>

#include <functional>

namespace {

// Dialogs whose message box lets the watch tick while it is open, as a
// modal box's loop does.
class TTickingDialogs : public TScriptedDialogs {
public:
    void ShowMessage(QWidget* Owner, TMsgKind Kind, const QString& Title,
                     const QString& Text) override {
        TScriptedDialogs::ShowMessage(Owner, Kind, Title, Text);
        if (WhileOpen)
            WhileOpen();
    }
    std::function<void()> WhileOpen;
};

} // namespace

TEST_F(CaptureTest, TheFileHoldsTheHeaderAndTheSoundDeliveredWithSizesSetAtTheStop) {
    const QList<QByteArray> Deliveries[] = {{}, {Sound(4000, 1), Sound(4000, 2), Sound(12, 3)}};
    for (const QList<QByteArray>& Blocks : Deliveries) {
        StartWatching();
        const qsizetype Mark = LogMark();
        Game.Runs = true;
        Tick();
        ASSERT_TRUE(Window->Sound().CapturingSound());
        // The capture input alone on, then 16-bit stereo at 44100 Hz.
        EXPECT_EQ(Bass.OnInputs(), QList<int>{2});
        EXPECT_EQ(Bass.Calls.mid(Bass.Calls.size() - 2),
                  QStringList({"SetInput(2,20000)", "RecordStart(44100,2,0)"}));
        QByteArray Sound;
        for (const QByteArray& B : Blocks) {
            ASSERT_TRUE(Bass.Deliver(B));
            Sound += B;
        }
        Tick();
        EXPECT_TRUE(Window->Sound().CapturingSound());
        Game.Runs = false;
        Tick();
        EXPECT_FALSE(Window->Sound().CapturingSound());
        EXPECT_FALSE(Bass.Recording());
        const QByteArray File = ReadHost(Demos() + "/Intro/take1.wav");
        EXPECT_EQ(File, ExpectedHeader(Sound.size()) + Sound);
        EXPECT_EQ(LogSince(Mark), QStringList({"Sound output is: [Render to Project Directory]",
                                               "Recording sound to: [" + GameDir +
                                                   "mods\\bf2\\Demos\\Intro\\take1.wav]",
                                               "Stopped recording sound"}));
        EXPECT_TRUE(Dialogs.Shown().isEmpty());
        Window.reset();
    }
}

TEST_F(CaptureTest, TheFolderIsTheProjectShownAtTheStartOrTheOutputFolder) {
    const struct {
        const char* Project; // shown in the chooser
        bool ToOutput;
        QString File;    // host path under the game folder or the temporary folder
        QString LogPath; // Windows form
    } Cases[] = {
        {"Other", false, "/mods/bf2/Demos/Other/take1.wav", "mods\\bf2\\Demos\\Other\\take1.wav"},
        {"Unassigned", false, "/mods/bf2/Demos/take1.wav", "mods\\bf2\\Demos\\take1.wav"},
        // The output folder is made when missing.
        {"Intro", true, "/Sounds/take1.wav", "Sounds\\take1.wav"},
    };
    for (const auto& C : Cases) {
        StartWatching("src=Monitor of Game\r\n", C.Project);
        if (C.ToOutput) {
            Find<QRadioButton>("rbRenderToOutput")->setChecked(true);
            Find<QLineEdit>("edOutputDir")->setText(GameDir + "Sounds");
        }
        const qsizetype Mark = LogMark();
        Game.Runs = true;
        Tick();
        SCOPED_TRACE(C.Project);
        EXPECT_EQ(ReadHost(GameHost + C.File), ExpectedHeader(0));
        EXPECT_EQ(LogSince(Mark),
                  QStringList({C.ToOutput ? "Sound output is: [Render to Output Directory]"
                                          : "Sound output is: [Render to Project Directory]",
                               "Recording sound to: [" + GameDir + C.LogPath + "]"}));
        Window.reset();
    }
}

TEST_F(CaptureTest, EachAppearanceOfTheGameReplacesTheFileOfThatName) {
    StartWatching();
    const QString File = Demos() + "/Intro/take1.wav";
    for (const int Bytes : {8000, 400}) {
        Game.Runs = true;
        Tick();
        ASSERT_TRUE(Bass.Deliver(Sound(Bytes, 5)));
        Game.Runs = false;
        Tick();
        EXPECT_EQ(ReadHost(File), ExpectedHeader(Bytes) + Sound(Bytes, 5));
    }
    EXPECT_EQ(Count("RecordStart"), 2);
}

TEST_F(CaptureTest, ACaptureRunningAtTheEndIsCompleted) {
    StartWatching();
    Game.Runs = true;
    Tick();
    ASSERT_TRUE(Bass.Deliver(Sound(4000, 9)));
    Window.reset();
    EXPECT_EQ(ReadHost(Demos() + "/Intro/take1.wav"), ExpectedHeader(4000) + Sound(4000, 9));
    // Stopped before the library is freed, and in the log file.
    EXPECT_LT(Bass.Calls.indexOf("ChannelStop(1)"), Bass.Calls.indexOf("RecordFree"));
    EXPECT_TRUE(ReadHost(AppHost + "/Logs/QVR Log 081226 1941 v1.1.2.txt")
                    .contains("] Stopped recording sound\r\n"));
}

TEST_F(CaptureTest, AFailedStartIsReportedOnceUntilACaptureStartsOrTheGameHasGone) {
    const struct {
        const char* Name;
        std::function<void()> Break, Mend;
        QString Message;
        QByteArray Left; // what the failed start leaves in the file
    } Cases[] = {
        {"the recording", [this] { Bass.RecordOk = false; }, [this] { Bass.RecordOk = true; },
         "Couldn't start recording!", ExpectedHeader(0)},
        {"the project folder", [this] { QDir(Demos() + "/Intro").removeRecursively(); },
         [this] { QDir().mkpath(Demos() + "/Intro"); },
         "Cannot create file \"" + GameDir +
             "mods\\bf2\\Demos\\Intro\\take1.wav\". No such file "
             "or directory",
         QByteArray()},
    };
    for (const auto& C : Cases) {
        TTickingDialogs Boxes;
        Services.Dialogs = &Boxes;
        StartWatching();
        // Each box lets the watch tick twice while it is open.
        Boxes.WhileOpen = [this] {
            Tick();
            Tick();
        };
        SCOPED_TRACE(C.Name);
        C.Break();
        const qsizetype Mark = LogMark();
        Game.Runs = true;
        for (int I = 0; I < 3; ++I)
            Tick();
        EXPECT_EQ(Boxes.Messages(), QStringList{C.Message});
        EXPECT_FALSE(Window->Sound().CapturingSound());
        EXPECT_EQ(ReadHost(Demos() + "/Intro/take1.wav"), C.Left);
        // The log lines of the first try only; the later ticks tried again.
        EXPECT_EQ(LogSince(Mark).size(), 2);
        EXPECT_EQ(Count("RecordStart"), C.Left.isEmpty() ? 0 : 3);

        // Mended, the next tick starts; a later failure is reported again.
        C.Mend();
        Tick();
        EXPECT_TRUE(Window->Sound().CapturingSound());
        EXPECT_EQ(LogSince(Mark).size(), 4);
        Game.Runs = false;
        Tick();
        C.Break();
        Game.Runs = true;
        Tick();
        Tick();
        EXPECT_EQ(Boxes.Messages(), QStringList({C.Message, C.Message}));
        Boxes.WhileOpen = nullptr;
        Window.reset();
        Services.Dialogs = &Dialogs;
        C.Mend();
    }
}

TEST_F(CaptureTest, WithoutASelectedInputTheFileStaysEmptyAndNothingIsReported) {
    StartWatching("src=Gone\r\n");
    const qsizetype Mark = LogMark();
    Game.Runs = true;
    Tick();
    Tick();
    EXPECT_FALSE(Window->Sound().CapturingSound());
    EXPECT_TRUE(QFile::exists(Demos() + "/Intro/take1.wav"));
    EXPECT_EQ(ReadHost(Demos() + "/Intro/take1.wav"), QByteArray());
    EXPECT_EQ(Count("RecordStart"), 0);
    EXPECT_EQ(LogSince(Mark).size(), 2);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(CaptureTest, AFailedWriteEndsTheCaptureWithAFileThatSaysWhatItHolds) {
    StartWatching();
    Game.Runs = true;
    Tick();
    const qsizetype Mark = LogMark();
    {
        // Room for the header and 1002 bytes: the third block gets in part-way.
        TFileSizeLimit Limit(44 + 1002);
        ASSERT_TRUE(Bass.Deliver(Sound(400, 1)));
        ASSERT_TRUE(Bass.Deliver(Sound(400, 1)));
        ASSERT_TRUE(Bass.Deliver(Sound(400, 1)));
        // The callback ended the recording.
        EXPECT_FALSE(Bass.Deliver(Sound(400, 1)));
    }
    Tick();
    EXPECT_FALSE(Window->Sound().CapturingSound());
    EXPECT_EQ(ReadHost(Demos() + "/Intro/take1.wav"),
              ExpectedHeader(1000) + Sound(400, 1) + Sound(400, 1) + Sound(400, 1).left(200));
    const QString Error = "Write error on \"" + GameDir + "mods\\bf2\\Demos\\Intro\\take1.wav\". " +
                          qt_error_string(EFBIG);
    EXPECT_EQ(Dialogs.Messages(), QStringList{Error});
    EXPECT_EQ(LogSince(Mark), QStringList({Error, "Stopped recording sound"}));
    // No new capture replaces that file while the game runs on.
    Tick();
    EXPECT_EQ(Count("RecordStart"), 1);
    Game.Runs = false;
    Tick();
    Game.Runs = true;
    Tick();
    EXPECT_TRUE(Window->Sound().CapturingSound());
}
