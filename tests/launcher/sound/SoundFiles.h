// What the capture tests share: sound to hand over, the header a complete
// capture file starts with, its loudest sample, and a file-size limit that
// makes writes fail as a full disk does.
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <sys/resource.h>

// Sound bytes that differ from block to block.
inline QByteArray Sound(int Length, char Seed) {
    QByteArray Out(Length, '\0');
    for (int I = 0; I < Length; ++I)
        Out[I] = static_cast<char>(Seed + I * 7);
    return Out;
}

// The header a file holding that many bytes of sound must start with.
inline QByteArray ExpectedHeader(uint32_t DataBytes) {
    QByteArray H = QByteArray::fromHex("52494646") + QByteArray(4, '\0') +
                   QByteArray::fromHex("57415645"    // "WAVE"
                                       "666d7420"    // "fmt "
                                       "10000000"    // 16
                                       "0100"        // PCM
                                       "0200"        // 2 channels
                                       "44ac0000"    // 44100
                                       "10b10200"    // 176400
                                       "0400"        // 4
                                       "1000"        // 16
                                       "64617461") + // "data"
                   QByteArray(4, '\0');
    qToLittleEndian<uint32_t>(DataBytes + 36, H.data() + 4);
    qToLittleEndian<uint32_t>(DataBytes, H.data() + 40);
    return H;
}

// The largest sample of the sound after a 44-byte header.
inline int Peak(const QByteArray& File) {
    int Peak = 0;
    for (qsizetype I = 44; I + 1 < File.size(); I += 2)
        Peak = std::max(Peak, std::abs(int{qFromLittleEndian<int16_t>(File.constData() + I)}));
    return Peak;
}

// Lowers the file size limit of this process for one test, with the signal
// that would end the process turned off, so a write beyond it fails.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Limit) {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit New = FOld;
        New.rlim_cur = Limit;
        setrlimit(RLIMIT_FSIZE, &New);
    }
    ~TFileSizeLimit() { Lift(); }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    void Lift() {
        if (FLifted)
            return;
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
        FLifted = true;
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
    bool FLifted = false;
};
