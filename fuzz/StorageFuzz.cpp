// Fuzzes the stored-file container: the payload reader (trailer and
// description), the StoredItem value, and the extraction of whatever loads.
// Any input must end in success or an EError; a crash, a sanitizer report, a
// huge allocation or a broken round trip is a finding.

#include "installer/mxStorage.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

// Takes an extraction and keeps only its size.
class TSink : public QIODevice {
public:
    TSink() { open(QIODevice::WriteOnly); }
    qint64 Written = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 Len) override {
        Written += Len;
        return Len;
    }
};

void Check(bool Condition) {
    if (!Condition)
        std::abort();
}

QByteArray Payload(const TmxStorage& Storage) {
    QBuffer Out;
    Out.open(QIODevice::ReadWrite);
    Storage.SaveToPayload(&Out);
    return Out.data();
}

void ExtractAll(TmxStorage& Storage) {
    for (int I = 0; I < Storage.StoredItems()->Count(); ++I) {
        TSink Sink;
        try {
            Storage.GetItem(I)->SaveToStream(&Sink);
        } catch (const EError&) {
        }
    }
}

// What loads writes back and loads again to the same payload.
void RoundTrip(const TmxStorage& Storage) {
    const QByteArray First = Payload(Storage);
    QBuffer In;
    In.setData(First);
    In.open(QIODevice::ReadOnly);
    TmxStorage Again;
    Again.LoadFromPayload(&In);
    Check(Again.StoredItems()->Count() == Storage.StoredItems()->Count());
    Check(Payload(Again) == First);
}

void FuzzPayload(const QByteArray& Bytes, bool WithTrailer) {
    QBuffer In;
    In.setData(Bytes);
    In.open(QIODevice::ReadOnly);
    TmxStorage Storage;
    try {
        if (WithTrailer)
            Storage.LoadFromPayload(&In);
        else
            Storage.ReadDescription(&In);
    } catch (const EError&) {
        Check(Storage.StoredItems()->Count() == 0);
        Check(!Storage.Loading());
        return;
    }
    Check(!Storage.Loading());
    ExtractAll(Storage);
    RoundTrip(Storage);
}

// The bytes as one StoredItem value: extracted as stored, then re-stored at
// another level, which must give the same file.
void FuzzStoredItem(const QByteArray& Bytes) {
    QBuffer In;
    In.setData(Bytes);
    In.open(QIODevice::ReadOnly);
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    try {
        Item->ReadData(&In);
    } catch (const EError&) {
        Check(Item->Size() == 0);
        return;
    }
    for (const TCompressionLevel Level : {clDefault, clNone}) {
        TmxStorageLoading Loading(&Storage);
        Item->SetCompression(Level);
    }
    QBuffer File;
    File.open(QIODevice::ReadWrite);
    try {
        Item->SetCompression(clDefault);
        Item->SaveToStream(&File);
    } catch (const EError&) {
        return;
    }
    Item->SetCompression(clFastest);
    QBuffer Again;
    Again.open(QIODevice::ReadWrite);
    Item->SaveToStream(&Again);
    Check(Again.data() == File.data());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QByteArray Bytes(reinterpret_cast<const char*>(Data), qsizetype(Size));
    FuzzPayload(Bytes, true);
    FuzzPayload(Bytes, false);
    FuzzStoredItem(Bytes);
    return 0;
}
