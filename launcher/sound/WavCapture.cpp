#include "launcher/sound/WavCapture.h"

#include "common/Errors.h"
#include "common/FileSystem.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <type_traits>
#include <unistd.h>

namespace {

constexpr uint64_t CMaxSize = UINT32_MAX;

// Writes the whole buffer at the file's position; the bytes that got there.
uint64_t WriteAll(int File, const char* Data, uint64_t Length, int& Error) {
    uint64_t Done = 0;
    Error = 0;
    while (Done < Length) {
        const ssize_t N = ::write(File, Data + Done, Length - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            Error = N < 0 ? errno : ENOSPC;
            break;
        }
        Done += static_cast<uint64_t>(N);
    }
    return Done;
}

bool WriteU32At(int File, uint32_t Value, off_t Offset) {
    char Bytes[4];
    qToLittleEndian(Value, Bytes);
    ssize_t N;
    do {
        N = ::pwrite(File, Bytes, sizeof Bytes, Offset);
    } while (N < 0 && errno == EINTR);
    return N == sizeof Bytes;
}

} // namespace

void TWavHeader::SetFileSize(uint64_t FileSize) {
    RiffSize = static_cast<uint32_t>(std::min(FileSize - 8, CMaxSize));
    DataSize = static_cast<uint32_t>(std::min(FileSize - CSize, CMaxSize));
}

std::array<char, TWavHeader::CSize> TWavHeader::Bytes() const {
    std::array<char, CSize> Out{};
    char* P = Out.data();
    auto Put = [&P](const auto& Field) {
        if constexpr (std::is_array_v<std::remove_reference_t<decltype(Field)>>) {
            std::memcpy(P, Field, sizeof Field);
        } else {
            qToLittleEndian(Field, P);
        }
        P += sizeof Field;
    };
    Put(ChunkId);
    Put(RiffSize);
    Put(FormType);
    Put(SubChunkId);
    Put(FmtSize);
    Put(FormatTag);
    Put(Channels);
    Put(SampleRate);
    Put(BytesPerSecond);
    Put(BlockAlign);
    Put(BitsPerSample);
    Put(DataId);
    Put(DataSize);
    return Out;
}

TWavCapture::~TWavCapture() {
    Finish();
}

void TWavCapture::Create(const QString& WinPath) {
    Finish();
    const QByteArray Host = QFile::encodeName(QvrFs::HostPath(WinPath));
    const int File = WinPath.isEmpty()
                         ? -1
                         : ::open(Host.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (File < 0) {
        const int Error = WinPath.isEmpty() ? ENOENT : errno;
        throw EFCreateError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(WinPath, qt_error_string(Error)));
    }
    FFile = File;
    FPath = WinPath;
    FHasHeader = false;
    FDataBytes = 0;
    FWriteError = 0;
}

void TWavCapture::WriteHeader() {
    if (!IsOpen())
        return;
    const auto Bytes = TWavHeader().Bytes();
    int Error = 0;
    if (WriteAll(FFile, Bytes.data(), Bytes.size(), Error) != Bytes.size()) {
        Close();
        throw EInOutError(
            QStringLiteral("Write error on \"%1\". %2").arg(FPath, qt_error_string(Error)));
    }
    FHasHeader = true;
}

bool TWavCapture::Append(const void* Buffer, uint32_t Length) noexcept {
    if (!IsOpen() || FWriteError != 0)
        return false;
    FDataBytes += WriteAll(FFile, static_cast<const char*>(Buffer), Length, FWriteError);
    return FWriteError == 0;
}

bool TWavCapture::Finish() noexcept {
    if (!IsOpen())
        return true;
    bool Ok = true;
    if (FHasHeader) {
        TWavHeader Header;
        if (FWriteError != 0) {
            // A write that stopped part-way leaves part of a frame; the file
            // keeps whole frames only, so its header can say what it holds.
            const uint64_t Whole = FDataBytes - FDataBytes % Header.BlockAlign;
            if (Whole != FDataBytes &&
                ::ftruncate(FFile, static_cast<off_t>(TWavHeader::CSize + Whole)) == 0)
                FDataBytes = Whole;
        }
        Header.SetFileSize(TWavHeader::CSize + FDataBytes);
        Ok = WriteU32At(FFile, Header.RiffSize, TWavHeader::CRiffSizeOffset) &&
             WriteU32At(FFile, Header.DataSize, TWavHeader::CDataSizeOffset);
    }
    Close();
    return Ok;
}

void TWavCapture::Close() noexcept {
    if (FFile >= 0)
        ::close(FFile);
    FFile = -1;
    FHasHeader = false;
}
