// The game question with some 2,000 other processes running. The baseline is
// one full scan: every process listed, then the name rule applied to each
// (what the question cost before it remembered the game). Goals, as ratios
// measured in the same run:
// - while the game runs, one question costs at most 0.1 of a full scan;
// - while it does not, a watch tick (three questions in one tick) costs at
//   most one full scan.
// A last figure sets the uncached scan against a naive one that reads every
// process's exe link and command line.
#include "launcher/platform/ProcessList.h"

#include "support/Children.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "support/BenchRatio.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>

namespace {

constexpr int ExtraProcesses = 2000;
constexpr int WineProcesses = 8; // a Wine session's usual services

using TClock = std::chrono::steady_clock;

QString GameCopy; // a sleeper named BF2.exe

// Every exe and every cmdline, read the plain way.
void NaiveScan(QStringList& List) {
    DIR* Dir = ::opendir("/proc");
    if (!Dir)
        return;
    const int RootFd = ::dirfd(Dir);
    char Link[4096];
    char Cmdline[4096];
    char Path[NAME_MAX + 16];
    while (const dirent* Entry = ::readdir(Dir)) {
        if (Entry->d_name[0] < '0' || Entry->d_name[0] > '9')
            continue;
        std::snprintf(Path, sizeof Path, "%s/exe", Entry->d_name);
        const ssize_t N = ::readlinkat(RootFd, Path, Link, sizeof Link);
        if (N < 0)
            continue;
        std::snprintf(Path, sizeof Path, "%s/cmdline", Entry->d_name);
        const int Fd = ::openat(RootFd, Path, O_RDONLY | O_CLOEXEC);
        if (Fd >= 0) {
            while (::read(Fd, Cmdline, sizeof Cmdline) > 0) {
            }
            ::close(Fd);
        }
        List.append(QString::fromUtf8(Link, N));
    }
    ::closedir(Dir);
}

// One full scan, timed.
TClock::duration FullScan(TProcFsProcessList& Processes, bool Expected, benchmark::State& State) {
    const auto T0 = TClock::now();
    const bool Running = Processes.IProcessList::IsGameRunning();
    const auto T1 = TClock::now();
    if (Running != Expected)
        State.SkipWithError("the full scan gave another answer");
    return T1 - T0;
}

// Ticks and full scans in turn in each iteration, so that drift in the
// machine's load falls on both alike. Checks: questions per tick.
void BM_Tick(benchmark::State& State, bool GameRuns, int Checks, const std::string& Name) {
    TChildren Game;
    if (GameRuns && Game.Start(GameCopy) < 0) {
        State.SkipWithError("cannot start the game stand-in");
        return;
    }
    TProcFsProcessList Processes;
    // The tick that finds the game is not what is measured.
    if (IsBF2Running(Processes) != GameRuns) {
        State.SkipWithError("the question gave the wrong answer");
        return;
    }
    TClock::duration Ours{}, Full{};
    for (auto _ : State) {
        const auto T0 = TClock::now();
        bool Answers = true;
        {
            TProcessTick Tick(&Processes);
            for (int I = 0; I < Checks; ++I)
                Answers = IsBF2Running(Processes) == GameRuns && Answers;
        }
        const auto T1 = TClock::now();
        Ours += T1 - T0;
        Full += FullScan(Processes, GameRuns, State);
        if (!Answers)
            State.SkipWithError("the question gave the wrong answer");
    }
    ReportRatio(State, Ours, Full, Name, "full_scan");
}
BENCHMARK_CAPTURE(BM_Tick, CheckWhileTheGameRuns, true, 1, "check")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Tick, WatchTickWhileTheGameRuns, true, 3, "watch_tick")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Tick, WatchTickWithoutTheGame, false, 3, "watch_tick")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Tick, CaptureTickWithoutTheGame, false, 2, "capture_tick")
    ->Unit(benchmark::kMillisecond);

// The question outside any tick, while the game does not run: one scan.
void BM_ScanAgainstNaiveScan(benchmark::State& State) {
    TProcFsProcessList Processes;
    TClock::duration Ours{}, Naive{};
    qsizetype Listed = 0;
    for (auto _ : State) {
        const auto T0 = TClock::now();
        benchmark::DoNotOptimize(IsBF2Running(Processes));
        const auto T1 = TClock::now();
        QStringList List;
        NaiveScan(List);
        const auto T2 = TClock::now();
        Ours += T1 - T0;
        Naive += T2 - T1;
        Listed = List.size();
    }
    ReportRatio(State, Ours, Naive, "scan", "naive_scan");
    State.counters["processes"] = static_cast<double>(Listed);
}
BENCHMARK(BM_ScanAgainstNaiveScan)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The sleepers are killed when Children goes, and die with this process
    // should it end any other way.
    TChildren Children;
    QTemporaryDir Temp;
    const QString Loader = Temp.path() + QStringLiteral("/wine64-preloader");
    GameCopy = Temp.path() + QStringLiteral("/BF2.exe");
    if (!Temp.isValid() || !QFile::copy(QStringLiteral(QVR_SLEEPER), Loader) ||
        !QFile::copy(QStringLiteral(QVR_SLEEPER), GameCopy)) {
        std::fprintf(stderr, "cannot make the stand-ins\n");
        return 1;
    }
    for (int I = 0; I < ExtraProcesses; ++I)
        if (Children.Start(QStringLiteral(QVR_SLEEPER)) < 0) {
            std::fprintf(stderr, "could start only %d processes\n", I);
            return 1;
        }
    for (int I = 0; I < WineProcesses; ++I)
        if (Children.Start(Loader, {QStringLiteral("C:\\windows\\system32\\svc%1.exe").arg(I)}) < 0)
            return 1;

    return RunBenchmarks(argc, argv);
}
