#include "installer/mxStreams.h"

#include <QIODevice>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <memory>

namespace mxStreams {

namespace {

QString ZlibText(const z_stream& Z, int Rc) {
    return QString::fromLatin1(Z.msg ? Z.msg : zError(Rc));
}

// Inflates exactly Count bytes into Out. Returns whether the zlib stream
// ended with them; a stream that ends or runs out of input before is a short
// read, a stream that does not inflate raises zlib's text.
bool InflateExact(z_stream& Z, uchar* Out, uInt Count) {
    Z.next_out = Out;
    Z.avail_out = Count;
    while (Z.avail_out > 0) {
        const int Rc = inflate(&Z, Z_NO_FLUSH);
        if (Rc == Z_STREAM_END) {
            if (Z.avail_out > 0)
                RaiseReadError();
            return true;
        }
        if (Rc == Z_BUF_ERROR)
            RaiseReadError();
        if (Rc != Z_OK)
            throw EZDecompressionError(ZlibText(Z, Rc));
    }
    return false;
}

struct TInflateEnd {
    z_stream* Z;
    ~TInflateEnd() { inflateEnd(Z); }
};

struct TDeflateEnd {
    z_stream* Z;
    ~TDeflateEnd() { deflateEnd(Z); }
};

} // namespace

// --- plain reads and writes -------------------------------------------------

void RaiseReadError() {
    throw EReadError(QStringLiteral("Stream read error"));
}

void RaiseWriteError() {
    throw EInOutError(QStringLiteral("Stream write error"));
}

void ReadBuffer(QIODevice* Stream, char* Data, qint64 Count) {
    while (Count > 0) {
        const qint64 Got = Stream->read(Data, Count);
        if (Got <= 0)
            RaiseReadError();
        Data += Got;
        Count -= Got;
    }
}

QByteArray ReadBytes(QIODevice* Stream, qint64 Count) {
    if (Count < 0)
        RaiseReadError();
    QByteArray Bytes;
    if (!Stream->isSequential()) {
        if (Count > Stream->size() - Stream->pos())
            RaiseReadError();
        Bytes.resize(Count);
        ReadBuffer(Stream, Bytes.data(), Count);
        return Bytes;
    }
    while (Bytes.size() < Count) {
        const qint64 Old = Bytes.size();
        const qint64 Step = std::min(Count - Old, ChunkSize);
        Bytes.resize(Old + Step);
        ReadBuffer(Stream, Bytes.data() + Old, Step);
    }
    return Bytes;
}

quint8 ReadByte(QIODevice* Stream) {
    char Byte;
    ReadBuffer(Stream, &Byte, 1);
    return static_cast<quint8>(Byte);
}

quint32 ReadUInt32(QIODevice* Stream) {
    uchar Bytes[4];
    ReadBuffer(Stream, reinterpret_cast<char*>(Bytes), 4);
    return qFromLittleEndian<quint32>(Bytes);
}

qint32 ReadInt32(QIODevice* Stream) {
    return static_cast<qint32>(ReadUInt32(Stream));
}

void WriteBuffer(QIODevice* Stream, const char* Data, qint64 Count) {
    while (Count > 0) {
        const qint64 Put = Stream->write(Data, Count);
        if (Put <= 0)
            RaiseWriteError();
        Data += Put;
        Count -= Put;
    }
}

void WriteByte(QIODevice* Stream, quint8 Value) {
    const char Byte = static_cast<char>(Value);
    WriteBuffer(Stream, &Byte, 1);
}

void WriteUInt32(QIODevice* Stream, quint32 Value) {
    uchar Bytes[4];
    qToLittleEndian(Value, Bytes);
    WriteBuffer(Stream, reinterpret_cast<const char*>(Bytes), 4);
}

void WriteInt32(QIODevice* Stream, qint32 Value) {
    WriteUInt32(Stream, static_cast<quint32>(Value));
}

// --- zlib -------------------------------------------------------------------

QByteArray DeflateSized(QIODevice* Source, qint64 Count, int ZlibLevel) {
    z_stream Z{};
    const int Rc = deflateInit2(&Z, ZlibLevel, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (Rc != Z_OK)
        throw EZCompressionError(ZlibText(Z, Rc));
    TDeflateEnd End{&Z};

    QByteArray Stored;
    const auto Out = std::make_unique_for_overwrite<uchar[]>(ChunkSize);
    auto Push = [&](const uchar* Data, qint64 Size, int Flush) {
        Z.next_in = const_cast<Bytef*>(Data);
        Z.avail_in = static_cast<uInt>(Size);
        do {
            Z.next_out = Out.get();
            Z.avail_out = static_cast<uInt>(ChunkSize);
            const int Result = deflate(&Z, Flush);
            if (Result == Z_STREAM_ERROR)
                throw EZCompressionError(ZlibText(Z, Result));
            Stored.append(reinterpret_cast<const char*>(Out.get()), ChunkSize - Z.avail_out);
            if (Stored.size() > MaxStored)
                RaiseWriteError();
        } while (Z.avail_out == 0);
    };

    uchar Prefix[4];
    qToLittleEndian(static_cast<qint32>(Count), Prefix);
    Push(Prefix, 4, Z_NO_FLUSH);
    const auto In = std::make_unique_for_overwrite<uchar[]>(ChunkSize);
    for (qint64 Left = Count; Left > 0;) {
        const qint64 Step = std::min(Left, ChunkSize);
        ReadBuffer(Source, reinterpret_cast<char*>(In.get()), Step);
        Push(In.get(), Step, Z_NO_FLUSH);
        Left -= Step;
    }
    Push(nullptr, 0, Z_FINISH);
    Stored.squeeze();
    return Stored;
}

void InflateSized(const QByteArray& Stored, QIODevice* Dest) {
    z_stream Z{};
    Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Stored.constData()));
    Z.avail_in = static_cast<uInt>(Stored.size());
    const int Rc = inflateInit2(&Z, MAX_WBITS);
    if (Rc != Z_OK)
        throw EZDecompressionError(ZlibText(Z, Rc));
    TInflateEnd End{&Z};

    uchar Prefix[4];
    bool Ended = InflateExact(Z, Prefix, 4);
    const qint32 FileBytes = qFromLittleEndian<qint32>(Prefix);
    if (FileBytes < 0)
        RaiseReadError();

    const auto Buffer = std::make_unique_for_overwrite<uchar[]>(ChunkSize);
    qint64 Left = FileBytes;
    while (Left > 0) {
        if (Ended)
            RaiseReadError();
        const auto Step = static_cast<uInt>(std::min(Left, ChunkSize));
        Ended = InflateExact(Z, Buffer.get(), Step);
        WriteBuffer(Dest, reinterpret_cast<const char*>(Buffer.get()), Step);
        Left -= Step;
    }

    // The file is out; one more step reaches the stream's end and its
    // checksum, so a damaged stream does not pass for a good file. Data past
    // the file's bytes is not part of the file and is left alone.
    if (!Ended) {
        Z.next_out = Buffer.get();
        Z.avail_out = static_cast<uInt>(ChunkSize);
        const int Tail = inflate(&Z, Z_NO_FLUSH);
        if (Tail == Z_OK && Z.avail_out == 0)
            return;
        if (Tail == Z_OK || Tail == Z_BUF_ERROR)
            RaiseReadError();
        if (Tail != Z_STREAM_END)
            throw EZDecompressionError(ZlibText(Z, Tail));
    }
}

} // namespace mxStreams
