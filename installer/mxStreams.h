// The byte-level ground of the stored-file container: exact reads and writes
// of little-endian values on a device, and the zlib streams that hold a
// compressed item (an Int32 size prefix, then the file's bytes).
#pragma once

#include "common/Errors.h"

#include <QByteArray>
#include <QtGlobal>

#include <limits>

class QIODevice;

// zlib refused to compress; the message is zlib's own text.
class EZCompressionError : public EError {
    using EError::EError;
};
// A stored zlib stream that does not inflate; the message is zlib's own text.
class EZDecompressionError : public EError {
    using EError::EError;
};

namespace mxStreams {

// Extraction and stores stream through a buffer of this size, never through
// a full copy of the file.
inline constexpr qint64 ChunkSize = 256 * 1024;
// Sizes and counts are Int32 in the stored form.
inline constexpr qint64 MaxStored = std::numeric_limits<qint32>::max();

// EReadError "Stream read error" / EInOutError "Stream write error".
[[noreturn]] void RaiseReadError();
[[noreturn]] void RaiseWriteError();

// Exactly Count bytes, or "Stream read error".
void ReadBuffer(QIODevice* Stream, char* Data, qint64 Count);
// Count bytes, refused before any allocation when the device cannot hold
// them, so a bogus length in damaged input costs nothing.
QByteArray ReadBytes(QIODevice* Stream, qint64 Count);
quint8 ReadByte(QIODevice* Stream);
quint32 ReadUInt32(QIODevice* Stream);
qint32 ReadInt32(QIODevice* Stream);

// All Count bytes, or "Stream write error".
void WriteBuffer(QIODevice* Stream, const char* Data, qint64 Count);
void WriteByte(QIODevice* Stream, quint8 Value);
void WriteUInt32(QIODevice* Stream, quint32 Value);
void WriteInt32(QIODevice* Stream, qint32 Value);

// One zlib stream (window bits 15, memory level 8, default strategy) at
// ZlibLevel of the Int32 Count followed by Count bytes read from Source.
QByteArray DeflateSized(QIODevice* Source, qint64 Count, int ZlibLevel);
// Inflates such a stream and writes the S bytes that follow its size prefix
// into Dest. A stream that ends early is "Stream read error"; one that does
// not inflate, or fails its checksum, raises zlib's text.
void InflateSized(const QByteArray& Stored, QIODevice* Dest);

} // namespace mxStreams
