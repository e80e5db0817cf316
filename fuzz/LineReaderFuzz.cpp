// Fuzzes the remote-console line reader's buffer: arbitrary bytes, cut into
// arbitrary chunks, against a small line limit so over-long lines are common.
// The lines that come out must be those of the whole stream (LineModel.h),
// and the buffer must never hold more than the limit plus one chunk.
//
// Input: byte 0 picks the limit (1 to 64), byte 1 seeds the chunk sizes, the
// rest is the stream.

#include "LineModel.h"
#include "launcher/platform/TcpClient.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 2)
        return 0;
    const qsizetype Max = Data[0] % 64 + 1;
    uint32_t Seed = Data[1] * 2654435761u + 1;
    const QByteArray Stream(reinterpret_cast<const char*>(Data + 2), qsizetype(Size - 2));

    TLineBuffer Buffer(Max);
    QList<QByteArray> Lines;
    qsizetype Pos = 0;
    while (Pos < Stream.size()) {
        Seed = Seed * 1103515245u + 12345u;
        const qsizetype Chunk = std::min<qsizetype>(Stream.size() - Pos, (Seed >> 16) % 97 + 1);
        Buffer.Append(Stream.constData() + Pos, Chunk);
        Pos += Chunk;
        for (;;) {
            QByteArray Line;
            const TLineBuffer::TTake Take = Buffer.TakeLine(Line);
            if (Take == TLineBuffer::ltNone)
                break;
            Check(Take != TLineBuffer::ltLine || Line.size() <= Max);
            Lines.append(Take == TLineBuffer::ltLine ? Line : CTooLong);
        }
        Check(Buffer.Size() <= Max);
    }
    Check(Lines == ExpectedLines(Stream, Max));
    return 0;
}
