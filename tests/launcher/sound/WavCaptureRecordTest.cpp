// A capture from end to end: a tone played into the sink "game" of a private
// PulseAudio server, recorded from its monitor through the audio library into
// a capture file.
#include "launcher/sound/WavCapture.h"

#include "common/FileSystem.h"

#include "BassFixture.h"
#include "SoundFiles.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdlib>

namespace {

BOOL RecordProc(HRECORD, const void* Buffer, DWORD Length, void* Capture) {
    return static_cast<TWavCapture*>(Capture)->Append(Buffer, Length);
}

using TWavCaptureRecordTest = TBassServerTest;

} // namespace

TEST_F(TWavCaptureRecordTest, AToneFromTheGameMonitorLandsInTheFile) {
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    ASSERT_TRUE(BASS_RecordInit(0)) << BASS_ErrorGetCode();
    int Monitor = -1;
    for (int I = 0; const char* Name = BASS_RecordGetInputName(I); ++I)
        if (std::string(Name) == "Monitor of Game")
            Monitor = I;
    ASSERT_GE(Monitor, 0);
    ASSERT_TRUE(BASS_RecordSetInput(Monitor, BASS_INPUT_ON));

    QTemporaryDir Tmp;
    const QString Host = Tmp.path() + "/take1.wav";
    TWavCapture Capture;
    Capture.Create(QvrFs::WinPathOfHost(Tmp.path()) + "\\take1.wav");
    Capture.WriteHeader();
    const HRECORD Channel = BASS_RecordStart(44100, 2, 0, RecordProc, &Capture);
    ASSERT_NE(Channel, 0u) << BASS_ErrorGetCode();
    ASSERT_TRUE(FServer.PlayTone(500));
    EXPECT_TRUE(WaitUntil([&] { return Peak(ReadHostFile(Host)) > 8000; }));
    ASSERT_TRUE(BASS_ChannelStop(Channel));
    EXPECT_TRUE(Capture.Finish());

    const QByteArray File = ReadHostFile(Host);
    ASSERT_GT(File.size(), 44);
    EXPECT_GT(Peak(File), 8000);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(File.constData() + 4), uint32_t(File.size() - 8));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(File.constData() + 40), uint32_t(File.size() - 44));
    EXPECT_EQ((File.size() - 44) % 4, 0);
}
