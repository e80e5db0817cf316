// Run modes and the start of the game.
#include "launcher/playback/qvr_Run.h"

#include "common/Dialogs.h"
#include "common/FileSystem.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/playback/RunScript.h"
#include "launcher/shell/qvr_Main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSignalBlocker>
#include <QTimer>

namespace {

void SetBold(QLabel* Label, bool Bold) {
    QFont Font = Label->font();
    Font.setBold(Bold);
    Label->setFont(Font);
}

} // namespace

void SetLabelValid(QLabel* Label, bool Valid) {
    if (!Label)
        return;
    // The normal colour is the one the label would inherit, per colour group,
    // so that a disabled label still looks disabled.
    const QPalette Normal =
        Label->parentWidget() ? Label->parentWidget()->palette() : QApplication::palette(Label);
    QPalette Palette = Label->palette();
    for (const QPalette::ColorGroup Group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        Palette.setColor(Group, QPalette::WindowText,
                         Valid ? Normal.color(Group, QPalette::WindowText) : QColor(255, 0, 0));
    Label->setPalette(Palette);
}

bool ValidateIntRange(QLineEdit* Edit, QLabel* Label, int Min, int Max) {
    const bool Valid = IsIntInRange(Edit->text(), Min, Max);
    SetLabelValid(Label, Valid);
    return Valid;
}

bool ValidateNotEmpty(QLineEdit* Edit, QLabel* Label) {
    const bool Valid = IsNotBlank(Edit->text());
    SetLabelValid(Label, Valid);
    return Valid;
}

void TfrmMain::ConnectPlaybackHandlers() {
    const QPair<QToolButton*, int> Modes[] = {
        {btnPlayNoCam, rmPlayUserCam}, {btnPlayWithCam, rmPlayRecordedCam},
        {btnPlayRecCam, rmRecordCam},  {btnRender, rmRenderVideo},
        {btnTimeDemo, rmTimeDemo},     {btnSP, rmSingleplayer}};
    for (const auto& [Button, Mode] : Modes) {
        Button->setProperty("Tag", Mode);
        connect(Button, &QToolButton::clicked, this, [this, Button = Button] {
            Guard([&] { ConfigButtons(Button->property("Tag").toInt()); });
        });
    }
    connect(btnRun, &QPushButton::clicked, this, [this] { Guard([this] { btnRunClick(); }); });
    // The panel starts in the state of the mode whose button is down.
    ConfigButtons(rmPlayUserCam);
}

void TfrmMain::ConfigButtons(int Mode) {
    if (Mode == rmSingleplayer) {
        edSelDemo->setEnabled(false);
        edSelCam->setEnabled(false);
        FillMapsMenu(menuMaps);
        btnMaps->setEnabled(true);
        SetBold(laSingleplayer, true);
    } else {
        edSelDemo->setEnabled(true);
        btnMaps->setEnabled(false);
        SetBold(laSingleplayer, false);
    }
    SetBold(laPlayDemoUserCam, Mode == rmPlayUserCam);
    SetBold(laPlayDemoRecordedCam, Mode == rmPlayRecordedCam);
    SetBold(laPlayDemoRecordCam, Mode == rmRecordCam);
    SetBold(laRenderVideo, Mode == rmRenderVideo);
    SetBold(laTimeDemo, Mode == rmTimeDemo);
    // Texts and ticks stay as they are; only the enabled states follow the mode.
    edSelCam->setEnabled(Mode == rmPlayRecordedCam || Mode == rmRenderVideo || Mode == rmTimeDemo);
    edCamName->setEnabled(Mode == rmRecordCam);
    edVideoName->setEnabled(Mode == rmRenderVideo);
    cbRenderStats->setEnabled(Mode == rmTimeDemo);
    cbCaptureSound->setEnabled(Mode == rmPlayRecordedCam);
    RunMode = Mode;
}

void TfrmMain::btnRunClick() {
    // Every field is checked, so that every label shows its field's state.
    const struct {
        QLineEdit* Edit;
        QLabel* Label;
        int Min, Max;
    } Checks[] = {{edWidth, laWidth, 0, 2048}, {edHeight, laHeight, 0, 1536},
                  {edFPS, laFPS, 0, 200},      {edFOV, laFOV, 0, 300},
                  {edPosX, nullptr, 0, 2048},  {edPosY, nullptr, 0, 1536}};
    bool AllValid = true;
    for (const auto& C : Checks) {
        const bool InRange = ValidateIntRange(C.Edit, C.Label, C.Min, C.Max);
        const bool NotEmpty = ValidateNotEmpty(C.Edit, C.Label);
        // The second check alone would clear the first one's red (abc is not
        // empty): the label ends red when either failed.
        SetLabelValid(C.Label, InRange && NotEmpty);
        AllValid = AllValid && InRange && NotEmpty;
    }
    if (!AllValid) {
        Refuse(FStrParams1 + u'\r' + FStrParams2);
        return;
    }
    if (!FGameFound) {
        Refuse(FStrBFNotFound);
        return;
    }

    TRunValues V;
    V.SelDemo = edSelDemo->text();
    V.SelCam = edSelCam->text();
    V.Width = edWidth->text();
    V.Height = edHeight->text();
    V.PosX = edPosX->text();
    V.PosY = edPosY->text();
    V.FPS = edFPS->text();
    V.FOV = edFOV->text();
    V.WinMode = cbWinMode->isChecked();
    V.RenderStats = cbRenderStats->isChecked();
    V.CamName = edCamName->text();
    V.VideoName = edVideoName->text();
    V.SelectedSPMap = SelectedSPMap;
    V.CurrentMod = CurrentMod;
    const QString BFDir = edBFDir->text();

    const QString Title = QCoreApplication::applicationName();
    auto Ask = [&](const QString& T1, const QString& T2, const QString& T3) {
        return FServices.Dialogs->AskYesNo(
            this, Title, T1 + QStringLiteral("\r\r") + T2 + QStringLiteral("\r\r") + T3);
    };
    QStringList Script;
    // A failed write escapes to the error box: nothing is logged or started.
    auto WriteScript = [&] { QvrFs::SaveLines(BFDir + QLatin1String(CDemoScriptName), Script); };
    QString ModeName, CommandLine;
    bool WithScript = true;

    switch (RunMode) {
    case rmPlayUserCam:
        if (V.SelDemo.isEmpty())
            return Refuse(FStrSelectDemo);
        Script = PlayUserCamScript(V);
        WriteScript();
        CommandLine = PlayUserCamCommandLine(V);
        ModeName = QStringLiteral("Play with user camera");
        break;
    case rmPlayRecordedCam:
        if (V.SelDemo.isEmpty() || V.SelCam.isEmpty())
            return Refuse(FStrCamAndDemoFiles);
        Script = PlayRecordedCamScript(V);
        WriteScript();
        ModeName = QStringLiteral("Play with recorded camera");
        if (cbCaptureSound->isChecked()) {
            // Selection only: the input is switched by the capture itself.
            const QString Src =
                SettingsIni->ReadString(QStringLiteral("AUDIO"), QStringLiteral("src"), {});
            const int Index = Src.isEmpty() ? -1 : edSource->findText(Src, Qt::MatchFixedString);
            if (Index >= 0) {
                const QSignalBlocker Quiet(edSource);
                edSource->setCurrentIndex(Index);
            }
            if (!Timer1->isActive())
                Timer1->start();
            ModeName = QStringLiteral("Play and capture sound");
        }
        CommandLine = PlayRecordedCamCommandLine(V);
        break;
    case rmRecordCam:
        if (V.SelDemo.isEmpty())
            return Refuse(FStrSelectDemo);
        if (V.CamName.isEmpty()) {
            Refuse(FStrNameCamera);
            edCamName->setFocus();
            return;
        }
        // The completed name is shown where the user typed it.
        V.CamName = CameraFileName(V.CamName);
        if (V.CamName != edCamName->text())
            edCamName->setText(V.CamName);
        Script = RecordCamScript(V, CameraFolder(DemosDir, BFDir));
        WriteScript();
        CommandLine = RecordCamCommandLine(V);
        ModeName = QStringLiteral("Play and record camera");
        break;
    case rmRenderVideo:
        if (V.SelDemo.isEmpty() || V.SelCam.isEmpty())
            return Refuse(FStrCamAndDemoFiles);
        if (V.VideoName.isEmpty()) {
            Refuse(FStrNameVideo);
            edVideoName->setFocus();
            return;
        }
        if (!Ask(FStrRenderVideo1, FStrRenderVideo2, FStrRenderVideo3))
            return;
        Script = RenderVideoScript(V);
        WriteScript();
        CommandLine = RenderVideoCommandLine(V);
        ModeName = QStringLiteral("Render to video");
        break;
    case rmTimeDemo:
        if (V.SelDemo.isEmpty() || V.SelCam.isEmpty())
            return Refuse(FStrCamAndDemoFiles);
        Script = TimeDemoScript(V);
        WriteScript();
        // Asked after the write: No keeps the new script and starts nothing.
        if (V.RenderStats && !Ask(FStrTimeDemo1, FStrTimeDemo2, FStrTimeDemo3))
            return;
        CommandLine = TimeDemoCommandLine(V);
        ModeName = QStringLiteral("Time Demo");
        break;
    case rmSingleplayer:
        if (SelectedSPMap.isEmpty() ||
            !QvrFs::DirectoryExists(LevelFolder(BFDir, CurrentMod, SelectedSPMap)))
            return Refuse(
                FormatStr(GetLangString(QStringLiteral("spMapError"), QStringLiteral("Strings")),
                          {SelectedSPMap, CurrentMod}));
        CommandLine = SingleplayerCommandLine(V);
        ModeName = QStringLiteral("Singleplayer");
        WithScript = false;
        break;
    default:
        return;
    }

    for (const QString& Line : RunLogLines(ModeName, WithScript, Script, CommandLine))
        LogLine(Line);
    // Started in the game folder, where it finds the script. Nothing waits for
    // the game, and a start that fails is not reported: the log holds the run.
    FServices.Starter->ShellOpen(QStringLiteral("BF2.exe"), CommandLine, BFDir);
}

bool TfrmMain::IsBF2Running() {
    // Without a process list nothing can be seen running.
    return FServices.Processes && ::IsBF2Running(*FServices.Processes);
}
