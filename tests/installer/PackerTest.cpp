// The build-time packer qvrpack, run as the build runs it: a folder of files
// packed, loaded back by the container and extracted byte for byte.

#include "StorageTestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace StorageTest;

namespace {

struct TRun {
    int ExitCode = -1;
    QString Errors;
};

TRun RunPacker(const QStringList& Args) {
    QProcess Packer;
    Packer.start(QStringLiteral(QVRPACK_PATH), Args);
    Packer.waitForFinished(60000);
    return {Packer.exitStatus() == QProcess::NormalExit ? Packer.exitCode() : -1,
            QString::fromLocal8Bit(Packer.readAllStandardError())};
}

struct TEntry {
    QString Name;
    QString File;
    QString Level;
    QByteArray Bytes;
};

class PackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Src.isValid() && Out.isValid());
        QByteArray Noise(300000, '\0');
        QRandomGenerator Random(42);
        Random.fillRange(reinterpret_cast<quint32*>(Noise.data()), Noise.size() / 4);
        Entries = {
            {QStringLiteral("qvr.exe"), QStringLiteral("qvr.exe"), QStringLiteral("clMax"), Noise},
            {QStringLiteral("Presets.ini"), QStringLiteral("Presets.ini"),
             QStringLiteral("clDefault"), SampleFile(40000)},
            {QStringLiteral("Languages\\English.lang"), QStringLiteral("Languages/English.lang"),
             QStringLiteral("clFastest"), SampleFile(120000, 9)},
            {QStringLiteral(u"Lisez moi é.txt"), QStringLiteral(u"sub dir/lisez moi é.txt"),
             QStringLiteral("clNone"), "plain text\r\n"},
            {QStringLiteral("empty.txt"), QStringLiteral("empty.txt"), QStringLiteral("clMax"),
             QByteArray()},
        };
        for (const TEntry& E : Entries) {
            const QString Path = Src.filePath(E.File);
            QDir().mkpath(QFileInfo(Path).absolutePath());
            WriteHostFile(Path, E.Bytes);
        }
    }

    QString WriteList(const QStringList& Lines) {
        const QString Path = Src.filePath(QStringLiteral("payload.list"));
        WriteHostFile(Path, Lines.join(QLatin1Char('\n')).toUtf8());
        return Path;
    }

    QString ListOfEntries() {
        QStringList Lines{QStringLiteral("# the launcher's files"), QString()};
        for (const TEntry& E : Entries)
            Lines << E.Name + QLatin1Char('\t') + E.File + QLatin1Char('\t') + E.Level;
        return WriteList(Lines);
    }

    void ExpectEntries(TmxStorage& Storage) {
        ASSERT_EQ(Storage.StoredItems()->Count(), Entries.size());
        for (int I = 0; I < Entries.size(); ++I) {
            const TEntry& E = Entries[I];
            SCOPED_TRACE(E.Name.toStdString());
            TmxStoredItem* Item = Storage.GetItem(I);
            EXPECT_EQ(Item->Name(), E.Name);
            EXPECT_EQ(Storage.FindItem(E.Name.toUpper()), Item);
            EXPECT_EQ(Item->FileName(), QFileInfo(E.File).fileName());
            EXPECT_EQ(Item->FileSize(), E.Bytes.size());
            const QString Dest = Out.filePath(QStringLiteral("item%1").arg(I));
            Item->SaveToFile(Dest);
            EXPECT_EQ(ReadHostFile(Dest), E.Bytes);
            EXPECT_EQ(QFileInfo(Dest).size(), E.Bytes.size());
        }
    }

    QTemporaryDir Src;
    QTemporaryDir Out;
    QList<TEntry> Entries;
};

} // namespace

TEST_F(PackerTest, FolderRoundTripsByteForByte) {
    const QString Payload = Out.filePath(QStringLiteral("launcher.qvrp"));
    const TRun Run = RunPacker({Payload, ListOfEntries()});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Errors.toStdString();

    TmxStorage Storage;
    Storage.LoadFromFile(Payload);
    ExpectEntries(Storage);
    EXPECT_EQ(Storage.GetItem(0)->Compression(), clMax);
    EXPECT_EQ(Storage.GetItem(2)->Compression(), clFastest);
    EXPECT_EQ(Storage.GetItem(3)->Compression(), clNone);
    EXPECT_EQ(StoredBytes(Storage.GetItem(1)), ZlibReference(Entries[1].Bytes, -1));
}

TEST_F(PackerTest, StubCarriesThePayloadAtItsEnd) {
    const QString Stub = Src.filePath(QStringLiteral("qvrsetup.stub"));
    const QByteArray Program = QByteArray("\x7F"
                                          "ELF",
                                          4) +
                               SampleFile(20000, 5);
    WriteHostFile(Stub, Program);
    QFile::setPermissions(Stub, QFile::permissions(Stub) | QFile::ExeOwner);
    const QString Installer = Out.filePath(QStringLiteral("qvrsetup"));
    const TRun Run = RunPacker({QStringLiteral("--stub"), Stub, Installer, ListOfEntries()});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Errors.toStdString();

    EXPECT_TRUE(ReadHostFile(Installer).startsWith(Program));
    EXPECT_TRUE(QFileInfo(Installer).isExecutable());
    TmxStorage Storage;
    Storage.LoadFromFile(Installer);
    ExpectEntries(Storage);
}

TEST_F(PackerTest, BadListsFailWithoutOutput) {
    const struct {
        QStringList Lines;
        QString Error;
    } Cases[] = {
        {{QStringLiteral("a\tqvr.exe\tclMax"), QStringLiteral("A\tPresets.ini\tclNone")},
         QStringLiteral("Duplicated stored item name")},
        {{QStringLiteral("a\tqvr.exe\tclUltra")}, QStringLiteral("unknown level \"clUltra\"")},
        {{QStringLiteral("a\tmissing.bin\tclMax")}, QStringLiteral("Cannot open file")},
        {{QStringLiteral("a qvr.exe clMax")}, QStringLiteral("NAME<TAB>FILE<TAB>LEVEL")},
    };
    const QString Payload = Out.filePath(QStringLiteral("bad.qvrp"));
    for (const auto& Case : Cases) {
        const TRun Run = RunPacker({Payload, WriteList(Case.Lines)});
        EXPECT_EQ(Run.ExitCode, 1);
        EXPECT_TRUE(Run.Errors.contains(Case.Error)) << Run.Errors.toStdString();
        EXPECT_FALSE(QFile::exists(Payload));
    }
    EXPECT_EQ(RunPacker({Payload}).ExitCode, 2);
}
