// The capture file against real files in a temporary folder: its header, its
// sizes after the stop, replacing an older file, and what a failed create or
// write leaves behind.
#include "launcher/sound/WavCapture.h"

#include "common/Errors.h"
#include "common/FileSystem.h"

#include "SoundFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

// The capture of some blocks of sound, start to end.
void Capture(const QString& WinPath, const QList<QByteArray>& Blocks) {
    TWavCapture C;
    C.Create(WinPath);
    C.WriteHeader();
    for (const QByteArray& B : Blocks)
        ASSERT_TRUE(C.Append(B.constData(), static_cast<uint32_t>(B.size())));
    EXPECT_TRUE(C.Finish());
    EXPECT_FALSE(C.IsOpen());
}

class TWavCaptureTest : public ::testing::Test {
protected:
    QString Host(const QString& Name) const { return FTmp.path() + "/" + Name; }
    QString Win(const QString& Name) const {
        return QvrFs::WinPathOfHost(FTmp.path()) + "\\" + Name;
    }
    QTemporaryDir FTmp;
};

} // namespace

TEST(WavHeader, SizesFollowTheFileSize) {
    struct TCase {
        uint64_t FileSize;
        uint32_t Riff, Data;
    };
    const TCase Cases[] = {
        {44, 36, 0},
        {44 + 176400, 176436, 176400},
        {0xFFFFFFFFull + 8, 0xFFFFFFFFu, 0xFFFFFFFFu - 36},
        // Past what 32 bits hold: the largest size, not a wrapped small one.
        {0xFFFFFFFFull + 9, 0xFFFFFFFFu, 0xFFFFFFFFu - 35},
        {0x100000000ull + 100, 0xFFFFFFFFu, 0xFFFFFFFFu},
    };
    for (const TCase& C : Cases) {
        TWavHeader H;
        H.SetFileSize(C.FileSize);
        EXPECT_EQ(H.RiffSize, C.Riff) << C.FileSize;
        EXPECT_EQ(H.DataSize, C.Data) << C.FileSize;
    }
}

TEST_F(TWavCaptureTest, TheFileHoldsTheHeaderAndTheSoundAsDelivered) {
    const QList<QList<QByteArray>> Takes = {
        {},
        {Sound(4, 1)},
        {Sound(8820, 2), Sound(8820, 3), Sound(1764, 4)},
    };
    for (const auto& Blocks : Takes) {
        Capture(Win("take.wav"), Blocks);
        const QByteArray File = ReadHostFile(Host("take.wav"));
        QByteArray Sound;
        for (const QByteArray& B : Blocks)
            Sound += B;
        EXPECT_EQ(File.size(), Sound.size() + 44);
        EXPECT_EQ(File.left(44).toHex(), ExpectedHeader(uint32_t(Sound.size())).toHex());
        EXPECT_EQ(File.mid(44), Sound);
    }
}

TEST_F(TWavCaptureTest, AnOlderFileOfThatNameIsReplaced) {
    QFile Old(Host("Final.WAV"));
    ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
    Old.write(QByteArray(5000, 'x'));
    Old.close();

    TWavCapture C;
    C.Create(Win("final.wav"));
    EXPECT_EQ(ReadHostFile(Host("Final.WAV")).size(), 0);
    C.Finish();
    // Without a header (no input to record) the file stays empty.
    EXPECT_EQ(ReadHostFile(Host("Final.WAV")).size(), 0);
    Capture(Win("final.wav"), {Sound(8, 5)});
    EXPECT_EQ(ReadHostFile(Host("Final.WAV")), ExpectedHeader(8) + Sound(8, 5));
    EXPECT_EQ(QDir(FTmp.path()).entryList(QDir::Files), QStringList{"Final.WAV"});
}

TEST_F(TWavCaptureTest, ACaptureStillOpenIsCompletedAtTheEnd) {
    {
        TWavCapture C;
        C.Create(Win("open.wav"));
        C.WriteHeader();
        ASSERT_TRUE(C.Append(Sound(12, 6).constData(), 12));
    }
    EXPECT_EQ(ReadHostFile(Host("open.wav")), ExpectedHeader(12) + Sound(12, 6));

    // A new capture completes the one before it.
    TWavCapture C;
    C.Create(Win("first.wav"));
    C.WriteHeader();
    ASSERT_TRUE(C.Append(Sound(16, 7).constData(), 16));
    C.Create(Win("second.wav"));
    EXPECT_EQ(ReadHostFile(Host("first.wav")), ExpectedHeader(16) + Sound(16, 7));
    EXPECT_TRUE(C.Finish());
    EXPECT_TRUE(C.Finish());
}

TEST_F(TWavCaptureTest, ACreateErrorNamesTheFileAndTheReason) {
    QFile Plain(Host("plain"));
    ASSERT_TRUE(Plain.open(QIODevice::WriteOnly));
    Plain.close();
    QDir(FTmp.path()).mkdir("folder.wav");
    struct TCase {
        QString Path;
        int Error;
    };
    const TCase Cases[] = {
        {Win("missing\\take.wav"), ENOENT},
        {Win("plain\\take.wav"), ENOTDIR},
        {Win("folder.wav"), EISDIR},
        {QString(), ENOENT},
    };
    for (const TCase& C : Cases) {
        TWavCapture Capture;
        try {
            Capture.Create(C.Path);
            ADD_FAILURE() << "no error for " << C.Path.toStdString();
        } catch (const EFCreateError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Cannot create file \"%1\". %2")
                                       .arg(C.Path, QString::fromLocal8Bit(strerror(C.Error))));
        }
        EXPECT_FALSE(Capture.IsOpen());
        EXPECT_FALSE(Capture.Append("abcd", 4));
    }
}

TEST_F(TWavCaptureTest, AFailedWriteLeavesAFileWhoseHeaderSaysWhatItHolds) {
    // Room for the header and 1002 bytes: the third block gets in part-way.
    TFileSizeLimit Limit(44 + 1002);
    TWavCapture C;
    C.Create(Win("full.wav"));
    C.WriteHeader();
    const QByteArray Block = Sound(400, 8);
    EXPECT_TRUE(C.Append(Block.constData(), 400));
    EXPECT_TRUE(C.Append(Block.constData(), 400));
    EXPECT_FALSE(C.Append(Block.constData(), 400));
    EXPECT_EQ(C.WriteError(), EFBIG);
    // Nothing more is appended, not even once there is room again.
    Limit.Lift();
    EXPECT_FALSE(C.Append(Block.constData(), 400));
    EXPECT_TRUE(C.Finish());
    // Whole frames only: 1000 bytes of sound.
    EXPECT_EQ(ReadHostFile(Host("full.wav")),
              ExpectedHeader(1000) + Block + Block + Block.left(200));

    // A header that does not fit is an error, and the file is closed.
    TFileSizeLimit Tiny(20);
    C.Create(Win("tiny.wav"));
    try {
        C.WriteHeader();
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& E) {
        EXPECT_TRUE(E.Message().startsWith("Write error on \"" + Win("tiny.wav") + "\". "))
            << E.Message().toStdString();
    }
    EXPECT_FALSE(C.IsOpen());
}
