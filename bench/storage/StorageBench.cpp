// Extraction of a 64 MiB stored item at each compression level, against
// zlib's own inflate of the same stream into memory in one call. The counter
// "vs_inflate" is extraction throughput over raw inflate throughput (goal:
// at least 0.9); both run in every iteration, one after the other, so they
// share the machine's state.

#include "installer/mxStorage.h"

#include <QBuffer>
#include <QByteArray>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <map>

namespace {

constexpr int FileSize = 64 << 20;

// Text-like data that compresses to about a third: words, numbers and
// separators in an order that does not repeat.
QByteArray SampleFile() {
    static const char* const Words[] = {
        "Battlefield", "demo",     "camera", "render", "take",   "mods\\bf2\\Demos\\",
        "Resolution",  "1024x768", "=",      "\r\n",   "player", "server",
        "quorvane",    "record",   "wav",    "preset", " ",      ";"};
    QByteArray Out;
    Out.reserve(FileSize);
    quint32 Seed = 12345;
    while (Out.size() < FileSize) {
        Seed = Seed * 1664525u + 1013904223u;
        Out += Words[(Seed >> 8) % 18];
        if ((Seed >> 28) < 5)
            Out += QByteArray::number(Seed % 100000);
        if ((Seed >> 24 & 0xF) == 0)
            Out += char(Seed >> 16);
    }
    Out.truncate(FileSize);
    return Out;
}

struct TPrepared {
    TmxStorage Storage;
    TmxStoredItem* Item = nullptr;
    QByteArray Stream; // the item's stored zlib stream
};

TPrepared& Prepared(TCompressionLevel Level) {
    static std::map<TCompressionLevel, TPrepared> Cache;
    TPrepared& P = Cache[Level];
    if (!P.Item) {
        static const QByteArray File = SampleFile();
        QBuffer Source;
        Source.setData(File);
        Source.open(QIODevice::ReadOnly);
        P.Item = P.Storage.StoredItems()->Add();
        P.Item->SetCompression(Level);
        P.Item->LoadFromStream(&Source);
        QBuffer Value;
        Value.open(QIODevice::WriteOnly);
        P.Item->WriteData(&Value);
        P.Stream = Value.data().mid(4);
    }
    return P;
}

// zlib alone: the whole stream into a buffer that holds the whole output.
void RawInflate(const QByteArray& Stream, QByteArray& Out) {
    z_stream Z{};
    inflateInit2(&Z, MAX_WBITS);
    Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Stream.constData()));
    Z.avail_in = static_cast<uInt>(Stream.size());
    Z.next_out = reinterpret_cast<Bytef*>(Out.data());
    Z.avail_out = static_cast<uInt>(Out.size());
    const int Rc = inflate(&Z, Z_FINISH);
    inflateEnd(&Z);
    if (Rc != Z_STREAM_END)
        abort();
}

void BM_Extract(benchmark::State& State) {
    const auto Level = static_cast<TCompressionLevel>(State.range(0));
    TPrepared& P = Prepared(Level);
    QByteArray Dest(FileSize, '\0');
    QBuffer Buffer(&Dest);
    Buffer.open(QIODevice::WriteOnly);
    QByteArray Raw(FileSize + 4, '\0');
    using TClock = std::chrono::steady_clock;
    double ExtractSeconds = 0;
    double InflateSeconds = 0;
    for (auto _ : State) {
        Buffer.seek(0);
        const auto T0 = TClock::now();
        P.Item->SaveToStream(&Buffer);
        const auto T1 = TClock::now();
        RawInflate(P.Stream, Raw);
        const auto T2 = TClock::now();
        const double Extract = std::chrono::duration<double>(T1 - T0).count();
        ExtractSeconds += Extract;
        InflateSeconds += std::chrono::duration<double>(T2 - T1).count();
        State.SetIterationTime(Extract);
    }
    if (Buffer.pos() != FileSize)
        State.SkipWithError("short extraction");
    State.SetBytesProcessed(State.iterations() * qint64(FileSize));
    State.counters["vs_inflate"] = InflateSeconds / ExtractSeconds;
    State.counters["stored_pct"] = 100.0 * P.Stream.size() / FileSize;
}

} // namespace

BENCHMARK(BM_Extract)
    ->ArgName("level")
    ->Arg(clFastest)
    ->Arg(clDefault)
    ->Arg(clMax)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

BENCHMARK_MAIN();
