#include "common/TextCodec.h"

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The undefined ones (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) keep their own number, as Windows itself converts them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

bool IsContinuation(unsigned char B) {
    return (B & 0xC0) == 0x80;
}

} // namespace

bool IsValidUtf8(const QByteArray& Bytes) {
    const auto* P = reinterpret_cast<const unsigned char*>(Bytes.constData());
    const qsizetype End = Bytes.size();
    qsizetype I = 0;
    while (I < End) {
        const unsigned char B = P[I];
        if (B < 0x80) {
            ++I;
            continue;
        }
        int Count;
        char32_t Cp;
        char32_t Min;
        if ((B & 0xE0) == 0xC0) {
            Count = 1, Cp = B & 0x1F, Min = 0x80;
        } else if ((B & 0xF0) == 0xE0) {
            Count = 2, Cp = B & 0x0F, Min = 0x800;
        } else if ((B & 0xF8) == 0xF0) {
            Count = 3, Cp = B & 0x07, Min = 0x10000;
        } else {
            return false;
        }
        if (End - I - 1 < Count)
            return false;
        for (int K = 1; K <= Count; ++K) {
            if (!IsContinuation(P[I + K]))
                return false;
            Cp = (Cp << 6) | (P[I + K] & 0x3F);
        }
        if (Cp < Min || Cp > 0x10FFFF || (Cp >= 0xD800 && Cp <= 0xDFFF))
            return false;
        I += Count + 1;
    }
    return true;
}

QString DecodeWindows1252(const QByteArray& Bytes) {
    QString Text(Bytes.size(), Qt::Uninitialized);
    QChar* Out = Text.data();
    for (qsizetype I = 0; I < Bytes.size(); ++I) {
        const auto B = static_cast<unsigned char>(Bytes[I]);
        Out[I] = (B >= 0x80 && B <= 0x9F) ? QChar(Cp1252High[B - 0x80]) : QChar(B);
    }
    return Text;
}

QString DecodeAnsi(const QByteArray& Bytes) {
    if (!IsValidUtf8(Bytes))
        return DecodeWindows1252(Bytes);
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(Bytes.constData() + 3, Bytes.size() - 3);
    return QString::fromUtf8(Bytes);
}

QByteArray EncodeWindows1252(const QString& Text) {
    QByteArray Bytes;
    Bytes.reserve(Text.size());
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const char16_t U = Text[I].unicode();
        if (U < 0x80 || (U >= 0xA0 && U <= 0xFF)) {
            Bytes.append(static_cast<char>(U));
            continue;
        }
        char Mapped = '?';
        for (int K = 0; K < 32; ++K) {
            if (Cp1252High[K] == U) {
                Mapped = static_cast<char>(0x80 + K);
                break;
            }
        }
        // A character outside the basic plane is one character, so one '?'.
        if (QChar::isHighSurrogate(U) && I + 1 < Text.size() && Text[I + 1].isLowSurrogate())
            ++I;
        Bytes.append(Mapped);
    }
    return Bytes;
}

QByteArray EncodeUtf8(const QString& Text) {
    return Text.toUtf8();
}
