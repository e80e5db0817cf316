// The window with the scripted audio device and a game that runs when the
// test says so, and the steps of a run that captures sound.
#pragma once

#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

class SoundTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Services.Processes = &Game;
        ResetDevice();
    }
    // Three inputs: 0 and 2 on.
    void ResetDevice() {
        Bass.Inputs = {
            {"Microphone", true, 30}, {"Line In", false, 60}, {"Monitor of Game", true, 80}};
    }

    TScriptedGame Game;
};

// A configured launcher with the game and the projects Intro and Other,
// after a run of the recorded camera with Capture Sound ticked: the watch
// runs and the game has not been seen yet.
class CaptureTest : public SoundTest {
protected:
    void StartWatching(const QByteArray& Audio = "src=Monitor of Game\r\n",
                       const QString& Project = "Intro") {
        MakeGame();
        QDir().mkpath(Demos() + "/Intro");
        QDir().mkpath(Demos() + "/Other");
        WriteConfigured("[AUDIO]\r\n" + Audio);
        Start();
        auto* Dirs = Find<QComboBox>("edDirs");
        Dirs->setCurrentIndex(Dirs->findText(Project));
        Find<QToolButton>("btnPlayWithCam")->click();
        Find<QCheckBox>("cbCaptureSound")->setChecked(true);
        Find<QLineEdit>("edSelDemo")->setText("mods\\bf2\\Demos\\Intro\\take1.bf2demo");
        Find<QLineEdit>("edSelCam")->setText("mods\\bf2\\Demos\\Intro\\cam1.bf2cam");
        Find<QPushButton>("btnRun")->click();
        ASSERT_TRUE(Window->Sound().Timer1()->isActive());
        Dialogs.Clear();
        Bass.Calls.clear();
    }
    // One tick of the capture watch.
    void Tick() { Window->Sound().Timer1Timer(); }
    QString Demos() const { return GameHost + "/mods/bf2/Demos"; }
    int Count(const QString& Call) const {
        return static_cast<int>(
            std::count_if(Bass.Calls.begin(), Bass.Calls.end(),
                          [&](const QString& C) { return C.startsWith(Call); }));
    }
};
