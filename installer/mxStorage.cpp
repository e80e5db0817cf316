#include "installer/mxStorage.h"

#include "common/FileSystem.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

// Extraction and stores stream through a buffer of this size, never through
// a full copy of the file.
constexpr qint64 ChunkSize = 256 * 1024;
// Sizes and counts are Int32 in the stored form.
constexpr qint64 MaxStored = std::numeric_limits<qint32>::max();

[[noreturn]] void RaiseReadError() {
    throw EReadError(QStringLiteral("Stream read error"));
}

[[noreturn]] void RaiseWriteError() {
    throw EInOutError(QStringLiteral("Stream write error"));
}

QString ZlibText(const z_stream& Z, int Rc) {
    return QString::fromLatin1(Z.msg ? Z.msg : zError(Rc));
}

// The form under which names compare with letter case ignored: each code
// point case-folded on its own, as QString::compare does without case.
QString NameKey(const QString& Name) {
    QString Key;
    Key.reserve(Name.size());
    for (const char32_t C : Name.toUcs4())
        Key.append(QChar::fromUcs4(QChar::toCaseFolded(C)));
    return Key;
}

bool SameName(const QString& A, const QString& B) {
    return NameKey(A) == NameKey(B);
}

const QString DefaultNamePrefix = QStringLiteral("mxStoredItem");

// Stored over FileSize (or the sums of both) in percent, as "%f" gives it:
// fixed, two decimals, the locale's decimal separator.
QString FormatRatio(qint64 Stored, qint64 Original, const QLocale& Locale) {
    if (Original == 0)
        return QStringLiteral("100%");
    QString Text = QString::number(double(Stored) / double(Original) * 100.0, 'f', 2);
    Text.replace(QLatin1Char('.'), Locale.decimalPoint());
    return Text + QLatin1Char('%');
}

// --- plain reads and writes -------------------------------------------------

void ReadBuffer(QIODevice* Stream, char* Data, qint64 Count) {
    while (Count > 0) {
        const qint64 Got = Stream->read(Data, Count);
        if (Got <= 0)
            RaiseReadError();
        Data += Got;
        Count -= Got;
    }
}

// Count bytes, refused before any allocation when the device cannot hold
// them, so a bogus length in damaged input costs nothing.
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

int ZlibLevel(TCompressionLevel Level) {
    switch (Level) {
    case clFastest:
        return 1;
    case clMax:
        return 9;
    default:
        return Z_DEFAULT_COMPRESSION;
    }
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

// --- TmxStoredItem ----------------------------------------------------------

TmxStoredItem::TmxStoredItem(TmxStoredItems* Collection) : FCollection(Collection) {
    FCollection->FItems.append(this);
    SetName(FCollection->DefaultName(this));
}

TmxStoredItem::~TmxStoredItem() {
    FStored = QByteArray();
    // From the end: Clear deletes the last item first.
    FCollection->FItems.removeAt(FCollection->FItems.lastIndexOf(this));
    FCollection->NameDropped(this, FName);
    if (OnDestroy) {
        // A destructor cannot pass an error on; the handler's is dropped.
        try {
            OnDestroy(this);
        } catch (...) {
        }
    }
}

bool TmxStoredItem::Loading() const {
    return FCollection->Owner() && FCollection->Owner()->Loading();
}

void TmxStoredItem::SetName(const QString& Value) {
    if (SameName(Value, FName))
        return;
    if (FCollection->NameTaken(Value, this))
        throw EmxStorageError(QStringLiteral("Duplicated stored item name"));
    FCollection->NameSet(this, FName, Value);
    FName = Value;
}

void TmxStoredItem::SetFileName(const QString& Value) {
    if (Loading())
        FFileName = Value;
}

void TmxStoredItem::SetFileSize(qint32 Value) {
    if (Loading())
        FFileSize = Value;
}

void TmxStoredItem::SetCompression(TCompressionLevel Value) {
    if (Value > clMax)
        throw EError(QStringLiteral("Invalid property value"));
    // The reader meets Compression before the stored bytes, which are then
    // already in the form of the persisted level.
    if (Loading()) {
        FCompression = Value;
        return;
    }
    if (Value == FCompression)
        return;
    QBuffer Temp;
    Temp.open(QIODevice::ReadWrite);
    SaveToStream(&Temp);
    FCompression = Value;
    LoadFromStream(&Temp);
}

QString TmxStoredItem::Ratio(const QLocale& Locale) const {
    return FormatRatio(Size(), FFileSize, Locale);
}

void TmxStoredItem::SaveToStream(QIODevice* Dest) {
    if (!Dest)
        return;
    if (OnBeforeSave)
        OnBeforeSave(this, Dest);
    if (FCompression != clNone && !FStored.isEmpty())
        Inflate(Dest);
    else
        WriteBuffer(Dest, FStored.constData(), FStored.size());
    if (OnAfterSave)
        OnAfterSave(this);
}

void TmxStoredItem::Inflate(QIODevice* Dest) const {
    z_stream Z{};
    Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(FStored.constData()));
    Z.avail_in = static_cast<uInt>(FStored.size());
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

void TmxStoredItem::SaveToFile(const QString& Path) {
    QFile File(QvrFs::HostPath(Path));
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFCreateError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(Path, File.errorString()));
    SaveToStream(&File);
    if (!File.flush())
        RaiseWriteError();
}

void TmxStoredItem::LoadFromStream(QIODevice* Source) {
    FStored = QByteArray();
    if (!Source)
        return;
    const qint64 Count = Source->size();
    if (Count <= 0)
        return;
    // The size is written ahead of the bytes, so the source must know it.
    if (Source->isSequential() || !Source->seek(0))
        RaiseReadError();
    if (Count > MaxStored)
        RaiseWriteError();
    if (OnBeforeLoad)
        OnBeforeLoad(this, Source);
    if (FCompression != clNone) {
        Deflate(Source, Count);
    } else {
        FStored = ReadBytes(Source, Count);
    }
    // An uncompressed store records the size too, so OriginalSize and the
    // ratios stay true for every level.
    FFileSize = static_cast<qint32>(Count);
    if (OnAfterLoad)
        OnAfterLoad(this);
}

void TmxStoredItem::Deflate(QIODevice* Source, qint64 Count) {
    z_stream Z{};
    const int Rc =
        deflateInit2(&Z, ZlibLevel(FCompression), Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
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
    FStored = std::move(Stored);
}

void TmxStoredItem::ReadData(QIODevice* Stream) {
    FStored = QByteArray();
    if (!Stream)
        return;
    const qint32 Count = ReadInt32(Stream);
    FStored = ReadBytes(Stream, Count);
}

void TmxStoredItem::WriteData(QIODevice* Stream) const {
    if (!Stream)
        return;
    WriteInt32(Stream, Size());
    WriteBuffer(Stream, FStored.constData(), FStored.size());
}

// --- TmxStoredItems ---------------------------------------------------------

TmxStoredItems::~TmxStoredItems() {
    Clear();
}

TmxStoredItem* TmxStoredItems::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems.at(Index);
}

TmxStoredItem* TmxStoredItems::Add() {
    return new TmxStoredItem(this);
}

void TmxStoredItems::Delete(int Index) {
    delete Items(Index);
}

void TmxStoredItems::Clear() {
    while (!FItems.isEmpty())
        delete FItems.last();
}

TmxStoredItem* TmxStoredItems::ItemNamed(const QString& Name) const {
    return FNames.value(NameKey(Name));
}

bool TmxStoredItems::NameTaken(const QString& Name, const TmxStoredItem* Except) const {
    const TmxStoredItem* Item = ItemNamed(Name);
    return Item && Item != Except;
}

QString TmxStoredItems::DefaultName(const TmxStoredItem* Item) {
    // Compared as SetName compares, so the name found is always accepted.
    for (int N = FDefaultLow;; ++N) {
        const QString Name = DefaultNamePrefix + QString::number(N);
        if (!NameTaken(Name, Item)) {
            FDefaultLow = N;
            return Name;
        }
    }
}

void TmxStoredItems::NameSet(TmxStoredItem* Item, const QString& Old, const QString& New) {
    NameDropped(Item, Old);
    FNames.insert(NameKey(New), Item);
}

void TmxStoredItems::NameDropped(TmxStoredItem* Item, const QString& Name) {
    const QString Key = NameKey(Name);
    const auto It = FNames.constFind(Key);
    if (It == FNames.cend() || *It != Item)
        return;
    FNames.erase(It);
    // A default number set free may be the lowest free one again.
    const QString Prefix = NameKey(DefaultNamePrefix);
    if (Key.startsWith(Prefix)) {
        bool Ok = false;
        const int N = QStringView(Key).mid(Prefix.size()).toInt(&Ok);
        if (Ok && N >= 1)
            FDefaultLow = std::min(FDefaultLow, N);
    }
}

// --- TmxStorage -------------------------------------------------------------

TmxStorage::TmxStorage(QObject* AOwner) : QObject(AOwner), FStoredItems(new TmxStoredItems(this)) {}

TmxStorage::~TmxStorage() {
    delete FStoredItems;
}

TmxStoredItem* TmxStorage::FindItem(const QString& Name) const {
    // Names are unique (letter case ignored), so the one match is the first.
    return FStoredItems->ItemNamed(Name);
}

TmxStoredItem* TmxStorage::GetItem(qint32 Index) const {
    if (Index < 0 || Index >= FStoredItems->Count())
        return nullptr;
    return FStoredItems->Items(Index);
}

qint64 TmxStorage::OriginalSize() const {
    qint64 Sum = 0;
    for (int I = 0; I < FStoredItems->Count(); ++I)
        Sum += FStoredItems->Items(I)->FileSize();
    return Sum;
}

qint64 TmxStorage::Size() const {
    qint64 Sum = 0;
    for (int I = 0; I < FStoredItems->Count(); ++I)
        Sum += FStoredItems->Items(I)->Size();
    return Sum;
}

QString TmxStorage::Ratio(const QLocale& Locale) const {
    return FormatRatio(Size(), OriginalSize(), Locale);
}

QString TmxStorage::Version() const {
    return QStringLiteral("%1.%2").arg(FVersion >> 8).arg(FVersion & 0xFF);
}

// --- The persisted description ------------------------------------------------
//
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

const char* const LevelNames[] = {"clNone", "clFastest", "clDefault", "clMax"};

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
    const QByteArray Ident = ReadBytes(Stream, ReadByte(Stream));
    for (int Level = clNone; Level <= clMax; ++Level)
        if (Ident == LevelNames[Level])
            return static_cast<TCompressionLevel>(Level);
    RaiseReadError();
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
        const char* Ident = LevelNames[Item->Compression()];
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
