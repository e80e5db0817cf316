// The container's persisted description and the trailer that finds it at the
// end of a program file.
#include "installer/mxStorage.h"

#include "common/FileSystem.h"

#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <limits>

using namespace mxStreams;

// The installer carries its container at the end of its own program file:
//
//   program file   := program bytes, description, trailer
//   trailer        := UInt64 LE length of the description, "QVRPAYLD"
//   description    := "QVRS", property*, 0x00
//   property       := UInt8 n (1..255), n bytes of ASCII name, value
//   value          := 0x04 Int32 LE
//                   | 0x07 UInt8 n, n bytes of ASCII identifier (clNone ..)
//                   | 0x0A UInt32 LE L, L bytes
//                   | 0x0E item*, 0x00          (a collection)
//                   | 0x14 UInt32 LE n, n bytes of UTF-8 text
//   item           := 0x01, property*, 0x00
//
// The container's properties, in this order: OriginalSize (Int32), Ratio
// (text), Size (Int32), StoredItems (collection), Version (text). Each item's:
// Compression (identifier, left out for clDefault), Tag, Name, FileName,
// FileSize, Size, Ratio, then StoredItem (0x0A, L = N + 4, then the
// StoredItem value: Int32 LE N and the N stored bytes), left out when the
// item holds no stored byte. Sizes and ratios are written for information and
// skipped on reading. Handlers are code, not data, and are never persisted.
// Any other name, tag, or a length past the end is a damaged description:
// "Stream read error".

namespace {

enum : quint8 {
    vaNull = 0x00,
    vaList = 0x01,
    vaInt32 = 0x04,
    vaIdent = 0x07,
    vaBinary = 0x0A,
    vaCollection = 0x0E,
    vaUtf8String = 0x14,
};

const QByteArray DescriptionSignature = QByteArrayLiteral("QVRS");
const QByteArray TrailerMagic = QByteArrayLiteral("QVRPAYLD");
constexpr qint64 TrailerSize = 16;

// The empty name is the end of a property list.
QByteArray ReadPropertyName(QIODevice* Stream) {
    return ReadBytes(Stream, ReadByte(Stream));
}

void Expect(QIODevice* Stream, quint8 Tag) {
    if (ReadByte(Stream) != Tag)
        RaiseReadError();
}

qint32 ReadIntValue(QIODevice* Stream) {
    Expect(Stream, vaInt32);
    return ReadInt32(Stream);
}

QString ReadTextValue(QIODevice* Stream) {
    Expect(Stream, vaUtf8String);
    return QString::fromUtf8(ReadBytes(Stream, ReadUInt32(Stream)));
}

TCompressionLevel ReadLevelValue(QIODevice* Stream) {
    Expect(Stream, vaIdent);
    TCompressionLevel Level;
    if (!CompressionLevelOfName(ReadBytes(Stream, ReadByte(Stream)), Level))
        RaiseReadError();
    return Level;
}

// Computed values are skipped whatever their kind; nested lists are not
// allowed there, so skipping never recurses.
void SkipValue(QIODevice* Stream) {
    switch (ReadByte(Stream)) {
    case vaInt32:
        ReadBytes(Stream, 4);
        break;
    case vaIdent:
        ReadBytes(Stream, ReadByte(Stream));
        break;
    case vaBinary:
    case vaUtf8String:
        ReadBytes(Stream, ReadUInt32(Stream));
        break;
    default:
        RaiseReadError();
    }
}

void ReadItem(QIODevice* Stream, TmxStoredItem* Item) {
    for (;;) {
        const QByteArray Name = ReadPropertyName(Stream);
        if (Name.isEmpty())
            return;
        if (Name == "Compression") {
            Item->SetCompression(ReadLevelValue(Stream));
        } else if (Name == "Tag") {
            Item->SetTag(ReadIntValue(Stream));
        } else if (Name == "Name") {
            Item->SetName(ReadTextValue(Stream));
        } else if (Name == "FileName") {
            Item->SetFileName(ReadTextValue(Stream));
        } else if (Name == "FileSize") {
            Item->SetFileSize(ReadIntValue(Stream));
        } else if (Name == "Size" || Name == "Ratio") {
            SkipValue(Stream);
        } else if (Name == "StoredItem") {
            Expect(Stream, vaBinary);
            const quint32 Length = ReadUInt32(Stream);
            Item->ReadData(Stream);
            if (Length != quint32(Item->Size()) + 4)
                RaiseReadError();
        } else {
            RaiseReadError();
        }
    }
}

void WritePropertyName(QIODevice* Stream, const char* Name) {
    const auto Length = static_cast<quint8>(qstrlen(Name));
    WriteByte(Stream, Length);
    WriteBuffer(Stream, Name, Length);
}

void WriteIntProperty(QIODevice* Stream, const char* Name, qint64 Value) {
    WritePropertyName(Stream, Name);
    WriteByte(Stream, vaInt32);
    WriteInt32(Stream, static_cast<qint32>(std::clamp<qint64>(
                           Value, std::numeric_limits<qint32>::min(), MaxStored)));
}

void WriteTextProperty(QIODevice* Stream, const char* Name, const QString& Value) {
    const QByteArray Utf8 = Value.toUtf8();
    WritePropertyName(Stream, Name);
    WriteByte(Stream, vaUtf8String);
    WriteUInt32(Stream, static_cast<quint32>(Utf8.size()));
    WriteBuffer(Stream, Utf8.constData(), Utf8.size());
}

void WriteItem(QIODevice* Stream, const TmxStoredItem* Item) {
    WriteByte(Stream, vaList);
    if (Item->Compression() != clDefault) {
        const char* Ident = CompressionLevelName(Item->Compression());
        WritePropertyName(Stream, "Compression");
        WriteByte(Stream, vaIdent);
        WriteByte(Stream, static_cast<quint8>(qstrlen(Ident)));
        WriteBuffer(Stream, Ident, qstrlen(Ident));
    }
    WriteIntProperty(Stream, "Tag", Item->Tag());
    WriteTextProperty(Stream, "Name", Item->Name());
    WriteTextProperty(Stream, "FileName", Item->FileName());
    WriteIntProperty(Stream, "FileSize", Item->FileSize());
    WriteIntProperty(Stream, "Size", Item->Size());
    WriteTextProperty(Stream, "Ratio", Item->Ratio());
    if (Item->Size() > 0) {
        WritePropertyName(Stream, "StoredItem");
        WriteByte(Stream, vaBinary);
        WriteUInt32(Stream, static_cast<quint32>(Item->Size()) + 4);
        Item->WriteData(Stream);
    }
    WriteByte(Stream, vaNull);
}

} // namespace

const char* CompressionLevelName(TCompressionLevel Level) {
    static const char* const Names[] = {"clNone", "clFastest", "clDefault", "clMax"};
    return Level <= clMax ? Names[Level] : "";
}

bool CompressionLevelOfName(const QByteArray& Name, TCompressionLevel& Level) {
    for (int L = clNone; L <= clMax; ++L) {
        if (Name == CompressionLevelName(static_cast<TCompressionLevel>(L))) {
            Level = static_cast<TCompressionLevel>(L);
            return true;
        }
    }
    return false;
}

void TmxStorage::ReadDescription(QIODevice* Stream) {
    FStoredItems->Clear();
    if (!Stream)
        RaiseReadError();
    TmxStorageLoading Loading(this);
    try {
        if (ReadBytes(Stream, DescriptionSignature.size()) != DescriptionSignature)
            RaiseReadError();
        for (;;) {
            const QByteArray Name = ReadPropertyName(Stream);
            if (Name.isEmpty())
                break;
            if (Name == "StoredItems") {
                Expect(Stream, vaCollection);
                for (quint8 Marker; (Marker = ReadByte(Stream)) != vaNull;) {
                    if (Marker != vaList)
                        RaiseReadError();
                    ReadItem(Stream, FStoredItems->Add());
                }
            } else if (Name == "OriginalSize" || Name == "Ratio" || Name == "Size" ||
                       Name == "Version") {
                SkipValue(Stream);
            } else {
                RaiseReadError();
            }
        }
    } catch (...) {
        FStoredItems->Clear();
        throw;
    }
}

void TmxStorage::WriteDescription(QIODevice* Stream) const {
    if (!Stream)
        RaiseWriteError();
    WriteBuffer(Stream, DescriptionSignature.constData(), DescriptionSignature.size());
    WriteIntProperty(Stream, "OriginalSize", OriginalSize());
    WriteTextProperty(Stream, "Ratio", Ratio());
    WriteIntProperty(Stream, "Size", Size());
    WritePropertyName(Stream, "StoredItems");
    WriteByte(Stream, vaCollection);
    for (int I = 0; I < FStoredItems->Count(); ++I)
        WriteItem(Stream, FStoredItems->Items(I));
    WriteByte(Stream, vaNull);
    WriteTextProperty(Stream, "Version", Version());
    WriteByte(Stream, vaNull);
}

void TmxStorage::SaveToPayload(QIODevice* Stream) const {
    if (!Stream || Stream->isSequential())
        RaiseWriteError();
    const qint64 Start = Stream->pos();
    WriteDescription(Stream);
    uchar Length[8];
    qToLittleEndian(static_cast<quint64>(Stream->pos() - Start), Length);
    WriteBuffer(Stream, reinterpret_cast<const char*>(Length), 8);
    WriteBuffer(Stream, TrailerMagic.constData(), TrailerMagic.size());
}

void TmxStorage::LoadFromPayload(QIODevice* Stream) {
    FStoredItems->Clear();
    if (!Stream || Stream->isSequential())
        RaiseReadError();
    const qint64 End = Stream->size() - TrailerSize;
    if (End < 0 || !Stream->seek(End))
        RaiseReadError();
    const QByteArray Trailer = ReadBytes(Stream, TrailerSize);
    if (Trailer.mid(8) != TrailerMagic)
        RaiseReadError();
    const auto Length = qFromLittleEndian<quint64>(Trailer.constData());
    if (Length > quint64(End) || !Stream->seek(End - qint64(Length)))
        RaiseReadError();
    ReadDescription(Stream);
    if (Stream->pos() != End) {
        FStoredItems->Clear();
        RaiseReadError();
    }
}

void TmxStorage::LoadFromFile(const QString& Path) {
    QFile File(QvrFs::HostPath(Path));
    if (!File.open(QIODevice::ReadOnly))
        throw EFOpenError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(Path, File.errorString()));
    LoadFromPayload(&File);
}
