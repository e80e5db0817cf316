// Video presets: named sets of the run panel's six window and render
// parameters, one section each in Presets.ini.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class TProfileFile;

// The six field texts, as typed; nothing checks that they are numbers.
struct TPresetValues {
    QString Width, Height, PosX, PosY, Fps, Fov;
    bool operator==(const TPresetValues&) const = default;
};

// The preset names: the file's sections in file order, also those without keys.
QStringList PresetNames(const TProfileFile& Presets);

// The preset of that name; none when its section holds no key. A key that is
// missing reads as the empty text.
std::optional<TPresetValues> ReadPreset(const TProfileFile& Presets, const QString& Name);

// Writes the six keys in the file's key order into the section of that name
// (found without regard to letter case; other keys stay), or into a new
// section at the end. A failed write raises "Unable to write to %s"; the keys
// written before it stay.
void WritePreset(TProfileFile& Presets, const QString& Name, const TPresetValues& Values);

// Whether a typed name can be kept as a section that the list shows again:
// not empty or blank only (that section would take the place of "no preset"
// in the stored choice), and on one line (a line break or a code 0 would
// store it under another name).
bool IsStorablePresetName(const QString& Name);
