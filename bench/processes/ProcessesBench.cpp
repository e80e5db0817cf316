// IsBF2Running with about 2,000 extra processes, against a full scan that reads
// every process's exe link and command line. The "ratio" counter is the time
// of the first over the second; the goal is at most 0.5.
#include "launcher/platform/ProcessList.h"

#include "Children.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "support/BenchRatio.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>

namespace {

constexpr int ExtraProcesses = 2000;
constexpr int WineProcesses = 8; // a Wine session's usual services

// The plain baseline: every exe and every cmdline, read the same way.
void FullScan(QStringList& List) {
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

void BM_IsBF2Running(benchmark::State& State) {
    TProcFsProcessList Processes;
    for (auto _ : State)
        benchmark::DoNotOptimize(IsBF2Running(Processes));
}
BENCHMARK(BM_IsBF2Running)->Unit(benchmark::kMillisecond);

void BM_FullScan(benchmark::State& State) {
    for (auto _ : State) {
        QStringList List;
        FullScan(List);
        benchmark::DoNotOptimize(List);
    }
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond);

// Both in turn in each iteration, so that drift in the machine's load falls on
// both alike.
void BM_Ratio(benchmark::State& State) {
    using TClock = std::chrono::steady_clock;
    TProcFsProcessList Processes;
    TClock::duration Ours{}, Full{};
    qsizetype Listed = 0;
    for (auto _ : State) {
        const auto T0 = TClock::now();
        benchmark::DoNotOptimize(IsBF2Running(Processes));
        const auto T1 = TClock::now();
        QStringList List;
        FullScan(List);
        const auto T2 = TClock::now();
        Ours += T1 - T0;
        Full += T2 - T1;
        Listed = List.size();
    }
    ReportRatio(State, Ours, Full, "is_bf2_running", "full_scan");
    State.counters["processes"] = static_cast<double>(Listed);
}
BENCHMARK(BM_Ratio)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The sleepers are killed when Children goes, and die with this process
    // should it end any other way.
    TChildren Children;
    QTemporaryDir Temp;
    const QString Loader = Temp.path() + QStringLiteral("/wine64-preloader");
    if (!Temp.isValid() || !QFile::copy(QStringLiteral(QVR_SLEEPER), Loader)) {
        std::fprintf(stderr, "cannot make the Wine loader stand-in\n");
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
