#include "launcher/playback/RunScript.h"

#include "common/FileSystem.h"
#include "common/TextRules.h"

namespace {

// Render width, height, field of view and frame rate, in the game's order.
QStringList SizeBlock(const TRunValues& V) {
    return {FormatStr(QStringLiteral("demo.renderwidth %s"), {V.Width}),
            FormatStr(QStringLiteral("demo.renderheight %s"), {V.Height}),
            FormatStr(QStringLiteral("demo.renderfieldofview %s"), {V.FOV}),
            FormatStr(QStringLiteral("demo.renderfps %s"), {V.FPS})};
}

// The end of both playback scripts. The game reads "-1 " with its blank as
// well as without.
QStringList PlaybackTail() {
    return {QStringLiteral("demo.synccameraanddemo 1"), QStringLiteral("demo.timedemo 0"),
            QStringLiteral("demo.renderstats 0"),       QStringLiteral("demo.vtuneFrame -1 "),
            QStringLiteral("demo.vtuneRendering 0"),    QStringLiteral("demo.vtuneRepeatCount 1")};
}

// The camera and demo lines of a script that plays a recorded camera.
QStringList RecordedCamFiles(const TRunValues& V) {
    return {FormatStr(QStringLiteral("demo.cameraFile %s"), {V.SelCam}),
            FormatStr(QStringLiteral("demo.demoFile %s"), {V.SelDemo})};
}

QStringList PlayUserCamScript(const TRunValues& V) {
    return QStringList{QStringLiteral("demo.demoMode playback"),
                       QStringLiteral("demo.cameraMode user"),
                       FormatStr(QStringLiteral("demo.demoFile %s"), {V.SelDemo})} +
           SizeBlock(V) + PlaybackTail();
}

QStringList PlayRecordedCamScript(const TRunValues& V) {
    return QStringList{QStringLiteral("demo.demoMode playback"),
                       QStringLiteral("demo.cameraMode playback")} +
           RecordedCamFiles(V) + SizeBlock(V) + PlaybackTail();
}

QStringList RecordCamScript(const TRunValues& V) {
    return QStringList{
               QStringLiteral("demo.demoMode playback"), QStringLiteral("demo.cameraMode record"),
               FormatStr(QStringLiteral("demo.cameraFile %s%s"), {V.CameraFolder, V.CamName}),
               FormatStr(QStringLiteral("demo.demoFile %s"), {V.SelDemo})} +
           SizeBlock(V) + QStringList{QStringLiteral("demo.synccameraanddemo 1")};
}

QStringList RenderVideoScript(const TRunValues& V) {
    // The video always goes to the bf2 mod's Demos folder, whatever the mod.
    return QStringList{QStringLiteral("demo.demoMode render"),
                       QStringLiteral("demo.cameraMode playback")} +
           RecordedCamFiles(V) +
           QStringList{
               FormatStr(QStringLiteral("demo.renderfile mods\\bf2\\Demos\\%s.avi"), {V.VideoName}),
               QStringLiteral("demo.rendercompressed 1"), QStringLiteral("demo.renderpanorama 0"),
               QStringLiteral("demo.numpanoramaslices 0")} +
           SizeBlock(V) + QStringList{QStringLiteral("demo.synccameraanddemo 1")};
}

QStringList TimeDemoScript(const TRunValues& V) {
    return QStringList{QStringLiteral("demo.demoMode playback"),
                       QStringLiteral("demo.cameraMode playback")} +
           RecordedCamFiles(V) + SizeBlock(V) +
           QStringList{QStringLiteral("demo.synccameraanddemo 1"),
                       QStringLiteral("demo.timedemo 1"),
                       V.RenderStats ? QStringLiteral("demo.renderstats 4")
                                     : QStringLiteral("demo.renderstats 0"),
                       QStringLiteral("demo.vtuneFrame -1"),
                       QStringLiteral("demo.vtuneRendering 1"),
                       QStringLiteral("demo.vtuneRepeatCount 3")};
}

const TRunModeInfo CModes[] = {
    {rmPlayUserCam, "Play with user camera", false,
     "+wx %s +wy %s %s +szx %s +szy %s +demo quorvane.con +modPath %s", PlayUserCamScript},
    {rmPlayRecordedCam, "Play with recorded camera", true,
     "+wx %s +wy %s %s +szx %s +szy %s +modPath %s +demo quorvane.con", PlayRecordedCamScript},
    {rmRecordCam, "Play and record camera", false,
     "+wx %s +wy %s %s +szx %s +szy %s +noSound 1 +skipMips 10 +modPath %s +demo quorvane.con",
     RecordCamScript},
    {rmRenderVideo, "Render to video", true,
     "+wx %s +wy %s %s +szx %s +szy %s +noSound 1 +modPath %s +demo quorvane.con",
     RenderVideoScript},
    {rmTimeDemo, "Time Demo", true,
     "+wx %s +wy %s %s +szx %s +szy %s +modPath %s +demo quorvane.con", TimeDemoScript},
    {rmSingleplayer, "Singleplayer", false,
     "+wx %s +wy %s %s +szx %s +szy %s +loadLevel %s +ai 1 +gameMode sp1 +modPath %s "
     "+config singleplayer.con",
     nullptr},
};

} // namespace

const TRunModeInfo* RunModeInfo(int Mode) {
    for (const TRunModeInfo& Info : CModes)
        if (Info.Mode == Mode)
            return &Info;
    return nullptr;
}

bool IsIntInRange(const QString& Text, int Min, int Max) {
    int Value = 0;
    return TryStrToInt(Text, Value) && Min <= Value && Value <= Max;
}

bool IsNotBlank(const QString& Text) {
    for (const QChar C : Text)
        if (C.unicode() > 32)
            return true;
    return false;
}

QString ScreenOption(bool Windowed) {
    return Windowed ? QStringLiteral("+fullscreen 0") : QStringLiteral("+fullscreen 1");
}

QString ModPath(const QString& CurrentMod) {
    return QStringLiteral("mods/") + CurrentMod;
}

QString CameraFileName(const QString& CamName) {
    if (QvrFs::ExtractFileExt(CamName) == QLatin1String(".bf2cam"))
        return CamName;
    return CamName + QStringLiteral(".bf2cam");
}

QString CameraFolder(const QString& DemosDir, const QString& BFDir) {
    QString Folder = DemosDir;
    // An empty game folder takes nothing out.
    if (!BFDir.isEmpty())
        Folder.remove(BFDir, Qt::CaseSensitive);
    return Folder;
}

QString RunCommandLine(const TRunModeInfo& Mode, const TRunValues& V) {
    QStringList Args{V.PosX, V.PosY, ScreenOption(V.WinMode), V.Width, V.Height};
    if (Mode.Mode == rmSingleplayer)
        Args << V.SelectedSPMap;
    Args << ModPath(V.CurrentMod);
    return FormatStr(QLatin1String(Mode.CommandLine), Args);
}

QStringList RunLogLines(const QString& ModeName, bool WithScript, const QStringList& Script,
                        const QString& CommandLine) {
    QStringList Lines{FormatStr(QStringLiteral("Mode is: [%s]"), {ModeName})};
    if (WithScript) {
        Lines << QStringLiteral("Demo config file:");
        for (const QString& Line : Script)
            Lines << FormatStr(QStringLiteral("    %s"), {Line});
        Lines << QStringLiteral("-- end of demo config file");
    }
    Lines << QStringLiteral("Executing BF2...")
          << FormatStr(QStringLiteral("Parameters: %s"), {CommandLine});
    return Lines;
}
