// Benchmarks report their goal as a ratio against a plain baseline measured
// in the same run, so the answer does not depend on the machine's speed.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

// Sets "ratio" = Ours / Baseline and the mean time of each side in ms.
inline void ReportRatio(benchmark::State& State, std::chrono::nanoseconds Ours,
                        std::chrono::nanoseconds Baseline, const std::string& OursName,
                        const std::string& BaselineName) {
    const double Iterations = static_cast<double>(State.iterations());
    State.counters["ratio"] = std::chrono::duration<double>(Ours) / Baseline;
    State.counters[OursName + "_ms"] =
        std::chrono::duration<double, std::milli>(Ours).count() / Iterations;
    State.counters[BaselineName + "_ms"] =
        std::chrono::duration<double, std::milli>(Baseline).count() / Iterations;
}

// The body of a benchmark's own main, for those that set up a scene first.
inline int RunBenchmarks(int& Argc, char** Argv) {
    benchmark::Initialize(&Argc, Argv);
    if (benchmark::ReportUnrecognizedArguments(Argc, Argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
