// The file list of a project of 10,000 demo, camera and sound files, against
// a plain listing of the same folder (one opendir/readdir pass that keeps each
// name as a string). The "ratio" counters are the time of the first over the
// second: for the folder rule under the list (ListLibraryFiles) and for the
// window's whole FillFileList, items and icons included. The goal is at most 2.
#include "common/Dialogs.h"
#include "common/FileSystem.h"
#include "launcher/library/Library.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/shell/qvr_Main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include "support/BenchRatio.h"
#include "support/QuietDialogs.h"

#include <chrono>
#include <cstdio>
#include <dirent.h>

namespace {

constexpr int DemoFiles = 4000;
constexpr int CameraFiles = 3000;
constexpr int SoundFiles = 3000;

QString GProjectHost;
QString GProjectWin;
TfrmMain* GWindow = nullptr;

// The plain baseline.
QStringList PlainListing(const QString& HostDir) {
    QStringList Names;
    DIR* Dir = ::opendir(QFile::encodeName(HostDir).constData());
    if (!Dir)
        return Names;
    while (const dirent* Entry = ::readdir(Dir))
        Names.append(QFile::decodeName(Entry->d_name));
    ::closedir(Dir);
    return Names;
}

// The project: the three kinds interleaved, so that the listing is not
// already in the order of the kinds.
bool MakeProject(const QString& HostDir) {
    if (!QDir().mkpath(HostDir))
        return false;
    for (int I = 0; I < DemoFiles + CameraFiles + SoundFiles; ++I) {
        const char* Ext = I % 10 < 4 ? "bf2demo" : I % 10 < 7 ? "bf2cam" : "wav";
        QFile F(QStringLiteral("%1/take%2.%3").arg(HostDir).arg(I, 5, 10, QChar(u'0')).arg(Ext));
        if (!F.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

void BM_PlainListing(benchmark::State& State) {
    for (auto _ : State)
        benchmark::DoNotOptimize(PlainListing(GProjectHost));
}
BENCHMARK(BM_PlainListing)->Unit(benchmark::kMillisecond);

void BM_ListLibraryFiles(benchmark::State& State) {
    for (auto _ : State)
        benchmark::DoNotOptimize(ListLibraryFiles(GProjectWin));
}
BENCHMARK(BM_ListLibraryFiles)->Unit(benchmark::kMillisecond);

// The same result by one search per mask, as a reference.
void BM_SearchPerMask(benchmark::State& State) {
    for (auto _ : State)
        for (const char* Mask : {"*.bf2demo", "*.bf2cam", "*.wav"})
            benchmark::DoNotOptimize(QvrFs::FindFiles(GProjectWin + QLatin1String(Mask)));
}
BENCHMARK(BM_SearchPerMask)->Unit(benchmark::kMillisecond);

void BM_FillFileList(benchmark::State& State) {
    auto* List = GWindow->findChild<QTreeWidget*>(QStringLiteral("edFiles"));
    for (auto _ : State)
        GWindow->Library().FillFileList(GProjectWin, List);
    State.counters["items"] = List->topLevelItemCount();
}
BENCHMARK(BM_FillFileList)->Unit(benchmark::kMillisecond);

// Each measured and its baseline in turn in every iteration, so that drift in
// the machine's load falls on both alike.
template <typename F> void Ratio(benchmark::State& State, F&& Measured) {
    using TClock = std::chrono::steady_clock;
    TClock::duration Ours{}, Plain{};
    for (auto _ : State) {
        const auto T0 = TClock::now();
        Measured();
        const auto T1 = TClock::now();
        benchmark::DoNotOptimize(PlainListing(GProjectHost));
        const auto T2 = TClock::now();
        Ours += T1 - T0;
        Plain += T2 - T1;
    }
    ReportRatio(State, Ours, Plain, "ours", "plain");
}

void BM_RatioListLibraryFiles(benchmark::State& State) {
    Ratio(State, [] { benchmark::DoNotOptimize(ListLibraryFiles(GProjectWin)); });
}
BENCHMARK(BM_RatioListLibraryFiles)->Unit(benchmark::kMillisecond);

void BM_RatioFillFileList(benchmark::State& State) {
    auto* List = GWindow->findChild<QTreeWidget*>(QStringLiteral("edFiles"));
    Ratio(State, [List] { GWindow->Library().FillFileList(GProjectWin, List); });
}
BENCHMARK(BM_RatioFillFileList)->Unit(benchmark::kMillisecond);

// The window's world, reduced to what start-up asks of it.
class TQuietBass : public IBass {
public:
    uint32_t GetVersion() override { return CBassVersion; }
    bool RecordInit(int) override { return true; }
    bool Init(int, uint32_t, uint32_t, void*) override { return true; }
    bool RecordFree() override { return true; }
    bool Free() override { return true; }
    bool Stop() override { return true; }
    // A device without inputs that cannot record.
    std::optional<QString> RecordGetInputName(int) override { return std::nullopt; }
    uint32_t RecordGetInput(int) override { return 0xFFFFFFFF; }
    bool RecordSetInput(int, uint32_t) override { return false; }
    uint32_t RecordStart(uint32_t, uint32_t, uint32_t, TRecordProc, void*) override { return 0; }
    bool ChannelStop(uint32_t) override { return false; }
};

class TNoProcesses : public IProcessList {
public:
    void ListProcessModules(QStringList&) override {}
};

class TNoStarter : public IProgramStarter {
public:
    bool ShellOpen(const QString&, const QString&, const QString&, QString*) override {
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir Temp;
    // A private world: the window's start-up looks at the user's folders.
    qputenv("HOME", QFile::encodeName(Temp.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Temp.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Temp.path() + QStringLiteral("/data")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(Temp.path()));
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));

    const QString AppHost = Temp.path() + QStringLiteral("/Quorvane");
    GProjectHost = Temp.path() + QStringLiteral("/Battlefield 2/mods/bf2/Demos/Big");
    if (!Temp.isValid() || !QDir().mkpath(AppHost + QStringLiteral("/Languages")) ||
        !QFile::copy(QStringLiteral(QVR_SOURCE_DIR "/resources/Languages/English.lang"),
                     AppHost + QStringLiteral("/Languages/English.lang")) ||
        !MakeProject(GProjectHost)) {
        std::fprintf(stderr, "cannot make the program and project folders\n");
        return 1;
    }
    GProjectWin = QvrFs::WinPathOfHost(GProjectHost) + u'\\';

    TQuietDialogs Dialogs;
    TSystemClock Clock;
    TNoStarter Starter;
    TNoProcesses Processes;
    TQuietBass Bass;
    TfrmMain Window(
        {&Dialogs, &Clock, &Starter, &Processes, &Bass, AppHost + QStringLiteral("/qvr")});
    GWindow = &Window;

    return RunBenchmarks(argc, argv);
}
