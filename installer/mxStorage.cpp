#include "installer/mxStorage.h"

#include "common/FileSystem.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include <zlib.h>

#include <algorithm>

using namespace mxStreams;

namespace {

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
        InflateSized(FStored, Dest);
    else
        WriteBuffer(Dest, FStored.constData(), FStored.size());
    if (OnAfterSave)
        OnAfterSave(this);
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
        FStored = DeflateSized(Source, Count, ZlibLevel(FCompression));
    } else {
        FStored = ReadBytes(Source, Count);
    }
    // An uncompressed store records the size too, so OriginalSize and the
    // ratios stay true for every level.
    FFileSize = static_cast<qint32>(Count);
    if (OnAfterLoad)
        OnAfterLoad(this);
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
