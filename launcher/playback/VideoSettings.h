// The game's player profiles and the graphics settings of their Video.con, as
// the Profiles page shows and the settings OK writes them back. Every line of
// the profile files is split by the comma-text rule; token 1 is the key,
// compared exactly, and token 2 its value.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// A text of the language file by its key ([Strings] or [Maps]); the empty
// text when the key is missing.
using TTextLookup = std::function<QString(const QString& Key)>;

// ---- Profiles ---------------------------------------------------------------

struct TProfileRow {
    QString Name; // token 2 of the first line of Profile.con
    QString Id;   // the profile's folder name
    bool operator==(const TProfileRow&) const = default;
};

// BF2DocsDir (the game's documents folder, ending with "\") + "Profiles\" +
// Id + "\".
QString ProfileFolder(const QString& BF2DocsDir, const QString& Id);

// Hands AddRow one row per profile folder, in the order of the listing:
// every folder of the Profiles folder but the one named exactly "Default"
// (letter case counts) and names that would climb out of that folder. A
// Profile.con without a first line, or one without a second token, gives an
// empty name. A folder without a readable Profile.con ends the listing with
// EFOpenError after its row (without a name) was handed over. Returns whether
// any row was handed over.
bool ListProfiles(const QString& BF2DocsDir, const std::function<void(const TProfileRow&)>& AddRow);

// ---- The settings and their controls ----------------------------------------

enum TVideoControl {
    vcTerrainQuality,
    vcGeometryQuality,
    vcLightQuality,
    vcDynLightQuality,
    vcDynShadow,
    vcEffectsQuality,
    vcTextureQuality,
    vcTxtFilterQuality,
    vcAntialias,
    vcViewDistance,
};
inline constexpr int CVideoControlCount = vcViewDistance + 1;

enum class TVideoKind { Level, Antialias, ViewDistance };

struct TVideoSetting {
    const char* Key;         // the Video.con key
    const char* ControlName; // the page control that shows it
    TVideoKind Kind;
    bool WithOff; // a level list that begins with Off: its position is the value
};
// One entry per TVideoControl, in that order.
extern const std::array<TVideoSetting, CVideoControlCount> CVideoSettings;

// The [Strings] keys of the level lists' entries, Off first.
inline constexpr const char* CQualityKeys[] = {"Off", "Low", "Medium", "High", "UltraHigh"};

// The entries of a level list: [Off,] Low, Medium, High, UltraHigh, each the
// language text of its key.
QStringList QualityEntries(bool WithOff, const TTextLookup& Strings);
// The entries of a list control of the table: a level list's entries, or
// the antialiasing list's: the Off text, "2x", "4x", "6x". None for the
// view distance, which is a track bar.
QStringList VideoListEntries(TVideoControl Control, const TTextLookup& Strings);

// What the Profiles page's controls show. The reader changes only what a
// profile's files set, so whatever they leave alone keeps what the previous
// profile put there.
struct TVideoPage {
    // A list's selected position (-1: none); the view distance's track bar
    // position, 0 to 10.
    std::array<int, CVideoControlCount> Position{-1, -1, -1, -1, -1, -1, -1, -1, -1, 0};
    // The demo-quality display: its entries "1" to "10", which a profile
    // without Video.con removes for as long as the program runs, and the
    // selected entry (-1: none).
    int DemoQualityEntries = 10;
    int DemoQuality = -1;
    bool operator==(const TVideoPage&) const = default;
};

// Sets one control from one value as a Video.con line does. Levels are whole
// numbers; a value with no entry in its list leaves the list without a
// selection. Antialiasing takes "Off", "2Samples", "4Samples", "6Samples"
// (exact text); any other value changes nothing. The view distance is a
// decimal number with "." as its separator, whatever the locale; the position
// is ten times it, rounded half to even, clamped to 0..10. A level or view
// distance that is not a number raises EConvertError.
void ApplyVideoSetting(TVideoPage& Page, TVideoControl Control, const QString& Value);

// Reads a profile into Page, as selecting it on the Profiles page does.
// Without Video.con in the folder, the demo-quality display is emptied and
// nothing else changes. Otherwise the demo quality starts at entry 0 ("1"),
// then ServerSettings.con's sv.demoQuality (1 to 10) selects its entry, then
// each Video.con line with a key of the table applies its value (a key given
// twice takes its last). Lines without a value are skipped, and files of any
// length are read to the end. A missing ServerSettings.con raises
// EFOpenError before Video.con is read; a value that is not a number raises
// EConvertError at its line. Either way, what was applied before the error
// stays in Page: the caller shows Page also when the read ends with an error.
void ReadProfileVideo(const QString& ProfileFolder, TVideoPage& Page);

// The view distance's label: position / 10 with two decimals and a decimal
// point (7 gives "0.70", 10 gives "1.00").
QString ViewDistanceLabel(int Position);
// The value a control's position is written as; none when the line keeps
// its old value (antialiasing without a selection).
std::optional<QString> WrittenVideoValue(TVideoControl Control, int Position);

// Rewrites the Video.con file VideoCon from Page, as the settings OK does:
// each line whose key is in the table becomes the key, one blank and the
// written value; other lines stay, missing keys are not added. Log gets
// "Saving Video settings to file [<file>]", "Video.con:", each line as it now
// stands after four blanks, and "-- end of Video.con", before the lines are
// saved with CR LF ends. A missing file raises EFOpenError before anything
// is logged or written.
void SaveVideoCon(const QString& VideoCon, const TVideoPage& Page,
                  const std::function<void(const QString&)>& Log);
