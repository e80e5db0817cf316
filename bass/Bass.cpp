// The exported calls: argument checks, error codes and the two sides
// (recording and output), which share one connection to the server while
// either is started.
#include "bass/bass.h"

#include "PulseLink.h"
#include "Recording.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace {

// A server that is up answers in milliseconds; the launcher must still start,
// without sound, when none does.
constexpr std::chrono::milliseconds ConnectTimeout{2000};

thread_local int GLastError = BASS_OK;

struct TLibraryState {
    // Held for short steps only, never while waiting for a recording's
    // callback: a callback may make calls of its own.
    std::mutex Lock;
    std::shared_ptr<TPulseLink> RecordLink;
    std::shared_ptr<TPulseLink> OutputLink;
    // The name of the source that is on (the one a recording reads); empty
    // when every input is off.
    std::string ChosenSource;
    std::map<HRECORD, std::shared_ptr<TRecording>> Recordings;
    HRECORD LastHandle = 0;
};

TLibraryState& State() {
    static TLibraryState S;
    return S;
}

BOOL Fail(int Code) {
    GLastError = Code;
    return 0;
}

BOOL Succeed() {
    GLastError = BASS_OK;
    return 1;
}

TDeadline NewDeadline() {
    return std::chrono::steady_clock::now() + ConnectTimeout;
}

// The connection that a side starting now can use: the other side's, while it
// is still alive, else a new one.
int Connect(TLibraryState& S, TDeadline Deadline, std::shared_ptr<TPulseLink>& Link) {
    for (const auto* Other : {&S.RecordLink, &S.OutputLink}) {
        if (*Other && (*Other)->IsAlive()) {
            Link = *Other;
            return BASS_OK;
        }
    }
    switch (TPulseLink::Open(Deadline, Link)) {
    case TPulseLink::TOpenResult::Ok:
        return BASS_OK;
    case TPulseLink::TOpenResult::NoMemory:
        return BASS_ERROR_MEM;
    case TPulseLink::TOpenResult::NoServer:
        break;
    }
    return BASS_ERROR_NOSERVER;
}

// Starts one side on a connection that Check accepts (BASS_OK, else the
// error code); Check runs with the library locked.
BOOL StartSide(std::shared_ptr<TPulseLink> TLibraryState::*Side,
               const std::function<int(TLibraryState&, TPulseLink&, TDeadline)>& Check) {
    TDeadline Deadline = NewDeadline();
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    if (S.*Side)
        return Fail(BASS_ERROR_ALREADY);
    std::shared_ptr<TPulseLink> Link;
    int Code = Connect(S, Deadline, Link);
    if (Code == BASS_OK)
        Code = Check(S, *Link, Deadline);
    if (Code != BASS_OK)
        return Fail(Code);
    S.*Side = std::move(Link);
    return Succeed();
}

int CheckDeviceCount(int Devices) {
    if (Devices < 0)
        return BASS_ERROR_NOSERVER;
    return Devices == 0 ? BASS_ERROR_NODEVICE : BASS_OK;
}

void StopAll(std::map<HRECORD, std::shared_ptr<TRecording>>& Recordings) {
    for (auto& [Handle, Recording] : Recordings)
        Recording->Stop();
    Recordings.clear();
}

BOOL FreeSide(std::shared_ptr<TPulseLink> TLibraryState::*Side) {
    TLibraryState& S = State();
    std::shared_ptr<TPulseLink> Released;
    std::map<HRECORD, std::shared_ptr<TRecording>> Recordings;
    {
        std::lock_guard<std::mutex> Guard(S.Lock);
        if (!(S.*Side))
            return Fail(BASS_ERROR_INIT);
        Released = std::move(S.*Side);
        if (Side == &TLibraryState::RecordLink) {
            Recordings.swap(S.Recordings);
            S.ChosenSource.clear();
        }
    }
    // Outside the lock: a callback that is running may make calls of its own.
    StopAll(Recordings);
    // The connection closes here when nothing else holds it.
    Released.reset();
    return Succeed();
}

// The recording side's connection, or nullptr with BASS_ERROR_INIT set.
std::shared_ptr<TPulseLink> RecordLink(std::string* Chosen = nullptr) {
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    if (!S.RecordLink)
        Fail(BASS_ERROR_INIT);
    else if (Chosen != nullptr)
        *Chosen = S.ChosenSource;
    return S.RecordLink;
}

// The input numbered Input, from a fresh list of the server's sources; false
// with the error code set when there is none.
bool FindInput(int Input, TSourceInfo& Found, std::shared_ptr<TPulseLink>* LinkOut = nullptr,
               std::string* Chosen = nullptr) {
    std::shared_ptr<TPulseLink> Link = RecordLink(Chosen);
    if (!Link)
        return false;
    std::vector<TSourceInfo> Sources;
    if (!Link->ListSources(NewDeadline(), Sources))
        return Fail(BASS_ERROR_NOSERVER);
    if (Input < 0 || static_cast<size_t>(Input) >= Sources.size())
        return Fail(BASS_ERROR_ILLPARAM);
    Found = Sources[static_cast<size_t>(Input)];
    if (LinkOut != nullptr)
        *LinkOut = std::move(Link);
    return true;
}

DWORD PercentOfVolume(uint32_t Volume) {
    const uint64_t Percent = (uint64_t{Volume} * 100 + CVolumeNorm / 2) / CVolumeNorm;
    return static_cast<DWORD>(std::min<uint64_t>(Percent, BASS_INPUT_LEVEL_MASK));
}

uint32_t VolumeOfPercent(DWORD Percent) {
    return static_cast<uint32_t>((uint64_t{Percent} * CVolumeNorm + 50) / 100);
}

} // namespace

extern "C" {

DWORD BASS_GetVersion(void) {
    return BASS_VERSION;
}

int BASS_ErrorGetCode(void) {
    return GLastError;
}

BOOL BASS_RecordInit(int device) {
    if (device != 0 && device != -1)
        return Fail(BASS_ERROR_DEVICE);
    return StartSide(&TLibraryState::RecordLink,
                     [](TLibraryState& S, TPulseLink& Link, TDeadline Deadline) {
                         int Code = CheckDeviceCount(Link.CountSources(Deadline));
                         // The input that is on at start is the server's default source.
                         if (Code == BASS_OK && !Link.DefaultSourceName(Deadline, S.ChosenSource))
                             Code = BASS_ERROR_NOSERVER;
                         return Code;
                     });
}

BOOL BASS_Init(int device, DWORD, DWORD, void*, const void*) {
    if (device != 1 && device != -1)
        return Fail(BASS_ERROR_DEVICE);
    return StartSide(&TLibraryState::OutputLink,
                     [](TLibraryState&, TPulseLink& Link, TDeadline Deadline) {
                         return CheckDeviceCount(Link.CountSinks(Deadline));
                     });
}

BOOL BASS_RecordFree(void) {
    return FreeSide(&TLibraryState::RecordLink);
}

BOOL BASS_Free(void) {
    return FreeSide(&TLibraryState::OutputLink);
}

BOOL BASS_Stop(void) {
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    if (!S.OutputLink)
        return Fail(BASS_ERROR_INIT);
    // Nothing plays through the output side, so there is nothing to stop.
    return Succeed();
}

const char* BASS_RecordGetInputName(int input) {
    TSourceInfo Source;
    if (!FindInput(input, Source))
        return nullptr;
    // The name stays valid until this thread's next call.
    thread_local std::string Name;
    Name = Source.Description.empty() ? Source.Name : Source.Description;
    Succeed();
    return Name.c_str();
}

DWORD BASS_RecordGetInput(int input) {
    TSourceInfo Source;
    std::string Chosen;
    if (!FindInput(input, Source, nullptr, &Chosen))
        return BASS_INPUT_ERROR;
    Succeed();
    return (Source.Name == Chosen ? 0 : BASS_INPUT_OFF) | PercentOfVolume(Source.AverageVolume);
}

BOOL BASS_RecordSetInput(int input, DWORD setting) {
    const DWORD Action = setting & ~BASS_INPUT_LEVEL_MASK;
    const DWORD Level = setting & BASS_INPUT_LEVEL_MASK;
    const bool Off = (Action & BASS_INPUT_OFF) != 0;
    const bool On = (Action & BASS_INPUT_ON) != 0;
    const bool SetLevel = (Action & BASS_INPUT_LEVEL) != 0;
    if ((Action & ~(BASS_INPUT_OFF | BASS_INPUT_ON | BASS_INPUT_LEVEL)) != 0 || (Off && On) ||
        (SetLevel ? Level > 100 : Level != 0))
        return Fail(BASS_ERROR_ILLPARAM);

    TSourceInfo Source;
    std::shared_ptr<TPulseLink> Link;
    if (!FindInput(input, Source, &Link))
        return 0;
    if (SetLevel && !Link->SetSourceVolume(Source, VolumeOfPercent(Level), NewDeadline()))
        return Fail(Link->IsAlive() ? BASS_ERROR_UNKNOWN : BASS_ERROR_NOSERVER);
    if (On || Off) {
        TLibraryState& S = State();
        std::lock_guard<std::mutex> Guard(S.Lock);
        if (On)
            S.ChosenSource = Source.Name;
        else if (S.ChosenSource == Source.Name)
            S.ChosenSource.clear();
    }
    return Succeed();
}

HRECORD BASS_RecordStart(DWORD freq, DWORD chans, DWORD flags, RECORDPROC proc, void* user) {
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    if (!S.RecordLink)
        return Fail(BASS_ERROR_INIT);
    if (proc == nullptr)
        return Fail(BASS_ERROR_ILLPARAM);
    if (flags != 0 || chans > 255 ||
        !TPulseRecordStream::IsValidFormat(freq, static_cast<uint8_t>(chans)))
        return Fail(BASS_ERROR_FORMAT);
    for (auto& [Handle, Recording] : S.Recordings) {
        if (!Recording->HasEnded())
            return Fail(BASS_ERROR_ALREADY);
    }
    if (S.ChosenSource.empty())
        return Fail(BASS_ERROR_NODEVICE);
    HRECORD Handle = S.LastHandle + 1;
    while (Handle == 0 || S.Recordings.count(Handle) != 0)
        ++Handle;
    int Error = BASS_OK;
    auto Recording =
        TRecording::Start(S.RecordLink, S.ChosenSource, freq, static_cast<uint8_t>(chans), Handle,
                          proc, user, NewDeadline(), Error);
    if (!Recording)
        return Fail(Error);
    S.LastHandle = Handle;
    S.Recordings.emplace(Handle, std::move(Recording));
    Succeed();
    return Handle;
}

BOOL BASS_ChannelStop(DWORD handle) {
    TLibraryState& S = State();
    std::shared_ptr<TRecording> Recording;
    {
        std::lock_guard<std::mutex> Guard(S.Lock);
        if (!S.RecordLink)
            return Fail(BASS_ERROR_INIT);
        auto It = S.Recordings.find(handle);
        if (It == S.Recordings.end())
            return Fail(BASS_ERROR_HANDLE);
        Recording = It->second;
    }
    // Outside the lock: the callback that is running may make calls of its
    // own before it returns. A second stop of the same channel meanwhile
    // waits here as well.
    Recording->Stop();
    std::lock_guard<std::mutex> Guard(S.Lock);
    auto It = S.Recordings.find(handle);
    if (It != S.Recordings.end() && It->second == Recording)
        S.Recordings.erase(It);
    return Succeed();
}

} // extern "C"
