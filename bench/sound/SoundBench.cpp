// The capture path: a thread that stands for the audio library's recording
// thread hands a minute of sound, in the library's 50 ms blocks, to the
// launcher's callback, which appends each block to the capture file; the
// blocks come 100 times faster than real time. Counters: "written_ratio" is
// the sound in the finished file over the sound delivered (goal: exactly 1);
// "worst_callback_ms" is the longest single callback and "worst_vs_block"
// that time over the block interval at this speed (goal: below 1, so the
// callback keeps up even here); "ratio" is the time of all callbacks over
// plain write() calls of the same blocks to a file of their own (goal: about 1).
#include "launcher/sound/WavCapture.h"

#include "bass/bass.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "support/BenchRatio.h"

#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int CSpeedUp = 100;
constexpr DWORD CBytesPerSecond = 176400;
constexpr DWORD CBlockBytes = CBytesPerSecond / 20; // 50 ms, as the library delivers
constexpr int CBlocks = 60 * 20;                    // a minute of sound
constexpr auto CInterval = std::chrono::microseconds(50000 / CSpeedUp);

// The launcher's callback: it only appends.
BOOL RecordProc(HRECORD, const void* Buffer, DWORD Length, void* Capture) {
    return static_cast<TWavCapture*>(Capture)->Append(Buffer, Length);
}

struct TFeedResult {
    TClock::duration Total{};
    TClock::duration Worst{};
};

// Feeds every block to Deliver on a thread of its own, paced at CSpeedUp
// times real time, and times each delivery.
template <class TDeliver> TFeedResult Feed(const std::vector<char>& Block, TDeliver Deliver) {
    TFeedResult R;
    std::thread Recorder([&] {
        auto Due = TClock::now();
        for (int I = 0; I < CBlocks; ++I) {
            std::this_thread::sleep_until(Due);
            const auto T0 = TClock::now();
            Deliver(Block.data(), CBlockBytes);
            const auto Took = TClock::now() - T0;
            R.Total += Took;
            R.Worst = std::max(R.Worst, Took);
            Due += CInterval;
        }
    });
    Recorder.join();
    return R;
}

void BM_CapturePath(benchmark::State& State) {
    QTemporaryDir Tmp;
    const QString Ours = Tmp.path() + "/capture.wav";
    const QString Plain = Tmp.path() + "/plain.raw";
    std::vector<char> Block(CBlockBytes);
    for (DWORD I = 0; I < CBlockBytes; ++I)
        Block[I] = static_cast<char>(I * 31);

    TClock::duration OursTotal{}, PlainTotal{}, Worst{};
    double Written = 0, Delivered = 0;
    for (auto _ : State) {
        TWavCapture Capture;
        Capture.Create(Ours);
        Capture.WriteHeader();
        const TFeedResult R = Feed(
            Block, [&](const char* Data, DWORD Length) { RecordProc(1, Data, Length, &Capture); });
        Capture.Finish();

        const int File = ::open(QFile::encodeName(Plain).constData(),
                                O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const TFeedResult P = Feed(Block, [&](const char* Data, DWORD Length) {
            if (::write(File, Data, Length) != static_cast<ssize_t>(Length))
                std::abort();
        });
        ::close(File);

        OursTotal += R.Total;
        PlainTotal += P.Total;
        Worst = std::max(Worst, R.Worst);
        Written += static_cast<double>(QFileInfo(Ours).size() - TWavHeader::CSize);
        Delivered += static_cast<double>(CBlocks) * CBlockBytes;
        State.SetIterationTime(std::chrono::duration<double>(R.Total).count());
    }
    ReportRatio(State, OursTotal, PlainTotal, "callbacks", "plain_write");
    State.counters["written_ratio"] = Written / Delivered;
    State.counters["delivered_mb"] = Delivered / State.iterations() / 1e6;
    State.counters["worst_callback_ms"] = std::chrono::duration<double, std::milli>(Worst).count();
    State.counters["worst_vs_block"] = std::chrono::duration<double>(Worst) / CInterval;
}
BENCHMARK(BM_CapturePath)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
