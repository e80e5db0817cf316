// What a run hands to the game: the demo configuration script quorvane.con,
// the game's command line and the run's log lines. Plain values in, texts out;
// the Run handler gathers the values from the panel and does the writing.
#pragma once

#include <QString>
#include <QStringList>

// The number of a run mode; each mode button carries it in its Tag.
enum TRunMode {
    rmPlayUserCam = 0,
    rmPlayRecordedCam = 1,
    rmRecordCam = 2,
    rmRenderVideo = 3,
    rmTimeDemo = 5,
    rmSingleplayer = 6
};

// The panel's values as the fields hold them: nothing is trimmed or converted
// on the way into the script or the command line.
struct TRunValues {
    QString SelDemo, SelCam;
    QString Width, Height, PosX, PosY, FPS, FOV;
    bool WinMode = false;
    bool RenderStats = false;
    // The camera file name to record, already completed by CameraFileName.
    QString CamName;
    QString VideoName;
    QString SelectedSPMap;
    QString CurrentMod;
    // Where a recorded camera goes, relative to the game folder.
    QString CameraFolder;
};

// What sets one run mode apart from the others.
struct TRunModeInfo {
    TRunMode Mode;
    // The mode's name in the run's log.
    const char* Name;
    // Whether a recorded camera file must be chosen besides the demo; no
    // demo is needed in the singleplayer mode.
    bool NeedsCamera;
    // The command line: the window's position, the screen option and the
    // window's size, then the mode's own values (the map for a singleplayer
    // game) and the mod path.
    const char* CommandLine;
    // The demo script; none for a singleplayer game.
    QStringList (*Script)(const TRunValues& V);
};

// The mode of that number; null for a number that is no mode.
const TRunModeInfo* RunModeInfo(int Mode);

// The script's file name; it lies in the game folder, where the game is
// started and looks for it.
inline constexpr const char* CDemoScriptName = "quorvane.con";

// The parameter checks: a whole number (the whole-number rule) within
// Min..Max inclusive; a text that is more than blanks (codes 0 to 32).
bool IsIntInRange(const QString& Text, int Min, int Max);
bool IsNotBlank(const QString& Text);

// "+fullscreen 0" for a windowed game, else "+fullscreen 1".
QString ScreenOption(bool Windowed);
// "mods/" + the mod, with a forward slash.
QString ModPath(const QString& CurrentMod);

// The camera file name to record: the typed name, with ".bf2cam" appended
// unless its extension is exactly that (letter case counts).
QString CameraFileName(const QString& CamName);
// The folder of a recorded camera, relative to the game folder: the Demos
// folder with every occurrence of the game folder's text taken out.
QString CameraFolder(const QString& DemosDir, const QString& BFDir);

// The command line of a mode for these values.
QString RunCommandLine(const TRunModeInfo& Mode, const TRunValues& V);

// The log lines of a run that got as far as starting the game. A run without
// a script (singleplayer) logs only its mode line before the start.
QStringList RunLogLines(const QString& ModeName, bool WithScript, const QStringList& Script,
                        const QString& CommandLine);
