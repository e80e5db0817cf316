// Damaged payloads and stored items.
//
// Bad input must come back as an error (an EError with a clear message),
// never as a crash, a hang, a huge allocation from a bogus length, or a write
// anywhere but the destination. The fixtures in tests/data/storage/ are made
// by make_fixtures.py there; each is damaged in the one way its name says.

#include "StorageTestUtil.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace StorageTest;

namespace {

const QString ReadError = QStringLiteral("Stream read error");

enum class TKind { ReadError, Decompression, Duplicate };

bool IsKind(const EError& E, TKind Kind) {
    switch (Kind) {
    case TKind::ReadError:
        return dynamic_cast<const EReadError*>(&E) != nullptr;
    case TKind::Decompression:
        return dynamic_cast<const EZDecompressionError*>(&E) != nullptr;
    case TKind::Duplicate:
        return dynamic_cast<const EmxStorageError*>(&E) != nullptr;
    }
    return false;
}

struct TCase {
    const char* Fixture;
    TKind Kind;
    QString Message;
};

// The error that Action raises, or none.
std::optional<QString> ErrorOf(const std::function<void()>& Action, TKind Kind) {
    try {
        Action();
    } catch (const EError& E) {
        EXPECT_TRUE(IsKind(E, Kind)) << E.what();
        return E.Message();
    }
    return std::nullopt;
}

} // namespace

TEST(StorageBadInput, DamagedPayloadsDoNotLoad) {
    const TCase Cases[] = {
        {"truncated-file.qvrp", TKind::ReadError, ReadError},
        {"truncated-description.qvrp", TKind::ReadError, ReadError},
        {"no-trailer.qvrp", TKind::ReadError, ReadError},
        {"trailer-length-too-large.qvrp", TKind::ReadError, ReadError},
        {"trailer-length-short.qvrp", TKind::ReadError, ReadError},
        {"bad-signature.qvrp", TKind::ReadError, ReadError},
        {"binary-length-mismatch.qvrp", TKind::ReadError, ReadError},
        {"binary-length-huge.qvrp", TKind::ReadError, ReadError},
        {"negative-stored-count.qvrp", TKind::ReadError, ReadError},
        {"string-length-huge.qvrp", TKind::ReadError, ReadError},
        {"unknown-property.qvrp", TKind::ReadError, ReadError},
        {"bad-value-tag.qvrp", TKind::ReadError, ReadError},
        {"bad-compression-ident.qvrp", TKind::ReadError, ReadError},
        {"bad-item-marker.qvrp", TKind::ReadError, ReadError},
        {"nested-list-in-size.qvrp", TKind::ReadError, ReadError},
        {"duplicate-names.qvrp", TKind::Duplicate, QStringLiteral("Duplicated stored item name")},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Fixture);
        ASSERT_TRUE(QFile::exists(Fixture(Case.Fixture)));
        TmxStorage Storage;
        const auto Error = ErrorOf([&] { Storage.LoadFromFile(Fixture(Case.Fixture)); }, Case.Kind);
        ASSERT_TRUE(Error.has_value()) << "loaded";
        EXPECT_EQ(*Error, Case.Message);
        EXPECT_EQ(Storage.StoredItems()->Count(), 0) << "a half-read container was kept";
        EXPECT_FALSE(Storage.Loading());
    }
}

TEST(StorageBadInput, DamagedStoredBytesFailToExtract) {
    const TCase Cases[] = {
        {"zlib-bad-header.qvrp", TKind::Decompression, QStringLiteral("incorrect header check")},
        {"zlib-bad-block.qvrp", TKind::Decompression, QStringLiteral("invalid block type")},
        {"zlib-bad-checksum.qvrp", TKind::Decompression, QStringLiteral("incorrect data check")},
        {"zlib-preset-dictionary.qvrp", TKind::Decompression, QStringLiteral("need dictionary")},
        {"zlib-truncated.qvrp", TKind::ReadError, ReadError},
        {"zlib-no-checksum.qvrp", TKind::ReadError, ReadError},
        {"size-prefix-too-large.qvrp", TKind::ReadError, ReadError},
        {"size-prefix-huge.qvrp", TKind::ReadError, ReadError},
        {"size-prefix-negative.qvrp", TKind::ReadError, ReadError},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Fixture);
        TmxStorage Storage;
        Storage.LoadFromFile(Fixture(Case.Fixture));
        TmxStoredItem* Item = Storage.FindItem(QStringLiteral("a.txt"));
        ASSERT_TRUE(Item);

        QTemporaryDir Dir;
        const QString Dest = Dir.filePath(QStringLiteral("a.txt"));
        const auto Error = ErrorOf([&] { Item->SaveToFile(Dest); }, Case.Kind);
        ASSERT_TRUE(Error.has_value()) << "extracted";
        EXPECT_EQ(*Error, Case.Message);
        // The file made stays (truncated); nothing else is written.
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("a.txt")});
        EXPECT_LE(QFile(Dest).size(), 10);

        // A compression change extracts first, so it fails the same way.
        EXPECT_TRUE(ErrorOf([&] { Item->SetCompression(clNone); }, Case.Kind).has_value());
    }
}

TEST(StorageBadInput, OddButSoundPrefixes) {
    const struct {
        const char* Fixture;
        QByteArray Expected;
    } Cases[] = {
        {"size-prefix-zero.qvrp", QByteArray()},
        {"size-prefix-short.qvrp", QByteArray("012")},
    };
    for (const auto& Case : Cases) {
        TmxStorage Storage;
        Storage.LoadFromFile(Fixture(Case.Fixture));
        EXPECT_EQ(Extract(Storage.GetItem(0)), Case.Expected) << Case.Fixture;
    }
}

TEST(StorageBadInput, NegativeStoredItemCountIsAnError) {
    TmxStorage Storage;
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    QByteArray Value("\xFF\xFF\xFF\xFF"
                     "abc",
                     7);
    QBuffer Stream(&Value);
    Stream.open(QIODevice::ReadOnly);
    EXPECT_THROW(Item->ReadData(&Stream), EReadError);
    EXPECT_EQ(Item->Size(), 0);
}

// Every cut of a sound description, and every byte of it damaged, comes back
// loaded or as an error; what loads extracts or fails with an error.
TEST(StorageBadInput, EveryTruncationAndByteDamageIsHandled) {
    const QByteArray Good = ReadHostFile(Fixture("good.qvrp"));
    ASSERT_FALSE(Good.isEmpty());
    const QByteArray Description = Good.left(Good.size() - 16);
    auto Try = [](QByteArray Bytes, bool AsPayload) {
        QBuffer Stream(&Bytes);
        Stream.open(QIODevice::ReadOnly);
        TmxStorage Storage;
        try {
            if (AsPayload)
                Storage.LoadFromPayload(&Stream);
            else
                Storage.ReadDescription(&Stream);
            for (int I = 0; I < Storage.StoredItems()->Count(); ++I)
                Extract(Storage.GetItem(I));
        } catch (const EError&) {
        }
        EXPECT_FALSE(Storage.Loading());
    };
    for (qsizetype Cut = 0; Cut < Description.size(); ++Cut) {
        QByteArray Short = Description.left(Cut);
        QBuffer Stream(&Short);
        Stream.open(QIODevice::ReadOnly);
        TmxStorage Storage;
        EXPECT_THROW(Storage.ReadDescription(&Stream), EReadError) << Cut;
        Try(Good.left(Cut), true);
    }
    for (qsizetype At = 0; At < Good.size(); ++At) {
        for (const char Mask : {char(0x01), char(0x80), char(0xFF)}) {
            QByteArray Damaged = Good;
            Damaged[At] = char(Damaged[At] ^ Mask);
            Try(Damaged, true);
            Try(Damaged.left(Description.size()), false);
        }
    }
}
