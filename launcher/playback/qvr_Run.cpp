#include "launcher/playback/qvr_Run.h"

#include "common/FileSystem.h"
#include "common/TextRules.h"
#include "launcher/library/Library.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/platform/ProcessList.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

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

TRunPanel::TRunPanel(IShell& Shell, const TWidgets& W, TLibraryArea& Library)
    : FShell(Shell), FW(W), FLibrary(Library) {
    for (const TModeButton& M : FW.Modes) {
        M.Button->setIcon(QIcon(QStringLiteral(":/qvr/modes/%1.png").arg(M.Mode)));
        M.Button->setProperty("Tag", M.Mode);
        FShell.Connect(M.Button, &QToolButton::clicked, this, [this, Button = M.Button] {
            ConfigButtons(Button->property("Tag").toInt());
        });
    }
    FShell.Connect(FW.btnRun, &QPushButton::clicked, this, [this] { btnRunClick(); });
    // A user's choice only: filling or selecting in code applies nothing.
    FShell.Connect(FW.edPresets, &QComboBox::activated, this, [this] { edPresetsChange(); });
    FShell.Connect(FW.btnSavePreset, &QToolButton::clicked, this, [this] { btnSavePresetClick(); });
    FW.btnSavePreset->setIcon(QIcon(QStringLiteral(":/qvr/buttons/save.png")));

    // The maps menu drops down from its button, and from the singleplayer
    // label in any mode.
    FMenuMaps = new QMenu(FShell.Window());
    FMenuMaps->setObjectName(QStringLiteral("menuMaps"));
    FW.btnMaps->setIcon(QIcon(QStringLiteral(":/qvr/buttons/maps.png")));
    FW.btnMaps->setMenu(FMenuMaps);
    FW.btnMaps->setPopupMode(QToolButton::MenuButtonPopup);
    QLabel* SpLabel = FW.Modes[5].Label;
    SpLabel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SpLabel, &QWidget::customContextMenuRequested, this,
            [this, SpLabel](const QPoint& At) { FMenuMaps->popup(SpLabel->mapToGlobal(At)); });

    // The panel starts in the state of the mode whose button is down.
    ConfigButtons(rmPlayUserCam);
}

bool TRunPanel::CaptureSoundTicked() const {
    return FW.cbCaptureSound->isChecked();
}

bool TRunPanel::IsBF2Running() {
    // Without a process list nothing can be seen running.
    return FShell.Services().Processes && ::IsBF2Running(*FShell.Services().Processes);
}

void TRunPanel::ModChanged() {
    FillMapsMenu(FMenuMaps);
    FSelectedSPMap.clear();
}

void TRunPanel::ConfigButtons(int Mode) {
    if (Mode == rmSingleplayer)
        FillMapsMenu(FMenuMaps);
    FW.btnMaps->setEnabled(Mode == rmSingleplayer);
    for (const TModeButton& M : FW.Modes)
        SetBold(M.Label, M.Mode == Mode);
    // Texts and ticks stay as they are; only the enabled states follow the mode.
    const TRunModeInfo* Info = RunModeInfo(Mode);
    FLibrary.SetFileFieldsEnabled(Mode != rmSingleplayer, Info && Info->NeedsCamera);
    FW.edCamName->setEnabled(Mode == rmRecordCam);
    FW.edVideoName->setEnabled(Mode == rmRenderVideo);
    FW.cbRenderStats->setEnabled(Mode == rmTimeDemo);
    FW.cbCaptureSound->setEnabled(Mode == rmPlayRecordedCam);
    FRunMode = Mode;
}

bool TRunPanel::ValidateParameters() {
    const struct {
        QLineEdit* Edit;
        QLabel* Label;
        int Min, Max;
    } Checks[] = {{FW.edWidth, FW.laWidth, 0, 2048}, {FW.edHeight, FW.laHeight, 0, 1536},
                  {FW.edFPS, FW.laFPS, 0, 200},      {FW.edFOV, FW.laFOV, 0, 300},
                  {FW.edPosX, nullptr, 0, 2048},     {FW.edPosY, nullptr, 0, 1536}};
    bool AllValid = true;
    for (const auto& C : Checks) {
        const bool InRange = ValidateIntRange(C.Edit, C.Label, C.Min, C.Max);
        const bool NotEmpty = ValidateNotEmpty(C.Edit, C.Label);
        // The second check alone would clear the first one's red (abc is not
        // empty): the label ends red when either failed.
        SetLabelValid(C.Label, InRange && NotEmpty);
        AllValid = AllValid && InRange && NotEmpty;
    }
    return AllValid;
}

TRunValues TRunPanel::GatherValues() const {
    TRunValues V;
    V.SelDemo = FLibrary.SelectedDemo();
    V.SelCam = FLibrary.SelectedCamera();
    V.Width = FW.edWidth->text();
    V.Height = FW.edHeight->text();
    V.PosX = FW.edPosX->text();
    V.PosY = FW.edPosY->text();
    V.FPS = FW.edFPS->text();
    V.FOV = FW.edFOV->text();
    V.WinMode = FW.cbWinMode->isChecked();
    V.RenderStats = FW.cbRenderStats->isChecked();
    V.CamName = FW.edCamName->text();
    V.VideoName = FW.edVideoName->text();
    V.SelectedSPMap = FSelectedSPMap;
    V.CurrentMod = FLibrary.CurrentMod();
    V.CameraFolder = CameraFolder(FLibrary.DemosDir(), FShell.GameDir());
    return V;
}

void TRunPanel::btnRunClick() {
    const TMessageTexts& T = FShell.Texts();
    if (!ValidateParameters())
        return FShell.Refuse(T.Params1 + u'\r' + T.Params2);
    if (!FShell.GameFound())
        return FShell.Refuse(T.BFNotFound);
    const TRunModeInfo* Mode = RunModeInfo(FRunMode);
    if (!Mode)
        return;

    TRunValues V = GatherValues();
    const QString GameDir = FShell.GameDir();
    auto Ask = [&](const QString& T1, const QString& T2, const QString& T3) {
        return FShell.Ask(T1 + QStringLiteral("\r\r") + T2 + QStringLiteral("\r\r") + T3);
    };

    // The refusals and questions before the script is written.
    if (Mode->Mode == rmSingleplayer) {
        if (V.SelectedSPMap.isEmpty() ||
            !QvrFs::DirectoryExists(LevelsDirOf(GameDir, V.CurrentMod) + V.SelectedSPMap))
            return FShell.Refuse(FormatStr(
                FShell.GetLangString(QStringLiteral("spMapError"), QStringLiteral("Strings")),
                {V.SelectedSPMap, V.CurrentMod}));
    } else if (V.SelDemo.isEmpty() || (Mode->NeedsCamera && V.SelCam.isEmpty())) {
        return FShell.Refuse(Mode->NeedsCamera ? T.CamAndDemoFiles : T.SelectDemo);
    }
    if (Mode->Mode == rmRecordCam) {
        // A typed name is a file below the Demos folder, maybe in a subfolder
        // kept with a project: one that would climb out of it or break the
        // script's line is refused like a missing one.
        if (QvrFs::IsUnsafeSubPath(V.CamName)) {
            FShell.Refuse(T.NameCamera);
            FW.edCamName->setFocus();
            return;
        }
        // The completed name is shown where the user typed it.
        V.CamName = CameraFileName(V.CamName);
        if (V.CamName != FW.edCamName->text())
            FW.edCamName->setText(V.CamName);
    }
    if (Mode->Mode == rmRenderVideo) {
        if (QvrFs::IsUnsafeSubPath(V.VideoName)) {
            FShell.Refuse(T.NameVideo);
            FW.edVideoName->setFocus();
            return;
        }
        if (!Ask(T.RenderVideo1, T.RenderVideo2, T.RenderVideo3))
            return;
    }

    QStringList Script;
    if (Mode->Script) {
        Script = Mode->Script(V);
        // A failed write escapes to the error box: nothing is logged or started.
        QvrFs::SaveLines(GameDir + QLatin1String(CDemoScriptName), Script);
    }
    // Asked after the write: No keeps the new script and starts nothing.
    if (Mode->Mode == rmTimeDemo && V.RenderStats && !Ask(T.TimeDemo1, T.TimeDemo2, T.TimeDemo3))
        return;
    QString ModeName = QLatin1String(Mode->Name);
    if (Mode->Mode == rmPlayRecordedCam && FW.cbCaptureSound->isChecked()) {
        if (FHooks.ArmCapture)
            FHooks.ArmCapture();
        ModeName = QStringLiteral("Play and capture sound");
    }

    const QString CommandLine = RunCommandLine(*Mode, V);
    for (const QString& Line : RunLogLines(ModeName, Mode->Script, Script, CommandLine))
        FShell.LogLine(Line);
    // Started in the game folder, where it finds the script. Nothing waits for
    // the game; a start that fails says so in the log and in a box.
    QString Why;
    if (!FShell.Services().Starter->ShellOpen(QStringLiteral("BF2.exe"), CommandLine, GameDir,
                                              &Why)) {
        const QString Text = FormatStr(QStringLiteral("BF2 could not be started: %s"), {Why});
        FShell.LogLine(Text);
        FShell.ErrorBox(Text);
    }
}
