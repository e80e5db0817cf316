// The exported calls: argument checks, error codes and the two sides
// (recording and output), which share one connection to the server while
// either is started.
#include "bass/bass.h"

#include "PulseLink.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace {

// A server that is up answers in milliseconds; the launcher must still start,
// without sound, when none does.
constexpr std::chrono::milliseconds ConnectTimeout{2000};

thread_local int GLastError = BASS_OK;

struct TLibraryState {
    std::mutex Lock;
    std::shared_ptr<TPulseLink> RecordLink;
    std::shared_ptr<TPulseLink> OutputLink;
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

// Starts one side on a connection whose server has at least one device of the
// kind that side needs.
BOOL StartSide(std::shared_ptr<TPulseLink>& Side, int (TPulseLink::*CountDevices)(TDeadline)) {
    TDeadline Deadline = std::chrono::steady_clock::now() + ConnectTimeout;
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    if (Side)
        return Fail(BASS_ERROR_ALREADY);
    std::shared_ptr<TPulseLink> Link;
    int Code = Connect(S, Deadline, Link);
    if (Code != BASS_OK)
        return Fail(Code);
    int Devices = ((*Link).*CountDevices)(Deadline);
    if (Devices < 0)
        return Fail(BASS_ERROR_NOSERVER);
    if (Devices == 0)
        return Fail(BASS_ERROR_NODEVICE);
    Side = std::move(Link);
    return Succeed();
}

BOOL FreeSide(std::shared_ptr<TPulseLink>& Side) {
    TLibraryState& S = State();
    std::shared_ptr<TPulseLink> Released;
    {
        std::lock_guard<std::mutex> Guard(S.Lock);
        if (!Side)
            return Fail(BASS_ERROR_INIT);
        Released = std::move(Side);
    }
    // The connection closes here when the other side does not hold it too.
    Released.reset();
    return Succeed();
}

bool IsRecordingStarted() {
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    return S.RecordLink != nullptr;
}

// Inputs and recording are not served yet: they fail as a device without
// them would, so the launcher shows empty lists and cannot start a capture.
int NotServedCode() {
    return IsRecordingStarted() ? BASS_ERROR_NOTAVAIL : BASS_ERROR_INIT;
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
    return StartSide(State().RecordLink, &TPulseLink::CountSources);
}

BOOL BASS_Init(int device, DWORD, DWORD, void*, const void*) {
    if (device != 1 && device != -1)
        return Fail(BASS_ERROR_DEVICE);
    return StartSide(State().OutputLink, &TPulseLink::CountSinks);
}

BOOL BASS_RecordFree(void) {
    return FreeSide(State().RecordLink);
}

BOOL BASS_Free(void) {
    return FreeSide(State().OutputLink);
}

BOOL BASS_Stop(void) {
    TLibraryState& S = State();
    std::lock_guard<std::mutex> Guard(S.Lock);
    if (!S.OutputLink)
        return Fail(BASS_ERROR_INIT);
    // Nothing plays through the output side, so there is nothing to stop.
    return Succeed();
}

const char* BASS_RecordGetInputName(int) {
    Fail(NotServedCode());
    return nullptr;
}

DWORD BASS_RecordGetInput(int) {
    Fail(NotServedCode());
    return BASS_INPUT_ERROR;
}

BOOL BASS_RecordSetInput(int, DWORD) {
    return Fail(NotServedCode());
}

HRECORD BASS_RecordStart(DWORD, DWORD, DWORD, RECORDPROC, void*) {
    Fail(NotServedCode());
    return 0;
}

BOOL BASS_ChannelStop(DWORD) {
    // No channel can exist while recording is not served.
    return Fail(IsRecordingStarted() ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
}

} // extern "C"
