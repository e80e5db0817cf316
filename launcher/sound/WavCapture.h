// The capture file: a RIFF WAVE file of 16-bit stereo sound at 44100 Hz,
// recorded while the game plays a demo. Its 44-byte header is written before
// the recording starts and completed after it has stopped; in between only
// the recording thread writes, appending the sound as it comes.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The canonical 44-byte PCM header; all numbers are little-endian on disk.
struct TWavHeader {
    static constexpr int CSize = 44;
    static constexpr int CRiffSizeOffset = 4;
    static constexpr int CDataSizeOffset = 40;

    char ChunkId[4] = {'R', 'I', 'F', 'F'};
    uint32_t RiffSize = 36; // file size - 8
    char FormType[4] = {'W', 'A', 'V', 'E'};
    char SubChunkId[4] = {'f', 'm', 't', ' '};
    uint32_t FmtSize = 16;
    uint16_t FormatTag = 1; // PCM
    uint16_t Channels = 2;
    uint32_t SampleRate = 44100;
    uint32_t BytesPerSecond = 176400;
    uint16_t BlockAlign = 4;
    uint16_t BitsPerSample = 16;
    char DataId[4] = {'d', 'a', 't', 'a'};
    uint32_t DataSize = 0; // file size - 44

    // The two sizes of a file of that many bytes. A size beyond what 32 bits
    // hold is written as the largest one, which readers take as "to the end
    // of the file", rather than as a small number that would hide the rest.
    void SetFileSize(uint64_t FileSize);
    // The header as it stands on disk.
    std::array<char, CSize> Bytes() const;
};

class TWavCapture {
public:
    TWavCapture() = default;
    // Completes a capture that is still open (Finish).
    ~TWavCapture();
    TWavCapture(const TWavCapture&) = delete;
    TWavCapture& operator=(const TWavCapture&) = delete;

    // Creates an empty file at a Windows-form path, opened for reading and
    // writing; a file of that name (found without regard to letter case) is
    // replaced and its content lost. A capture still open is finished first
    // (its recording must have stopped).
    // Raises EFCreateError "Cannot create file \"%s\". %s" with the path and
    // the system's reason.
    void Create(const QString& WinPath);
    // Writes the start header at the beginning of the created file. Raises
    // EInOutError "Write error on \"%s\". %s" and closes the file when the
    // header cannot be written whole.
    void WriteHeader();

    // Called on the recording thread: appends the bytes at the end of the
    // file as they are (no copy, no buffering). After a write fails (disk
    // full, size limit) nothing more is appended and it returns false; the
    // sound written before stays.
    bool Append(const void* Buffer, uint32_t Length) noexcept;

    // Completes the file and closes it: the two sizes of the header are set
    // from the sound really written, which after a failed write is cut to
    // whole frames. A file without a header is closed as it is. Nothing
    // happens when no file is open. The recording must have stopped (its
    // callback no longer runs). False when the sizes could not be written.
    bool Finish() noexcept;

    bool IsOpen() const { return FFile >= 0; }
    // These two are written by Append: read them while no recording runs.
    // The bytes of sound appended so far.
    uint64_t DataBytes() const { return FDataBytes; }
    // The system's error code of the append that failed; 0 while none has.
    int WriteError() const { return FWriteError; }

private:
    void Close() noexcept;

    int FFile = -1;
    QString FPath;
    bool FHasHeader = false;
    uint64_t FDataBytes = 0;
    int FWriteError = 0;
};
