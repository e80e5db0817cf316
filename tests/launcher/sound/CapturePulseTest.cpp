// The capture watch from end to end: the window records, through the real
// audio library, a tone that the "game" plays into the sink of a private
// PulseAudio server, from that sink's monitor.
#include "SoundWindowFixture.h"

#include "launcher/sound/qvr_BassLibrary.h"

#include "BassFixture.h"
#include "SoundFiles.h"
#include "support/WaitUntil.h"

#include <optional>

namespace {

class CapturePulseTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        if (!TPrivatePulseServer::IsAvailable())
            GTEST_SKIP() << "pulseaudio or pactl is not installed";
        ASSERT_TRUE(FServer.Start({TPrivatePulseServer::GameSink})) << FServer.Log();
        FAddress.emplace("PULSE_SERVER", FServer.Address().c_str());
        Services.Bass = &FLibrary;
    }
    void TearDown() override {
        CaptureTest::TearDown();
        FAddress.reset();
        FServer.Stop();
    }

    TBassLibrary FLibrary;
    TPrivatePulseServer FServer;
    std::optional<TEnvOverride> FAddress;
};

} // namespace

TEST_F(CapturePulseTest, AToneThatTheGamePlaysLandsInTheCaptureFile) {
    StartWatching();
    ASSERT_EQ(Find<QComboBox>("edSource")->currentText(), "Monitor of Game");
    Game.Runs = true;
    Tick();
    ASSERT_TRUE(Window->Sound().CapturingSound()) << Dialogs.Messages().join('|').toStdString();
    ASSERT_TRUE(FServer.PlayTone(500));
    const QString Host = Demos() + "/Intro/take1.wav";
    EXPECT_TRUE(WaitUntil([&] { return Peak(ReadHost(Host)) > 8000; }));
    Game.Runs = false;
    Tick();
    ASSERT_FALSE(Window->Sound().CapturingSound());

    const QByteArray File = ReadHost(Host);
    ASSERT_GT(File.size(), 44);
    EXPECT_EQ(File.left(44), ExpectedHeader(static_cast<uint32_t>(File.size() - 44)));
    EXPECT_EQ((File.size() - 44) % 4, 0);
    EXPECT_GT(Peak(File), 8000);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}
