// Starting and stopping the audio library: the version, the recording and
// output sides against a private PulseAudio server, and a launcher that must
// start quickly and cleanly when no server runs or one never answers.
#include "bass/bass.h"

#include "PrivatePulseServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// Sets an environment variable for one test and puts the old value back.
class TEnvOverride {
public:
    TEnvOverride(const char* Name, const char* Value) : FName(Name) {
        if (const char* Old = std::getenv(Name))
            FOld = Old;
        if (Value != nullptr)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }
    ~TEnvOverride() {
        if (FOld)
            setenv(FName.c_str(), FOld->c_str(), 1);
        else
            unsetenv(FName.c_str());
    }

private:
    std::string FName;
    std::optional<std::string> FOld;
};

// A socket that takes connections into its queue and never answers: a server
// that hangs.
class TSilentServer {
public:
    TSilentServer() {
        char Template[] = "/tmp/qvr-silent-XXXXXX";
        if (mkdtemp(Template) == nullptr)
            return;
        FDir = Template;
        sockaddr_un Addr{};
        Addr.sun_family = AF_UNIX;
        std::string Path = FDir + "/native";
        std::snprintf(Addr.sun_path, sizeof Addr.sun_path, "%s", Path.c_str());
        FSocket = socket(AF_UNIX, SOCK_STREAM, 0);
        if (FSocket >= 0 && bind(FSocket, reinterpret_cast<sockaddr*>(&Addr), sizeof Addr) == 0 &&
            listen(FSocket, 8) == 0)
            FAddress = "unix:" + Path;
    }
    ~TSilentServer() {
        if (FSocket >= 0)
            close(FSocket);
        if (!FDir.empty()) {
            unlink((FDir + "/native").c_str());
            rmdir(FDir.c_str());
        }
    }
    const std::string& Address() const { return FAddress; }

private:
    std::string FDir;
    std::string FAddress;
    int FSocket = -1;
};

long long MillisecondsSince(TClock::time_point Start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - Start).count();
}

// Each test leaves the library as it found it: both sides stopped.
class TBassTest : public ::testing::Test {
protected:
    void TearDown() override {
        BASS_RecordFree();
        BASS_Free();
    }
};

class TBassNoServerTest : public TBassTest {
protected:
    TEnvOverride FServer{"PULSE_SERVER", "unix:/nonexistent"};
};

class TBassServerTest : public TBassTest {
protected:
    void SetUp() override {
        if (!TPrivatePulseServer::IsAvailable())
            GTEST_SKIP() << "pulseaudio or pactl is not installed";
    }
    void TearDown() override {
        TBassTest::TearDown();
        FServer.Stop();
    }
    // Starts the server and points the library at it.
    bool StartServer(const std::vector<std::string>& Modules) {
        if (!FServer.Start(Modules))
            return false;
        FAddress.emplace("PULSE_SERVER", FServer.Address().c_str());
        return true;
    }

    TPrivatePulseServer FServer;
    std::optional<TEnvOverride> FAddress;
};

int Window = 0; // stands for the main window's handle

} // namespace

TEST(BassVersion, IsTwoPointOne) {
    EXPECT_EQ(BASS_GetVersion(), 0x00010002u);
}

TEST(BassExports, AreExactlyTheDeclaredCalls) {
    std::string Command =
        std::string("nm -D --defined-only '") + QVR_STAGE_DIR + "/libbass.so' 2>/dev/null";
    FILE* Pipe = popen(Command.c_str(), "r");
    ASSERT_NE(Pipe, nullptr);
    std::set<std::string> Exported;
    char Line[512];
    while (std::fgets(Line, sizeof Line, Pipe) != nullptr) {
        char Address[64], Kind[8], Name[400];
        if (std::sscanf(Line, "%63s %7s %399s", Address, Kind, Name) == 3 &&
            std::string(Kind) == "T")
            Exported.insert(Name);
    }
    if (pclose(Pipe) != 0 && Exported.empty())
        GTEST_SKIP() << "nm is not available";
    std::set<std::string> Declared = {
        "BASS_GetVersion",     "BASS_ErrorGetCode",   "BASS_RecordInit",  "BASS_Init",
        "BASS_RecordFree",     "BASS_Free",           "BASS_Stop",        "BASS_RecordGetInputName",
        "BASS_RecordGetInput", "BASS_RecordSetInput", "BASS_RecordStart", "BASS_ChannelStop"};
    EXPECT_EQ(Exported, Declared);
}

TEST_F(TBassTest, FreeingWhatWasNeverStartedIsHarmless) {
    EXPECT_FALSE(BASS_RecordFree());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Stop());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_RecordFree());
    EXPECT_FALSE(BASS_Free());
}

TEST_F(TBassTest, DeviceNumbersOutsideTheDefaultsAreRefused) {
    EXPECT_FALSE(BASS_RecordInit(1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_RecordInit(-2));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(0, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(2, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
}

TEST_F(TBassNoServerTest, RecordInitFailsAtOnce) {
    auto Start = TClock::now();
    EXPECT_FALSE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOSERVER);
    EXPECT_LT(MillisecondsSince(Start), 2500);
}

TEST_F(TBassNoServerTest, StartUpFailureThenShutDownIsClean) {
    // The launcher's failed start-up, then its shut-down.
    EXPECT_FALSE(BASS_RecordInit(0));
    BASS_RecordFree();
    BASS_Free();
    EXPECT_FALSE(BASS_Init(1, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOSERVER);
    EXPECT_FALSE(BASS_RecordFree());
    EXPECT_FALSE(BASS_Free());
    EXPECT_FALSE(BASS_Stop());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
}

TEST_F(TBassNoServerTest, ErrorCodesBelongToTheirThread) {
    EXPECT_FALSE(BASS_RecordInit(0));
    // Another thread neither sees this failure nor overwrites it with its own.
    int Other = -100;
    std::thread([&] {
        Other = BASS_ErrorGetCode();
        BASS_RecordFree();
    }).join();
    EXPECT_EQ(Other, BASS_OK);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOSERVER);
}

TEST_F(TBassTest, AServerThatNeverAnswersIsGivenUpWithinTheBound) {
    TSilentServer Silent;
    ASSERT_FALSE(Silent.Address().empty());
    TEnvOverride Server("PULSE_SERVER", Silent.Address().c_str());
    auto Start = TClock::now();
    EXPECT_FALSE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOSERVER);
    EXPECT_GE(MillisecondsSince(Start), 1500);
    EXPECT_LT(MillisecondsSince(Start), 3000);
}

TEST_F(TBassServerTest, StartsAndStopsAsTheLauncherDoes) {
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    auto Start = TClock::now();
    ASSERT_TRUE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    ASSERT_TRUE(BASS_Init(1, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    EXPECT_LT(MillisecondsSince(Start), 1000);

    EXPECT_TRUE(BASS_RecordFree());
    EXPECT_TRUE(BASS_Free());
    // Stop after Free finds nothing started and changes nothing.
    EXPECT_FALSE(BASS_Stop());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_RecordFree());
    EXPECT_FALSE(BASS_Free());
}

TEST_F(TBassServerTest, EachSideStartsOnceAndAgainAfterItsFree) {
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    ASSERT_TRUE(BASS_RecordInit(0));
    EXPECT_FALSE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(BASS_Init(1, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);

    // Freeing one side leaves the other, and the connection they share, working.
    EXPECT_TRUE(BASS_RecordFree());
    EXPECT_TRUE(BASS_Stop());
    EXPECT_TRUE(BASS_RecordInit(-1));
    EXPECT_TRUE(BASS_Free());
    EXPECT_TRUE(BASS_RecordFree());
    EXPECT_TRUE(BASS_RecordInit(0));
}

TEST_F(TBassServerTest, ASideStartsAgainOnANewServer) {
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    ASSERT_TRUE(BASS_Init(1, 44100, 0, &Window, nullptr));
    FServer.Stop();
    EXPECT_FALSE(BASS_RecordInit(0));
    // The output side still holds the dead connection; the recording side
    // opens a new one instead of taking that one over.
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    EXPECT_TRUE(BASS_RecordInit(0)) << BASS_ErrorGetCode();
    EXPECT_TRUE(BASS_Free());
    EXPECT_TRUE(BASS_RecordFree());
}

TEST_F(TBassServerTest, RecordingNeedsASource) {
    ASSERT_TRUE(StartServer({})) << FServer.Log();
    EXPECT_FALSE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NODEVICE);
    EXPECT_FALSE(BASS_Init(1, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NODEVICE);
    EXPECT_FALSE(BASS_RecordFree());
    EXPECT_FALSE(BASS_Free());
}

TEST_F(TBassServerTest, OutputNeedsASink) {
    ASSERT_TRUE(StartServer({"module-null-source source_name=mic"})) << FServer.Log();
    EXPECT_TRUE(BASS_RecordInit(0));
    EXPECT_FALSE(BASS_Init(1, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NODEVICE);
    EXPECT_TRUE(BASS_RecordFree());
}

TEST_F(TBassServerTest, TheServerIsFoundInTheRuntimeFolder) {
    ASSERT_TRUE(FServer.Start({TPrivatePulseServer::GameSink}, true)) << FServer.Log();
    TEnvOverride NoAddress("PULSE_SERVER", nullptr);
    TEnvOverride Runtime("XDG_RUNTIME_DIR", FServer.RuntimeDir().c_str());
    EXPECT_TRUE(BASS_RecordInit(0)) << BASS_ErrorGetCode();
    EXPECT_TRUE(BASS_RecordFree());
}

TEST_F(TBassServerTest, InputsAndRecordingAreNotAvailableYet) {
    EXPECT_EQ(BASS_RecordGetInputName(0), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_ChannelStop(1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);

    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    ASSERT_TRUE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_RecordGetInputName(0), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
    EXPECT_EQ(BASS_RecordGetInput(0), BASS_INPUT_ERROR);
    EXPECT_FALSE(BASS_RecordSetInput(0, BASS_INPUT_ON));
    EXPECT_EQ(BASS_RecordStart(44100, 2, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
    EXPECT_FALSE(BASS_ChannelStop(1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}
