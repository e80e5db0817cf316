// The recording inputs and the Sound Capture sub-page through the real
// window, with the scripted audio device.
#include "SoundWindowFixture.h"

#include "common/ProfileFile.h"

using SoundInputsTest = SoundTest;

TEST_F(SoundInputsTest, StartUpSelectsTheLastInputThatIsOnOrTheStoredOne) {
    const struct {
        const char* Audio;
        int Source, DefSource; // the entries selected, -1: none
        QList<int> On;         // the inputs on afterwards
        int Volume;
    } Cases[] = {
        // Inputs 0 and 2 on: 2 ends selected in both lists and alone on.
        {"", 2, 2, {2}, 80},
        // Stored names, letter case ignored; the default one only selected.
        {"src=LINE IN\r\ndefsrc=microphone\r\n", 1, 0, {1}, 60},
        // A stored input the device lacks: no selection and every input off.
        {"src=Gone\r\ndefsrc=Gone too\r\n", -1, -1, {}, 100},
    };
    for (const auto& C : Cases) {
        ResetDevice();
        WriteConfigured(QByteArray("[AUDIO]\r\n") + C.Audio);
        Start();
        SCOPED_TRACE(C.Audio);
        EXPECT_EQ(Find<QComboBox>("edSource")->count(), 3);
        EXPECT_EQ(Find<QComboBox>("edSource")->currentIndex(), C.Source);
        EXPECT_EQ(Find<QComboBox>("edDefSource")->currentIndex(), C.DefSource);
        EXPECT_EQ(Bass.OnInputs(), C.On);
        EXPECT_EQ(Find<QSlider>("tbVolume")->value(), C.Volume);
        Window.reset();
    }
}

TEST_F(SoundInputsTest, ChoosingAnInputSwitchesItAndItsLevelFollowsTheTrackBar) {
    WriteConfigured();
    Start();
    auto* Source = Find<QComboBox>("edSource");
    Bass.Calls.clear();
    Source->setCurrentIndex(0);
    emit Source->activated(0);
    EXPECT_EQ(Bass.Calls,
              QStringList({"SetInput(0,10000)", "SetInput(1,10000)", "SetInput(2,10000)",
                           "SetInput(3,10000)", "SetInput(0,20000)", "SetInput(0,4001e)"}));
    EXPECT_EQ(Find<QSlider>("tbVolume")->value(), 30);
    Find<QSlider>("tbVolume")->setValue(65);
    EXPECT_EQ(Bass.Inputs[0].Level, 65);
    EXPECT_EQ(Bass.OnInputs(), QList<int>{0});
}

TEST_F(SoundInputsTest, RefreshSelectsInBothListsTheLastInputThatIsOn) {
    const struct {
        QList<int> On;
        int Selected;
    } Cases[] = {{{0, 1}, 1}, {{0}, 0}, {{}, -1}};
    WriteConfigured();
    Start();
    for (const auto& C : Cases) {
        for (int I = 0; I < Bass.Inputs.size(); ++I)
            Bass.Inputs[I].On = C.On.contains(I);
        Bass.Inputs << TScriptedBass::TInput{"USB Headset", false, 10};
        Find<QToolButton>("btnRefreshSources")->click();
        SCOPED_TRACE(C.Selected);
        EXPECT_EQ(Find<QComboBox>("edSource")->count(), Bass.Inputs.size());
        EXPECT_EQ(Find<QComboBox>("edSource")->currentIndex(), C.Selected);
        EXPECT_EQ(Find<QComboBox>("edDefSource")->currentIndex(), C.Selected);
        EXPECT_EQ(Bass.OnInputs(), C.Selected < 0 ? QList<int>{} : QList<int>{C.Selected});
    }
}

TEST_F(SoundInputsTest, ClosingSwitchesTheDefaultInputOnAndGivesItsLevelToTheCaptureInput) {
    const struct {
        const char* Audio;
        QList<int> On;
        int CaptureLevel; // of input 2, the capture input
    } Cases[] = {
        {"src=Monitor of Game\r\ndefsrc=Microphone\r\n", {0}, 30},
        // No default input: every input ends off.
        {"src=Monitor of Game\r\ndefsrc=Gone\r\n", {}, 100},
    };
    for (const auto& C : Cases) {
        ResetDevice();
        WriteConfigured(QByteArray("[AUDIO]\r\n") + C.Audio);
        Start();
        Window->close();
        SCOPED_TRACE(C.Audio);
        EXPECT_EQ(Bass.OnInputs(), C.On);
        EXPECT_EQ(Bass.Inputs[2].Level, C.CaptureLevel);
        EXPECT_EQ(Bass.Inputs[0].Level, 30);
        Window.reset();
    }
}

TEST_F(SoundInputsTest, ForcingSwitchesTheCaptureInputBackOnOnlyWhileTheButtonIsDown) {
    WriteConfigured();
    Start();
    for (const bool Down : {false, true}) {
        Find<QToolButton>("btnForceSnd")->setChecked(Down);
        Bass.Inputs[0].On = true;
        Bass.Inputs[2].On = false;
        Window->Sound().ForceSelectedInput();
        EXPECT_EQ(Bass.OnInputs(), Down ? QList<int>{2} : QList<int>{0});
    }
}

TEST_F(SoundInputsTest, ThePageTakesTheStoredValuesEachTimeItIsShown) {
    const struct {
        const char* Audio;
        bool ToOutputBefore, ToOutput, Force;
        const char* Output; // the folder edit; "<app>" for the program folder
        int Source, DefSource;
    } Cases[] = {
        {"", true, true, false, "<app>Audio", 2, 2},
        {"renderto=outputdir\r\nforcesrc=1\r\noutput=D:\\Snd\\\r\nsrc=line in\r\n"
         "defsrc=Microphone\r\n",
         false, true, true, "D:\\Snd\\", 1, 0},
        // Only exact values count; a saved input the device lacks: none.
        {"renderto=OutputDir\r\nforcesrc=yes\r\nsrc=Gone\r\n", false, false, false, "<app>Audio",
         -1, 2},
        {"renderto=projectdir\r\nforcesrc=2\r\n", true, false, false, "<app>Audio", 2, 2},
    };
    for (const auto& C : Cases) {
        ResetDevice();
        WriteConfigured(QByteArray("[AUDIO]\r\n") + C.Audio);
        Start();
        (C.ToOutputBefore ? Find<QRadioButton>("rbRenderToOutput")
                          : Find<QRadioButton>("rbRenderToProject"))
            ->setChecked(true);
        Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
        Find<QToolButton>("btnSettingsCategories0Items1")->click();
        SCOPED_TRACE(C.Audio);
        const QString Output = QString(C.Output).replace("<app>", AppDir);
        EXPECT_EQ(Find<QRadioButton>("rbRenderToOutput")->isChecked(), C.ToOutput);
        EXPECT_EQ(Find<QRadioButton>("rbRenderToProject")->isChecked(), !C.ToOutput);
        EXPECT_EQ(Find<QToolButton>("btnForceSnd")->isChecked(), C.Force);
        EXPECT_EQ(Find<QLineEdit>("edOutputDir")->text(), Output);
        EXPECT_EQ(Find<QComboBox>("edSource")->currentIndex(), C.Source);
        EXPECT_EQ(Find<QComboBox>("edDefSource")->currentIndex(), C.DefSource);
        // Shown again: unsaved choices give way to the stored ones; an edit
        // emptied while a folder is stored stays empty.
        Find<QToolButton>("btnForceSnd")->setChecked(!C.Force);
        Find<QLineEdit>("edOutputDir")->clear();
        Find<QToolButton>("btnSettingsCategories0Items0")->click();
        Find<QToolButton>("btnSettingsCategories0Items1")->click();
        EXPECT_EQ(Find<QToolButton>("btnForceSnd")->isChecked(), C.Force);
        EXPECT_EQ(Find<QLineEdit>("edOutputDir")->text(),
                  QByteArray(C.Audio).contains("output=") ? QString() : Output);
        Window.reset();
    }
}

TEST_F(SoundInputsTest, ThePickerPutsTheChosenFolderWithItsBackslash) {
    WriteConfigured();
    Start();
    auto* Edit = Find<QLineEdit>("edOutputDir");
    Edit->setText("before");
    Dialogs.Clear();
    Dialogs.QueueFolder(QString());
    Find<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(Edit->text(), "before");
    Dialogs.QueueFolder("Z:\\tmp\\Sounds");
    Find<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(Edit->text(), "Z:\\tmp\\Sounds\\");
    ASSERT_EQ(Dialogs.Shown().size(), 2);
    EXPECT_EQ(Dialogs.Shown()[1].What, TShownDialog::Folder);
    EXPECT_EQ(Dialogs.Shown()[1].Title, "Choose the Output directory");
}
