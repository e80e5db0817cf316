// What a run hands to the game: the demo configuration script quorvane.con,
// the game's command line and the run's log lines. Plain values in, texts out;
// the Run handler gathers the values from the panel and does the writing.
#pragma once

#include <QString>
#include <QStringList>

// The panel's values as the fields hold them: nothing is trimmed or converted
// on the way into the script or the command line.
struct TRunValues {
    QString SelDemo, SelCam;
    QString Width, Height, PosX, PosY, FPS, FOV;
    bool WinMode = false;
    bool RenderStats = false;
    QString CamName, VideoName;
    QString SelectedSPMap;
    QString CurrentMod;
};

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
// A map's level folder under the game folder.
QString LevelFolder(const QString& BFDir, const QString& CurrentMod, const QString& Map);

// The scripts of the modes that write one.
QStringList PlayUserCamScript(const TRunValues& V);
QStringList PlayRecordedCamScript(const TRunValues& V);
// V.CamName is the camera file name already completed by CameraFileName.
QStringList RecordCamScript(const TRunValues& V, const QString& CameraFolder);
QStringList RenderVideoScript(const TRunValues& V);
QStringList TimeDemoScript(const TRunValues& V);

// The command line of each mode.
QString PlayUserCamCommandLine(const TRunValues& V);
QString PlayRecordedCamCommandLine(const TRunValues& V);
QString RecordCamCommandLine(const TRunValues& V);
QString RenderVideoCommandLine(const TRunValues& V);
QString TimeDemoCommandLine(const TRunValues& V);
QString SingleplayerCommandLine(const TRunValues& V);

// The log lines of a run that got as far as starting the game. A run without
// a script (singleplayer) logs only its mode line before the start.
QStringList RunLogLines(const QString& ModeName, bool WithScript, const QStringList& Script,
                        const QString& CommandLine);
