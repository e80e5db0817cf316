// Video presets: the list of presets, applying one, saving the fields as one.
#include "launcher/playback/Presets.h"
#include "launcher/playback/qvr_Run.h"

#include "common/Dialogs.h"
#include "common/ProfileFile.h"
#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QLineEdit>

void TRunPanel::ShowPresets() {
    ListPresets();
    const TProfileFile& Ini = FShell.SettingsIni();
    if (Ini.ValueExists(QStringLiteral("MISC"), QStringLiteral("preset"))) {
        SelectByText(FW.edPresets,
                     Ini.ReadString(QStringLiteral("MISC"), QStringLiteral("preset"), QString()));
        edPresetsChange();
    }
}

QString TRunPanel::CurrentPreset() const {
    return FW.edPresets->currentText();
}

void TRunPanel::edPresetsChange() {
    const std::optional<TPresetValues> Preset =
        ReadPreset(FShell.PresetsIni(), FW.edPresets->currentText());
    if (!Preset)
        return;
    FW.edWidth->setText(Preset->Width);
    FW.edHeight->setText(Preset->Height);
    FW.edFPS->setText(Preset->Fps);
    FW.edFOV->setText(Preset->Fov);
    FW.edPosX->setText(Preset->PosX);
    FW.edPosY->setText(Preset->PosY);
}

void TRunPanel::btnSavePresetClick() {
    const TMessageTexts& T = FShell.Texts();
    QString Name;
    if (!FShell.Services().Dialogs->InputQuery(FShell.Window(), T.NewPreset, T.NamePreset, Name))
        return;
    if (!IsStorablePresetName(Name)) {
        // The prompt again, as the refusal: a name is what is missing.
        FShell.Refuse(T.NamePreset);
        return;
    }
    WritePreset(FShell.PresetsIni(), Name,
                {FW.edWidth->text(), FW.edHeight->text(), FW.edPosX->text(), FW.edPosY->text(),
                 FW.edFPS->text(), FW.edFOV->text()});
    ListPresets();
}

void TRunPanel::ListPresets() {
    SetComboItems(FW.edPresets, PresetNames(FShell.PresetsIni()));
}
