// Small helpers shared by the stored-file container tests.
#pragma once

#include "installer/mxStorage.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QtEndian>

#include <zlib.h>

namespace StorageTest {

inline QString Fixture(const char* Name) {
    return QStringLiteral(QVR_TEST_DATA "/storage/") + QLatin1String(Name);
}

// The item's file, extracted into memory.
inline QByteArray Extract(TmxStoredItem* Item) {
    QBuffer Dest;
    Dest.open(QIODevice::WriteOnly);
    Item->SaveToStream(&Dest);
    return Dest.data();
}

inline void Store(TmxStoredItem* Item, const QByteArray& Bytes) {
    QBuffer Source;
    Source.setData(Bytes);
    Source.open(QIODevice::ReadOnly);
    Item->LoadFromStream(&Source);
}

// The item's stored bytes, as its StoredItem value carries them.
inline QByteArray StoredBytes(const TmxStoredItem* Item) {
    QBuffer Value;
    Value.open(QIODevice::WriteOnly);
    Item->WriteData(&Value);
    return Value.data().mid(4);
}

// Sets the item's stored bytes through its StoredItem value.
inline void SetStoredBytes(TmxStoredItem* Item, const QByteArray& Stored) {
    QByteArray Value(4, '\0');
    qToLittleEndian(static_cast<qint32>(Stored.size()), Value.data());
    Value += Stored;
    QBuffer Stream(&Value);
    Stream.open(QIODevice::ReadOnly);
    Item->ReadData(&Stream);
}

// zlib's own one-shot compression (window bits 15, memory level 8, default
// strategy) of the size prefix and the file: what a compressed item must hold.
inline QByteArray ZlibReference(const QByteArray& File, int Level, qint32 Prefix) {
    QByteArray In(4, '\0');
    qToLittleEndian(Prefix, In.data());
    In += File;
    uLongf Size = compressBound(In.size());
    QByteArray Out(Size, '\0');
    compress2(reinterpret_cast<Bytef*>(Out.data()), &Size,
              reinterpret_cast<const Bytef*>(In.constData()), In.size(), Level);
    Out.resize(Size);
    return Out;
}

inline QByteArray ZlibReference(const QByteArray& File, int Level) {
    return ZlibReference(File, Level, static_cast<qint32>(File.size()));
}

// Text that compresses, but not to nothing.
inline QByteArray SampleFile(int Size, quint32 Seed = 1) {
    static const char* const Words[] = {"demo", "camera", "Battlefield", "render", "take",
                                        "0x7F", "\r\n",   "mods\\bf2\\", "=",      "1024"};
    QByteArray Out;
    Out.reserve(Size);
    while (Out.size() < Size) {
        Seed = Seed * 1664525u + 1013904223u;
        Out += Words[(Seed >> 16) % 10];
        Out += char(Seed >> 24);
    }
    Out.truncate(Size);
    return Out;
}

// Sets the default locale for the life of the object.
class TLocaleScope {
public:
    explicit TLocaleScope(const QLocale& Locale) { QLocale::setDefault(Locale); }
    ~TLocaleScope() { QLocale::setDefault(FPrevious); }

private:
    QLocale FPrevious;
};

} // namespace StorageTest
