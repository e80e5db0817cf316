// Profile (INI) files. Two ratios, each of two measures taken in turn in every
// iteration so that drift in the machine's load falls on both alike:
// - "ratio" of BM_SectionListingGrowth: the cost per section of listing the
//   sections of a file of 100,000 sections over that of a file of 1,000, each
//   by a new object, so reading and parsing the file count (goal: at most 1.5,
//   that is linear growth);
// - "ratio" of BM_RepeatedRead: a ReadString on the unchanged language file
//   by an object that has read it before, over the first ReadString of a new
//   object (goal: far below 1; the file is parsed once, not at every read).
// BM_RepeatedReadOfRecentFile gives the same for a file modified within the
// last seconds, whose bytes are compared at each read.
#include "common/FileSystem.h"
#include "common/ProfileFile.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "support/BenchRatio.h"

#include <chrono>
#include <cstdio>

namespace {

using TClock = std::chrono::steady_clock;

QString GSmall, GLarge, GOld, GRecent;

bool MakeSections(const QString& Path, int Count) {
    QByteArray Bytes;
    for (int I = 0; I < Count; ++I)
        Bytes +=
            "[Preset " + QByteArray::number(I) + "]\r\nwidth=" + QByteArray::number(I) + "\r\n";
    QFile F(Path);
    return F.open(QIODevice::WriteOnly) && F.write(Bytes) == Bytes.size();
}

bool CopyWithTime(const QString& From, const QString& To, const QDateTime& Modified) {
    QFile F(To);
    return QFile::copy(From, To) && F.open(QIODevice::ReadWrite) &&
           F.setFileTime(Modified, QFileDevice::FileModificationTime);
}

TClock::duration ListSections(const QString& Path, qsizetype Expected) {
    const auto T0 = TClock::now();
    const QStringList Sections = TProfileFile(Path).ReadSections();
    const auto T1 = TClock::now();
    if (Sections.size() != Expected)
        std::fprintf(stderr, "listed %lld sections\n", static_cast<long long>(Sections.size()));
    return T1 - T0;
}

void BM_SectionListingGrowth(benchmark::State& State) {
    TClock::duration Small{}, Large{};
    for (auto _ : State) {
        Small += ListSections(GSmall, 1000);
        Large += ListSections(GLarge, 100000);
    }
    // Per section: the large file has a hundred times as many.
    ReportRatio(State, Large / 100, Small, "per1000_of_100000", "per1000_of_1000");
}
BENCHMARK(BM_SectionListingGrowth)->Unit(benchmark::kMillisecond);

void RepeatedRead(benchmark::State& State, const QString& Path) {
    const TProfileFile Kept(Path);
    Kept.ReadString("Strings", "Found", "");
    TClock::duration First{}, Again{};
    for (auto _ : State) {
        const auto T0 = TClock::now();
        benchmark::DoNotOptimize(TProfileFile(Path).ReadString("Strings", "NoScan", ""));
        const auto T1 = TClock::now();
        benchmark::DoNotOptimize(Kept.ReadString("Strings", "NoScan", ""));
        const auto T2 = TClock::now();
        First += T1 - T0;
        Again += T2 - T1;
    }
    ReportRatio(State, Again, First, "again", "first");
}

void BM_RepeatedRead(benchmark::State& State) {
    RepeatedRead(State, GOld);
}
BENCHMARK(BM_RepeatedRead)->Unit(benchmark::kMicrosecond);

void BM_RepeatedReadOfRecentFile(benchmark::State& State) {
    RepeatedRead(State, GRecent);
}
BENCHMARK(BM_RepeatedReadOfRecentFile)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir Temp;
    const QString English = QStringLiteral(QVR_SOURCE_DIR "/resources/Languages/English.lang");
    GSmall = Temp.filePath(QStringLiteral("Small.ini"));
    GLarge = Temp.filePath(QStringLiteral("Large.ini"));
    GOld = Temp.filePath(QStringLiteral("Old.lang"));
    GRecent = Temp.filePath(QStringLiteral("Recent.lang"));
    // The recent file keeps a time in the future, so it stays recent all run.
    const QDateTime Now = QDateTime::currentDateTime();
    if (!Temp.isValid() || !MakeSections(GSmall, 1000) || !MakeSections(GLarge, 100000) ||
        !CopyWithTime(English, GOld, Now.addDays(-1)) ||
        !CopyWithTime(English, GRecent, Now.addSecs(3600))) {
        std::fprintf(stderr, "cannot make the files\n");
        return 1;
    }
    return RunBenchmarks(argc, argv);
}
