// Video presets: the list of presets, applying one, saving the fields as one.
#include "launcher/shell/qvr_Main.h"

#include "common/Dialogs.h"
#include "common/ProfileFile.h"
#include "launcher/playback/Presets.h"

void TfrmMain::ConnectPresetHandlers() {
    // A user's choice only: filling or selecting in code applies nothing.
    connect(edPresets, &QComboBox::activated, this,
            [this] { Guard([this] { edPresetsChange(); }); });
    connect(btnSavePreset, &QAbstractButton::clicked, this,
            [this] { Guard([this] { btnSavePresetClick(); }); });
}

void TfrmMain::edPresetsChange() {
    const std::optional<TPresetValues> Preset = ReadPreset(*PresetsIni, edPresets->currentText());
    if (!Preset)
        return;
    edWidth->setText(Preset->Width);
    edHeight->setText(Preset->Height);
    edFPS->setText(Preset->Fps);
    edFOV->setText(Preset->Fov);
    edPosX->setText(Preset->PosX);
    edPosY->setText(Preset->PosY);
}

void TfrmMain::btnSavePresetClick() {
    QString Name;
    if (!FServices.Dialogs->InputQuery(this, FStrNewPreset, FStrNamePreset, Name))
        return;
    if (!IsStorablePresetName(Name)) {
        // The prompt again, as the refusal: a name is what is missing.
        Refuse(FStrNamePreset);
        return;
    }
    WritePreset(*PresetsIni, Name,
                {edWidth->text(), edHeight->text(), edPosX->text(), edPosY->text(), edFPS->text(),
                 edFOV->text()});
    ListPresets();
}

void TfrmMain::ListPresets() {
    edPresets->clear();
    edPresets->addItems(PresetNames(*PresetsIni));
    // A list that was empty would otherwise select its first item by itself.
    edPresets->setCurrentIndex(-1);
}
