#include "launcher/playback/Presets.h"

#include "common/ProfileFile.h"

namespace {
// Key names in the order they are written, each with its field.
struct TPresetKey {
    const char* Key;
    QString TPresetValues::*Field;
};
const TPresetKey CKeys[] = {{"width", &TPresetValues::Width}, {"height", &TPresetValues::Height},
                            {"posx", &TPresetValues::PosX},   {"posy", &TPresetValues::PosY},
                            {"fps", &TPresetValues::Fps},     {"fov", &TPresetValues::Fov}};
} // namespace

QStringList PresetNames(const TProfileFile& Presets) {
    return Presets.ReadSections();
}

std::optional<TPresetValues> ReadPreset(const TProfileFile& Presets, const QString& Name) {
    if (!Presets.SectionExists(Name))
        return std::nullopt;
    TPresetValues Values;
    for (const TPresetKey& K : CKeys)
        Values.*K.Field = Presets.ReadString(Name, QLatin1String(K.Key), QString());
    return Values;
}

void WritePreset(TProfileFile& Presets, const QString& Name, const TPresetValues& Values) {
    for (const TPresetKey& K : CKeys)
        Presets.WriteString(Name, QLatin1String(K.Key), Values.*K.Field);
}

bool IsStorablePresetName(const QString& Name) {
    bool Visible = false;
    for (QChar C : Name) {
        if (C == u'\r' || C == u'\n' || C.unicode() == 0)
            return false;
        // The profile file drops blanks (space, codes 9 to 13) around names.
        if (C != u' ' && (C.unicode() < 9 || C.unicode() > 13))
            Visible = true;
    }
    return Visible;
}
