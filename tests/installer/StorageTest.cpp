// The stored-file container: storing, extracting, names, sizes and ratios,
// and the persisted description.

#include "StorageTestUtil.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace StorageTest;

namespace {

const TCompressionLevel AllLevels[] = {clNone, clFastest, clDefault, clMax};

int ZlibLevelOf(TCompressionLevel Level) {
    return Level == clFastest ? 1 : Level == clMax ? 9 : Z_DEFAULT_COMPRESSION;
}

// Records every handler call of an item, in order.
struct TEventLog {
    QStringList Events;
    void Attach(TmxStoredItem* Item) {
        Item->OnBeforeLoad = [this](TmxStoredItem*, QIODevice* S) {
            Events << QStringLiteral("BeforeLoad@%1").arg(S->pos());
        };
        Item->OnAfterLoad = [this](TmxStoredItem*) { Events << QStringLiteral("AfterLoad"); };
        Item->OnBeforeSave = [this](TmxStoredItem*, QIODevice*) {
            Events << QStringLiteral("BeforeSave");
        };
        Item->OnAfterSave = [this](TmxStoredItem*) { Events << QStringLiteral("AfterSave"); };
    }
};

} // namespace

TEST(StoredItem, StoresAndExtractsAtEveryLevelInTheStoredForm) {
    const QByteArray File = SampleFile(300000);
    for (const TCompressionLevel Level : AllLevels) {
        SCOPED_TRACE(int(Level));
        TmxStorage Storage;
        TmxStoredItem* Item = Storage.StoredItems()->Add();
        Item->SetCompression(Level);
        Store(Item, File);
        EXPECT_EQ(Item->FileSize(), File.size());
        EXPECT_EQ(Extract(Item), File);
        if (Level == clNone)
            EXPECT_EQ(StoredBytes(Item), File);
        else
            EXPECT_EQ(StoredBytes(Item), ZlibReference(File, ZlibLevelOf(Level)));
        EXPECT_EQ(Item->Size(), StoredBytes(Item).size());
    }
}

TEST(StoredItem, ItemWithoutStoredBytesExtractsEmptyAtEveryLevel) {
    QTemporaryDir Dir;
    for (const TCompressionLevel Level : AllLevels) {
        TmxStorage Storage;
        TmxStoredItem* Item = Storage.StoredItems()->Add();
        Item->SetCompression(Level);
        EXPECT_TRUE(Extract(Item).isEmpty());
        const QString Path = Dir.filePath(QStringLiteral("empty%1.bin").arg(int(Level)));
        WriteHostFile(Path, "old content");
        Item->SaveToFile(Path);
        EXPECT_TRUE(QFile::exists(Path));
        EXPECT_EQ(QFile(Path).size(), 0);
    }
}

TEST(StoredItem, ExtractsExactlyThePrefixedSize) {
    const struct {
        QByteArray Compressed; // after the size prefix
        qint32 Prefix;
        QByteArray Extracted;
    } Cases[] = {
        {QByteArray(), 0, QByteArray()},
        {"0123456789", 4, "0123"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Prefix);
        TmxStorage Storage;
        TmxStoredItem* Item = Storage.StoredItems()->Add();
        SetStoredBytes(Item, ZlibReference(C.Compressed, 9, C.Prefix));
        EXPECT_GT(Item->Size(), 0);
        EXPECT_EQ(Extract(Item), C.Extracted);
    }
}

TEST(StoredItem, EmptySourceOrNoneEmptiesTheItemWithoutHandlers) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Store(Item, "hello");
    ASSERT_EQ(Item->FileSize(), 5);
    ASSERT_GT(Item->Size(), 0);
    TEventLog Log;
    Log.Attach(Item);

    Store(Item, QByteArray());
    EXPECT_EQ(Item->Size(), 0);
    EXPECT_EQ(Item->FileSize(), 5);

    Store(Item, "hello");
    Log.Events.clear();
    Item->LoadFromStream(nullptr);
    EXPECT_EQ(Item->Size(), 0);
    EXPECT_EQ(Item->FileSize(), 5);
    EXPECT_TRUE(Log.Events.isEmpty()) << Log.Events.join(',').toStdString();
}

TEST(StoredItem, HandlersRunAroundStoreAndExtraction) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    TEventLog Log;
    Log.Attach(Item);
    QBuffer Source;
    Source.setData("some bytes");
    Source.open(QIODevice::ReadOnly);
    Source.seek(4);
    Item->LoadFromStream(&Source);
    Extract(Item);
    EXPECT_EQ(Log.Events.join(','), "BeforeLoad@0,AfterLoad,BeforeSave,AfterSave");
    EXPECT_EQ(Extract(Item), QByteArray("some bytes"));

    Log.Events.clear();
    Item->SaveToStream(nullptr);
    EXPECT_TRUE(Log.Events.isEmpty());
}

TEST(StoredItem, OnDestroyRunsAfterTheItemLeftTheList) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetName(QStringLiteral("qvr.exe"));
    int CountSeen = -1;
    bool FoundSeen = true;
    Item->OnDestroy = [&](TmxStoredItem* Sender) {
        EXPECT_EQ(Sender, Item);
        CountSeen = Storage.StoredItems()->Count();
        FoundSeen = Storage.FindItem(QStringLiteral("qvr.exe")) != nullptr;
    };
    Storage.StoredItems()->Delete(0);
    EXPECT_EQ(CountSeen, 0);
    EXPECT_FALSE(FoundSeen);
}

TEST(StoredItem, ItemsDieWithTheirOwner) {
    int Destroyed = 0;
    {
        QObject Window;
        auto* Storage = new TmxStorage(&Window);
        for (int I = 0; I < 3; ++I)
            Storage->StoredItems()->Add()->OnDestroy = [&](TmxStoredItem*) { ++Destroyed; };
    }
    EXPECT_EQ(Destroyed, 3);
}

TEST(StoredItem, CompressionChangeRestoresAtTheNewLevel) {
    const QByteArray File = SampleFile(100000, 7);
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Store(Item, File);
    for (const TCompressionLevel Level : {clMax, clNone, clFastest, clDefault, clNone, clMax}) {
        Item->SetCompression(Level);
        EXPECT_EQ(Item->Compression(), Level);
        EXPECT_EQ(StoredBytes(Item),
                  Level == clNone ? File : ZlibReference(File, ZlibLevelOf(Level)));
        EXPECT_EQ(Extract(Item), File);
        EXPECT_EQ(Item->FileSize(), File.size());
    }
}

TEST(StoredItem, SameCompressionChangesNothing) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Store(Item, "abc");
    TEventLog Log;
    Log.Attach(Item);
    Item->SetCompression(clDefault);
    EXPECT_TRUE(Log.Events.isEmpty());
}

TEST(StoredItem, CompressionOfADamagedItemFailsAndKeepsTheLevel) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    SetStoredBytes(Item, "not a zlib stream");
    EXPECT_THROW(Item->SetCompression(clNone), EZDecompressionError);
    EXPECT_EQ(Item->Compression(), clDefault);
}

TEST(StoredItem, SaveToFileReplacesAnExistingFile) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("Presets.ini"));
    WriteHostFile(Path, QByteArray(50000, 'x'));
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Store(Item, "[Presets]\r\n");
    Item->SaveToFile(Path);
    EXPECT_EQ(ReadHostFile(Path), QByteArray("[Presets]\r\n"));
}

TEST(StoredItem, SaveToFileOnAnUncreatablePathExtractsNothing) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("missing/qvr.exe"));
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Store(Item, "program");
    TEventLog Log;
    Log.Attach(Item);
    try {
        Item->SaveToFile(Path);
        FAIL() << "no error";
    } catch (const EFCreateError& E) {
        const QString Start = QStringLiteral("Cannot create file \"%1\". ").arg(Path);
        EXPECT_TRUE(E.Message().startsWith(Start)) << E.what();
        EXPECT_GT(E.Message().size(), Start.size()) << "the system's reason is missing";
    }
    EXPECT_TRUE(Log.Events.isEmpty());
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}

TEST(StoredItem, FileNameAndFileSizeAreSetOnlyWhileLoading) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetFileName(QStringLiteral("qvr.exe"));
    Item->SetFileSize(99);
    EXPECT_EQ(Item->FileName(), QString());
    EXPECT_EQ(Item->FileSize(), 0);
    {
        TmxStorageLoading Loading(&Storage);
        Item->SetFileName(QStringLiteral("qvr.exe"));
        Item->SetFileSize(99);
    }
    EXPECT_EQ(Item->FileName(), QStringLiteral("qvr.exe"));
    EXPECT_EQ(Item->FileSize(), 99);
    Item->SetFileSize(1);
    EXPECT_EQ(Item->FileSize(), 99);
}

TEST(StoredItem, CompressionWhileLoadingLeavesTheBytes) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetCompression(clNone);
    Store(Item, "raw");
    TmxStorageLoading Loading(&Storage);
    Item->SetCompression(clMax);
    EXPECT_EQ(StoredBytes(Item), QByteArray("raw"));
}

// --- names ------------------------------------------------------------------

TEST(StoredItemNames, DefaultNamesFillTheFirstGap) {
    TmxStorage Storage;
    TmxStoredItems* Items = Storage.StoredItems();
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem1"));
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem2"));
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem3"));
    Items->Delete(1);
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem2"));
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem4"));
}

TEST(StoredItemNames, DefaultNamesSkipNamesOfAnyCase) {
    TmxStorage Storage;
    TmxStoredItems* Items = Storage.StoredItems();
    Items->Add()->SetName(QStringLiteral("MXSTOREDITEM1"));
    Items->Add()->SetName(QStringLiteral("mxstoreditem3"));
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem2"));
    Items->Items(0)->SetName(QStringLiteral("qvr.exe"));
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem1"));
    EXPECT_EQ(Items->Add()->Name(), QStringLiteral("mxStoredItem4"));
}

TEST(StoredItemNames, ChangeOfLetterCaseAloneIsNotTaken) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetName(QStringLiteral("bass.dll"));
    Item->SetName(QStringLiteral("BASS.DLL"));
    EXPECT_EQ(Item->Name(), QStringLiteral("bass.dll"));
}

TEST(StoredItemNames, NameOfAnotherItemIsRefused) {
    TmxStorage Storage;
    Storage.StoredItems()->Add()->SetName(QStringLiteral("Presets.ini"));
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetName(QStringLiteral("qvr.exe"));
    try {
        Item->SetName(QStringLiteral("PRESETS.ini"));
        FAIL() << "no error";
    } catch (const EmxStorageError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Duplicated stored item name"));
    }
    EXPECT_EQ(Item->Name(), QStringLiteral("qvr.exe"));
    EXPECT_EQ(Storage.FindItem(QStringLiteral("QVR.EXE")), Item);
}

TEST(StoredItemNames, NonAsciiNamesCompareWithoutCase) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetName(QStringLiteral(u"Ärger.lang"));
    EXPECT_EQ(Storage.FindItem(QStringLiteral(u"äRGER.LANG")), Item);
    EXPECT_THROW(Storage.StoredItems()->Add()->SetName(QStringLiteral(u"ÄRGER.lang")),
                 EmxStorageError);
}

TEST(Storage, FindItemIgnoresLetterCase) {
    TmxStorage Storage;
    Storage.StoredItems()->Add()->SetName(QStringLiteral("qvr.exe"));
    TmxStoredItem* Presets = Storage.StoredItems()->Add();
    Presets->SetName(QStringLiteral("Presets.ini"));
    EXPECT_EQ(Storage.FindItem(QStringLiteral("PRESETS.INI")), Presets);
    EXPECT_EQ(Storage.FindItem(QStringLiteral("Presets")), nullptr);
    Presets->SetName(QStringLiteral("Other.ini"));
    EXPECT_EQ(Storage.FindItem(QStringLiteral("Presets.ini")), nullptr);
    EXPECT_EQ(Storage.FindItem(QStringLiteral("other.INI")), Presets);
}

TEST(Storage, GetItemGivesNoneOutsideTheList) {
    TmxStorage Storage;
    TmxStoredItem* First = Storage.StoredItems()->Add();
    TmxStoredItem* Second = Storage.StoredItems()->Add();
    EXPECT_EQ(Storage.GetItem(0), First);
    EXPECT_EQ(Storage.GetItem(1), Second);
    EXPECT_EQ(Storage.GetItem(2), nullptr);
    EXPECT_EQ(Storage.GetItem(-1), nullptr);
    EXPECT_EQ(Storage.StoredItems()->Owner(), &Storage);
}

// --- sizes, ratios, version -------------------------------------------------

namespace {

// An item of the given stored size and file size, as a payload would load it.
TmxStoredItem* SizedItem(TmxStorage& Storage, int Stored, qint32 FileSize) {
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    SetStoredBytes(Item, QByteArray(Stored, 'z'));
    TmxStorageLoading Loading(&Storage);
    Item->SetFileSize(FileSize);
    return Item;
}

} // namespace

TEST(Storage, RatiosUseTheLocalesDecimalSeparator) {
    const struct {
        int Stored;
        qint32 FileSize;
        QLocale::Language Language;
        QString Expected;
    } Cases[] = {
        {0, 0, QLocale::C, QStringLiteral("100%")},
        {10, 0, QLocale::German, QStringLiteral("100%")},
        {89796, 92728, QLocale::German, QStringLiteral("96,84%")},
        {89796, 92728, QLocale::English, QStringLiteral("96.84%")},
        {89796, 92728, QLocale::C, QStringLiteral("96.84%")},
        {300000, 100000, QLocale::French, QStringLiteral("300,00%")},
        {1, 3, QLocale::English, QStringLiteral("33.33%")},
        {2, 3, QLocale::English, QStringLiteral("66.67%")},
    };
    for (const auto& Case : Cases) {
        TmxStorage Storage;
        TmxStoredItem* Item = SizedItem(Storage, Case.Stored, Case.FileSize);
        EXPECT_EQ(Item->Ratio(QLocale(Case.Language)), Case.Expected);
        EXPECT_EQ(Storage.Ratio(QLocale(Case.Language)), Case.Expected);
    }
}

TEST(Storage, RatioFollowsTheDefaultLocale) {
    TmxStorage Storage;
    TmxStoredItem* Item = SizedItem(Storage, 89796, 92728);
    {
        TLocaleScope Comma{QLocale(QLocale::German)};
        EXPECT_EQ(Item->Ratio(), QStringLiteral("96,84%"));
    }
    TLocaleScope Point{QLocale(QLocale::English)};
    EXPECT_EQ(Item->Ratio(), QStringLiteral("96.84%"));
}

TEST(Storage, SizesAreSumsOverTheItems) {
    TmxStorage Storage;
    SizedItem(Storage, 100, 400);
    SizedItem(Storage, 50, 0);
    SizedItem(Storage, 0, 600);
    EXPECT_EQ(Storage.Size(), 150);
    EXPECT_EQ(Storage.OriginalSize(), 1000);
    EXPECT_EQ(Storage.Ratio(QLocale::c()), QStringLiteral("15.00%"));
}

// --- the persisted description ----------------------------------------------

TEST(StorageDescription, PayloadRoundTripKeepsEveryItem) {
    QTemporaryDir Dir;
    TmxStorage Source;
    const QByteArray Files[] = {SampleFile(70000, 1), SampleFile(10, 2), QByteArray(),
                                SampleFile(200000, 3)};
    for (int I = 0; I < 4; ++I) {
        TmxStoredItem* Item = Source.StoredItems()->Add();
        Item->SetName(QStringLiteral(u"File %1 é.bin").arg(I));
        Item->SetCompression(AllLevels[I]);
        Item->SetTag(-I * 1000);
        Store(Item, Files[I]);
        TmxStorageLoading Loading(&Source);
        Item->SetFileName(QStringLiteral("file%1.bin").arg(I));
    }
    QBuffer Payload;
    Payload.open(QIODevice::ReadWrite);
    Source.SaveToPayload(&Payload);

    TmxStorage Read;
    Read.StoredItems()->Add()->SetName(QStringLiteral("replaced"));
    Read.LoadFromPayload(&Payload);
    ASSERT_EQ(Read.StoredItems()->Count(), 4);
    EXPECT_FALSE(Read.Loading());
    for (int I = 0; I < 4; ++I) {
        TmxStoredItem* A = Source.GetItem(I);
        TmxStoredItem* B = Read.GetItem(I);
        EXPECT_EQ(B->Name(), A->Name());
        EXPECT_EQ(B->Compression(), A->Compression());
        EXPECT_EQ(B->Tag(), A->Tag());
        EXPECT_EQ(B->FileName(), A->FileName());
        EXPECT_EQ(B->FileSize(), A->FileSize());
        EXPECT_EQ(StoredBytes(B), StoredBytes(A));
        EXPECT_EQ(Extract(B), Files[I]);
    }
    QBuffer Again;
    Again.open(QIODevice::ReadWrite);
    Read.SaveToPayload(&Again);
    EXPECT_EQ(Again.data(), Payload.data());
}

TEST(StorageDescription, WriterKeepsTheDocumentedLayout) {
    // good.qvrp comes from an encoder of its own (make_fixtures.py).
    TLocaleScope C{QLocale::c()};
    const QString Path = Fixture("good.qvrp");
    TmxStorage Storage;
    Storage.LoadFromFile(Path);
    ASSERT_EQ(Storage.StoredItems()->Count(), 3);
    TmxStoredItem* Presets = Storage.FindItem(QStringLiteral("presets.ini"));
    ASSERT_TRUE(Presets);
    EXPECT_EQ(Presets->Compression(), clMax);
    EXPECT_EQ(Presets->Tag(), 7);
    EXPECT_EQ(Presets->FileName(), QStringLiteral("Presets.ini"));
    EXPECT_EQ(Extract(Presets).size(), Presets->FileSize());
    EXPECT_TRUE(Extract(Presets).startsWith("[Preset0]\r\nResolution=1024x768\r\n"));
    EXPECT_EQ(Extract(Storage.GetItem(1)), QByteArray("Quorvane readme\r\n"));
    EXPECT_EQ(Storage.GetItem(1)->Compression(), clNone);
    EXPECT_EQ(Storage.GetItem(2)->Compression(), clFastest);
    EXPECT_EQ(Storage.GetItem(2)->Size(), 0);

    QBuffer Written;
    Written.open(QIODevice::ReadWrite);
    Storage.SaveToPayload(&Written);
    EXPECT_EQ(Written.data(), ReadHostFile(Path));
}

TEST(StorageDescription, ComputedValuesAreIgnoredOnReading) {
    TmxStorage Source;
    TmxStoredItem* Item = Source.StoredItems()->Add();
    Store(Item, SampleFile(1000));
    QBuffer Payload;
    Payload.open(QIODevice::ReadWrite);
    Source.SaveToPayload(&Payload);
    QByteArray Bytes = Payload.data();
    const QByteArray Version("\x07Version\x14\x03\x00\x00\x00"
                             "1.2",
                             15);
    ASSERT_EQ(Bytes.count(Version), 1);
    Bytes.replace(Version, QByteArray("\x07Version\x14\x03\x00\x00\x00"
                                      "9.9",
                                      15));
    const QByteArray Size = QByteArray("\x04Size\x04", 6);
    const qsizetype At = Bytes.indexOf(Size, Bytes.indexOf("StoredItems"));
    ASSERT_GT(At, 0);
    Bytes[At + 6] = char(0x55);

    QBuffer Damaged(&Bytes);
    Damaged.open(QIODevice::ReadOnly);
    TmxStorage Read;
    Read.LoadFromPayload(&Damaged);
    EXPECT_EQ(Read.Version(), QStringLiteral("1.2"));
    EXPECT_EQ(Read.GetItem(0)->Size(), Item->Size());
}

TEST(StorageDescription, PayloadAfterAProgramLoadsFromTheFile) {
    QTemporaryDir Dir;
    TmxStorage Source;
    Store(Source.StoredItems()->Add(), SampleFile(5000));
    QBuffer Payload;
    Payload.open(QIODevice::ReadWrite);
    Source.SaveToPayload(&Payload);
    const QString Path = Dir.filePath(QStringLiteral("qvrsetup"));
    WriteHostFile(Path, QByteArray("\x7F"
                                   "ELF program bytes",
                                   18) +
                            Payload.data());

    TmxStorage Read;
    Read.LoadFromFile(Path);
    ASSERT_EQ(Read.StoredItems()->Count(), 1);
    EXPECT_EQ(Extract(Read.GetItem(0)), SampleFile(5000));
}

TEST(StorageDescription, MissingFileGivesCannotOpen) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("none"));
    TmxStorage Storage;
    try {
        Storage.LoadFromFile(Path);
        FAIL() << "no error";
    } catch (const EFOpenError& E) {
        EXPECT_TRUE(E.Message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(Path)));
    }
}

TEST(StorageDescription, StoredItemValueFramesTheStoredBytes) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    QFile Value(Fixture("stored-item.bin"));
    ASSERT_TRUE(Value.open(QIODevice::ReadOnly));
    Item->ReadData(&Value);
    EXPECT_TRUE(Value.atEnd());
    EXPECT_EQ(Item->Size() + 4, Value.size());
    EXPECT_TRUE(Extract(Item).startsWith("[Preset0]"));

    QBuffer Written;
    Written.open(QIODevice::WriteOnly);
    Item->WriteData(&Written);
    EXPECT_EQ(Written.data(), ReadHostFile(Fixture("stored-item.bin")));
}
