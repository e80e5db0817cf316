// Starting and stopping the audio library: its exported calls, the recording
// and output sides against a private PulseAudio server, and a launcher that
// must start quickly and cleanly when no server runs or one never answers.
#include "BassFixture.h"

#include "support/WaitUntil.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

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

class TBassNoServerTest : public TBassTest {
protected:
    TEnvOverride FServer{"PULSE_SERVER", "unix:/nonexistent"};
};

int Window = 0; // stands for the main window's handle

} // namespace

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

// The launcher starts without sound, and without hanging, when the server
// never answers; a live server and a missing one are answered before that
// server is given up, so only it is waited for.
TEST_F(TBassServerTest, OnlyAServerThatNeverAnswersIsWaitedFor) {
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    auto Start = TClock::now();
    ASSERT_TRUE(BASS_RecordInit(0));
    ASSERT_TRUE(BASS_Init(1, 44100, 0, &Window, nullptr));
    const auto Live = TClock::now() - Start;
    BASS_RecordFree();
    BASS_Free();

    TEnvOverride Missing("PULSE_SERVER", "unix:/nonexistent");
    Start = TClock::now();
    EXPECT_FALSE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOSERVER);
    const auto Refused = TClock::now() - Start;

    TSilentServer Silent;
    ASSERT_FALSE(Silent.Address().empty());
    TEnvOverride Server("PULSE_SERVER", Silent.Address().c_str());
    std::atomic<bool> Done{false};
    BOOL Result = 1;
    int Code = BASS_OK;
    Start = TClock::now();
    std::thread Attempt([&] {
        Result = BASS_RecordInit(0);
        Code = BASS_ErrorGetCode();
        Done = true;
    });
    const bool GaveUp = WaitUntil([&] { return Done.load(); }, 60000);
    Attempt.join();
    const auto Silence = TClock::now() - Start;
    EXPECT_TRUE(GaveUp);
    EXPECT_FALSE(Result);
    EXPECT_EQ(Code, BASS_ERROR_NOSERVER);
    EXPECT_LT(Live, Silence);
    EXPECT_LT(Refused, Silence);
}

TEST_F(TBassServerTest, StartsAndStopsAsTheLauncherDoes) {
    ASSERT_TRUE(StartServer({TPrivatePulseServer::GameSink})) << FServer.Log();
    ASSERT_TRUE(BASS_RecordInit(0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    ASSERT_TRUE(BASS_Init(1, 44100, 0, &Window, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);

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

// A server without a source has nothing to record from, and one without a
// sink nothing to play to; each side fails alone.
TEST_F(TBassServerTest, EachSideNeedsItsKindOfDevice) {
    const struct {
        const char* Name;
        std::vector<std::string> Modules;
        bool Record, Output;
    } Cases[] = {
        {"no device at all", {}, false, false},
        {"a source but no sink", {"module-null-source source_name=mic"}, true, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        ASSERT_TRUE(StartServer(C.Modules)) << FServer.Log();
        EXPECT_EQ(BASS_RecordInit(0), C.Record);
        if (!C.Record) {
            EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NODEVICE);
        }
        EXPECT_EQ(BASS_Init(1, 44100, 0, &Window, nullptr), C.Output);
        if (!C.Output) {
            EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NODEVICE);
        }
        EXPECT_EQ(BASS_RecordFree(), C.Record);
        EXPECT_EQ(BASS_Free(), C.Output);
        FServer.Stop();
    }
}

TEST_F(TBassServerTest, TheServerIsFoundInTheRuntimeFolder) {
    ASSERT_TRUE(FServer.Start({TPrivatePulseServer::GameSink}, true)) << FServer.Log();
    TEnvOverride NoAddress("PULSE_SERVER", nullptr);
    TEnvOverride Runtime("XDG_RUNTIME_DIR", FServer.RuntimeDir().c_str());
    EXPECT_TRUE(BASS_RecordInit(0)) << BASS_ErrorGetCode();
    EXPECT_TRUE(BASS_RecordFree());
}
