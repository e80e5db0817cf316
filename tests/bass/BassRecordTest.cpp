// The recording calls against a private PulseAudio server with two sources:
// the monitor of the sink "game" and a null source "mic". Inputs, their on
// and off state and levels, recording a tone played into the sink, and the
// stop that leaves no callback behind.
#include "BassFixture.h"

#include "support/WaitUntil.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

namespace {

constexpr int CGameMonitor = 0;
constexpr int CMic = 1;

class TBassRecordTest : public TBassServerTest {
protected:
    void SetUp() override {
        TBassServerTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(
            StartServer({TPrivatePulseServer::GameSink, "module-null-source source_name=mic "
                                                        "description=Mic"}))
            << FServer.Log();
        std::string Out;
        ASSERT_TRUE(FServer.RunClient({"pactl", "set-default-source", "mic"}, &Out)) << Out;
        ASSERT_TRUE(BASS_RecordInit(0)) << BASS_ErrorGetCode();
    }

    // Whether each input is on, by number.
    static std::vector<bool> InputsOn() {
        std::vector<bool> On;
        for (int I = 0; BASS_RecordGetInputName(I) != nullptr; ++I)
            On.push_back((BASS_RecordGetInput(I) & BASS_INPUT_OFF) == 0);
        return On;
    }

    // The raw volume that pactl reports for each channel of a source.
    std::vector<long> ServerVolumes(const std::string& Source) {
        std::string Out;
        EXPECT_TRUE(FServer.RunClient({"pactl", "get-source-volume", Source}, &Out)) << Out;
        std::vector<long> Volumes;
        for (size_t At = Out.find(':'); At != std::string::npos; At = Out.find(':', At + 1)) {
            char* End = nullptr;
            long V = std::strtol(Out.c_str() + At + 1, &End, 10);
            if (End != Out.c_str() + At + 1 && std::strncmp(End, " /", 2) == 0)
                Volumes.push_back(V);
        }
        return Volumes;
    }
};

// What a recording's callback saw.
struct TTake {
    std::atomic<long> Bytes{0};
    std::atomic<long> Calls{0};
    std::atomic<int> Peak{0};
    std::atomic<bool> OddBlock{false};
    std::atomic<bool> OnCallerThread{false};
    std::thread::id Caller = std::this_thread::get_id();
    // Runs inside each call when set; its result is the callback's.
    std::function<BOOL()> Inside;
};

BOOL CollectBlock(HRECORD, const void* Buffer, DWORD Length, void* User) {
    auto* T = static_cast<TTake*>(User);
    if (std::this_thread::get_id() == T->Caller)
        T->OnCallerThread = true;
    if (Length % 4 != 0)
        T->OddBlock = true;
    int Peak = T->Peak;
    for (DWORD I = 0; I + 1 < Length; I += 2) {
        int16_t Sample;
        std::memcpy(&Sample, static_cast<const char*>(Buffer) + I, 2);
        Peak = std::max(Peak, std::abs(int{Sample}));
    }
    T->Peak = Peak;
    T->Bytes += Length;
    ++T->Calls;
    return T->Inside ? T->Inside() : 1;
}

// How long to watch for a callback that must not come.
constexpr int CQuietMs = 300;

} // namespace

TEST_F(TBassTest, EveryRecordingCallFailsBeforeRecordInit) {
    TTake Take;
    const std::vector<std::pair<const char*, std::function<bool()>>> Calls = {
        {"GetInputName", [] { return BASS_RecordGetInputName(0) == nullptr; }},
        {"GetInput", [] { return BASS_RecordGetInput(0) == BASS_INPUT_ERROR; }},
        {"SetInput", [] { return !BASS_RecordSetInput(0, BASS_INPUT_ON); }},
        {"RecordStart", [&] { return BASS_RecordStart(44100, 2, 0, CollectBlock, &Take) == 0; }},
        {"ChannelStop", [] { return !BASS_ChannelStop(1); }},
    };
    for (const auto& [Name, Failed] : Calls) {
        EXPECT_TRUE(Failed()) << Name;
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT) << Name;
    }
}

TEST_F(TBassRecordTest, InputsAreTheSourcesAndTheDefaultOneIsOn) {
    EXPECT_STREQ(BASS_RecordGetInputName(CGameMonitor), "Monitor of Game");
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    EXPECT_STREQ(BASS_RecordGetInputName(CMic), "Mic");
    for (int Past : {2, -1}) {
        EXPECT_EQ(BASS_RecordGetInputName(Past), nullptr) << Past;
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
        EXPECT_EQ(BASS_RecordGetInput(Past), BASS_INPUT_ERROR) << Past;
        EXPECT_FALSE(BASS_RecordSetInput(Past, BASS_INPUT_ON)) << Past;
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    }
    EXPECT_EQ(InputsOn(), (std::vector<bool>{false, true}));
}

TEST_F(TBassRecordTest, OnChoosesTheOneInputThatIsOn) {
    struct TStep {
        int Input;
        DWORD Setting;
        std::vector<bool> On;
    };
    const TStep Steps[] = {
        {CGameMonitor, BASS_INPUT_ON, {true, false}},
        {CMic, BASS_INPUT_OFF, {true, false}}, // an input that is off stays off
        {CMic, BASS_INPUT_ON, {false, true}},
        {CGameMonitor, BASS_INPUT_OFF, {false, true}},
        {CMic, BASS_INPUT_OFF, {false, false}},
        {CMic, BASS_INPUT_ON | BASS_INPUT_LEVEL | 100, {false, true}},
    };
    for (const TStep& S : Steps) {
        EXPECT_TRUE(BASS_RecordSetInput(S.Input, S.Setting)) << std::hex << S.Setting;
        EXPECT_EQ(InputsOn(), S.On) << S.Input << " " << std::hex << S.Setting;
    }
    for (DWORD Bad : {DWORD{BASS_INPUT_ON | BASS_INPUT_OFF}, DWORD{BASS_INPUT_LEVEL | 101},
                      DWORD{0x80000}, DWORD{BASS_INPUT_OFF | 5}}) {
        EXPECT_FALSE(BASS_RecordSetInput(CGameMonitor, Bad)) << std::hex << Bad;
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    }
    EXPECT_EQ(InputsOn(), (std::vector<bool>{false, true}));

    // With every input off there is nothing to record.
    ASSERT_TRUE(BASS_RecordSetInput(CMic, BASS_INPUT_OFF));
    TTake Take;
    EXPECT_EQ(BASS_RecordStart(44100, 2, 0, CollectBlock, &Take), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NODEVICE);
}

TEST_F(TBassRecordTest, TheLevelIsTheSourcesVolume) {
    for (DWORD Level : {0u, 1u, 37u, 99u, 100u}) {
        ASSERT_TRUE(BASS_RecordSetInput(CGameMonitor, BASS_INPUT_LEVEL | Level)) << Level;
        const long Raw = static_cast<long>((Level * 0x10000u + 50) / 100);
        EXPECT_EQ(ServerVolumes("game.monitor"), (std::vector<long>{Raw, Raw})) << Level;
        // The level leaves the input off.
        EXPECT_EQ(BASS_RecordGetInput(CGameMonitor), BASS_INPUT_OFF | Level);
    }
    ASSERT_TRUE(FServer.RunClient({"pactl", "set-source-volume", "mic", "80%"}));
    EXPECT_EQ(BASS_RecordGetInput(CMic), 80u);
}

TEST_F(TBassRecordTest, RecordsAToneFromTheGameMonitor) {
    ASSERT_TRUE(BASS_RecordSetInput(CGameMonitor, BASS_INPUT_ON));
    TTake Take;
    const HRECORD Channel = BASS_RecordStart(44100, 2, 0, CollectBlock, &Take);
    ASSERT_NE(Channel, 0u) << BASS_ErrorGetCode();
    ASSERT_TRUE(FServer.PlayTone(500));
    EXPECT_TRUE(WaitUntil([&] { return Take.Peak > 8000; })) << Take.Peak;
    EXPECT_TRUE(BASS_ChannelStop(Channel));
    EXPECT_FALSE(Take.OddBlock);
    EXPECT_FALSE(Take.OnCallerThread);
    // The sound of a silent sink is silence.
    Take.Peak = 0;
    const HRECORD Quiet = BASS_RecordStart(44100, 2, 0, CollectBlock, &Take);
    ASSERT_NE(Quiet, 0u);
    const long Before = Take.Bytes;
    ASSERT_TRUE(WaitUntil([&] { return Take.Bytes > Before + 44100; }));
    EXPECT_TRUE(BASS_ChannelStop(Quiet));
    EXPECT_EQ(Take.Peak, 0);
}

TEST_F(TBassRecordTest, StopWaitsForARunningCallbackAndNoneFollows) {
    // The null source delivers at once; an idle sink's monitor only after a while.
    ASSERT_TRUE(BASS_RecordSetInput(CMic, BASS_INPUT_ON));
    std::atomic<bool> Entered{false}, Release{false}, FirstDone{false}, Returned{false};
    std::atomic<long> AfterReturn{0};
    TTake Take;
    Take.Inside = [&] {
        if (Returned)
            ++AfterReturn;
        if (!Entered.exchange(true)) {
            // A callback that takes its time, as on a slow disk.
            WaitUntil([&] { return Release.load(); });
            FirstDone = true;
        }
        return BOOL{1};
    };
    const HRECORD Channel = BASS_RecordStart(44100, 2, 0, CollectBlock, &Take);
    ASSERT_NE(Channel, 0u) << BASS_ErrorGetCode();
    ASSERT_TRUE(WaitUntil([&] { return Entered.load(); }));

    bool Stopped = false, FirstDoneAtReturn = false;
    std::thread Stopper([&] {
        Stopped = BASS_ChannelStop(Channel) != 0;
        FirstDoneAtReturn = FirstDone;
        Returned = true;
    });
    EXPECT_FALSE(WaitUntil([&] { return Returned.load(); }, CQuietMs));
    // Meanwhile the library answers other calls.
    EXPECT_STREQ(BASS_RecordGetInputName(CMic), "Mic");
    Release = true;
    Stopper.join();
    EXPECT_TRUE(Stopped);
    EXPECT_TRUE(FirstDoneAtReturn);
    EXPECT_FALSE(WaitUntil([&] { return AfterReturn > 0; }, CQuietMs));
    EXPECT_FALSE(BASS_ChannelStop(Channel));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST_F(TBassRecordTest, ARecordingEndsByItsCallbackOrByRecordFree) {
    ASSERT_TRUE(BASS_RecordSetInput(CMic, BASS_INPUT_ON));
    // A callback that says no is not called again; its channel stays until
    // it is stopped, and a new recording may start meanwhile.
    TTake Refusing;
    Refusing.Inside = [] { return BOOL{0}; };
    const HRECORD Ended = BASS_RecordStart(44100, 2, 0, CollectBlock, &Refusing);
    ASSERT_NE(Ended, 0u);
    ASSERT_TRUE(WaitUntil([&] { return Refusing.Calls > 0; }));
    EXPECT_FALSE(WaitUntil([&] { return Refusing.Calls > 1; }, CQuietMs));

    // A callback that stops its own channel is not called again either.
    TTake SelfStopping;
    std::atomic<HRECORD> Own{0};
    SelfStopping.Inside = [&] {
        WaitUntil([&] { return Own != 0; });
        return BASS_ChannelStop(Own);
    };
    Own = BASS_RecordStart(44100, 2, 0, CollectBlock, &SelfStopping);
    ASSERT_NE(Own.load(), 0u);
    EXPECT_NE(Own.load(), Ended);
    ASSERT_TRUE(WaitUntil([&] { return SelfStopping.Calls > 0; }));
    EXPECT_FALSE(WaitUntil([&] { return SelfStopping.Calls > 1; }, CQuietMs));
    EXPECT_FALSE(BASS_ChannelStop(Own));
    EXPECT_TRUE(BASS_ChannelStop(Ended));

    // One recording at a time; RecordFree stops it for good.
    TTake Running;
    const HRECORD Channel = BASS_RecordStart(44100, 2, 0, CollectBlock, &Running);
    ASSERT_NE(Channel, 0u);
    TTake Second;
    EXPECT_EQ(BASS_RecordStart(44100, 2, 0, CollectBlock, &Second), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    ASSERT_TRUE(WaitUntil([&] { return Running.Calls > 0; }));
    EXPECT_TRUE(BASS_RecordFree());
    const long Calls = Running.Calls;
    EXPECT_FALSE(WaitUntil([&] { return Running.Calls > Calls; }, CQuietMs));
    EXPECT_FALSE(BASS_ChannelStop(Channel));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
}

TEST_F(TBassRecordTest, RecordStartRefusesWhatItCannotRecord) {
    TTake Take;
    struct TCase {
        DWORD Freq, Chans, Flags;
        RECORDPROC Proc;
        int Error;
    };
    const TCase Cases[] = {
        {44100, 2, 0, nullptr, BASS_ERROR_ILLPARAM},
        {44100, 2, 1, CollectBlock, BASS_ERROR_FORMAT},
        {44100, 0, 0, CollectBlock, BASS_ERROR_FORMAT},
        {44100, 256, 0, CollectBlock, BASS_ERROR_FORMAT},
        {0, 2, 0, CollectBlock, BASS_ERROR_FORMAT},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(BASS_RecordStart(C.Freq, C.Chans, C.Flags, C.Proc, &Take), 0u)
            << C.Freq << " " << C.Chans << " " << C.Flags;
        EXPECT_EQ(BASS_ErrorGetCode(), C.Error) << C.Freq << " " << C.Chans << " " << C.Flags;
    }
    EXPECT_EQ(Take.Calls, 0);
}
