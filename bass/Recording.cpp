#include "Recording.h"

#include <algorithm>

TRecording::TRecording(HRECORD Handle, RECORDPROC Proc, void* User)
    : FHandle(Handle), FProc(Proc), FUser(User) {}

std::shared_ptr<TRecording> TRecording::Start(std::shared_ptr<TPulseLink> Link,
                                              const std::string& Source, uint32_t Rate,
                                              uint8_t Channels, HRECORD Handle, RECORDPROC Proc,
                                              void* User, TDeadline Deadline, int& Error) {
    std::shared_ptr<TRecording> R(new TRecording(Handle, Proc, User));
    TRecording* Raw = R.get();
    std::unique_ptr<TPulseRecordStream> Stream;
    // The stream is closed before the channel goes, so the raw pointer suffices.
    auto Result = TPulseRecordStream::Open(
        std::move(Link), Source, Rate, Channels,
        [Raw](const void* Data, size_t Length) { Raw->Push(Data, Length); }, Deadline, Stream);
    switch (Result) {
    case TPulseRecordStream::TOpenResult::Ok:
        break;
    case TPulseRecordStream::TOpenResult::NoServer:
        Error = BASS_ERROR_NOSERVER;
        return nullptr;
    case TPulseRecordStream::TOpenResult::NoSource:
        Error = BASS_ERROR_NODEVICE;
        return nullptr;
    case TPulseRecordStream::TOpenResult::NoMemory:
        Error = BASS_ERROR_MEM;
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> Guard(R->FStreamLock);
        R->FStream = std::move(Stream);
    }
    // The thread holds the channel, so a stop from inside the callback, which
    // may drop every other hold, leaves it alive until the thread is done.
    R->FThread = std::thread([Self = R->shared_from_this()] { Self->Run(); });
    R->FThreadId = R->FThread.get_id();
    Error = BASS_OK;
    return R;
}

TRecording::~TRecording() {
    Stop();
    if (FThread.joinable())
        FThread.detach(); // the last hold was the thread's own, at its very end
}

void TRecording::Push(const void* Data, size_t Length) {
    std::lock_guard<std::mutex> Guard(FLock);
    if (FStopping || FQueued + Length > CMaxQueued)
        return;
    std::vector<char> Block;
    if (!FSpare.empty()) {
        Block = std::move(FSpare.back());
        FSpare.pop_back();
    }
    const char* Bytes = static_cast<const char*>(Data);
    Block.assign(Bytes, Bytes + Length);
    FQueue.push_back(std::move(Block));
    FQueued += Length;
    FWake.notify_one();
}

void TRecording::Run() {
    for (;;) {
        std::vector<char> Block;
        {
            std::unique_lock<std::mutex> Guard(FLock);
            FWake.wait(Guard, [this] { return FStopping || !FQueue.empty(); });
            if (FStopping)
                break;
            Block = std::move(FQueue.front());
            FQueue.pop_front();
            FQueued -= Block.size();
        }
        const BOOL GoOn = FProc(FHandle, Block.data(), static_cast<DWORD>(Block.size()), FUser);
        std::lock_guard<std::mutex> Guard(FLock);
        if (FSpare.size() < 8)
            FSpare.push_back(std::move(Block));
        if (!GoOn)
            FStopping = true;
        if (FStopping)
            break;
    }
    CloseStream();
    std::lock_guard<std::mutex> Guard(FLock);
    FQueue.clear();
    FSpare.clear();
    FQueued = 0;
}

void TRecording::CloseStream() {
    std::lock_guard<std::mutex> Guard(FStreamLock);
    if (FStream)
        FStream->Close();
}

void TRecording::Stop() {
    {
        std::lock_guard<std::mutex> Guard(FLock);
        FStopping = true;
    }
    FWake.notify_all();
    if (std::this_thread::get_id() == FThreadId)
        return;
    CloseStream();
    std::lock_guard<std::mutex> Guard(FJoinLock);
    if (FThread.joinable())
        FThread.join();
}

bool TRecording::HasEnded() {
    std::lock_guard<std::mutex> Guard(FLock);
    return FStopping;
}
