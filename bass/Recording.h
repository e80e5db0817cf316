// One recording channel. The server's blocks are queued on the link's event
// thread; a thread of the channel's own hands them to the callback, so a slow
// callback holds up neither the server link nor the caller's other calls.
#pragma once

#include "bass/bass.h"

#include "PulseLink.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TRecording : public std::enable_shared_from_this<TRecording> {
public:
    // Starts recording Source; on failure returns nullptr with Error set to a
    // BASS_ERROR_... code.
    static std::shared_ptr<TRecording> Start(std::shared_ptr<TPulseLink> Link,
                                             const std::string& Source, uint32_t Rate,
                                             uint8_t Channels, HRECORD Handle, RECORDPROC Proc,
                                             void* User, TDeadline Deadline, int& Error);

    ~TRecording();
    TRecording(const TRecording&) = delete;
    TRecording& operator=(const TRecording&) = delete;

    // Ends the recording. Called on any other thread it returns only once the
    // callback has returned for the last time; called from inside the
    // callback it ends the recording after the current call.
    void Stop();
    // Whether the recording has ended (stopped, or its callback said so).
    bool HasEnded();

private:
    TRecording(HRECORD Handle, RECORDPROC Proc, void* User);
    void Push(const void* Data, size_t Length);
    void Run();
    void CloseStream();

    // Sound the callback has not taken yet is dropped beyond this, so a
    // callback that stalls for minutes cannot eat the machine's memory.
    static constexpr size_t CMaxQueued = 64u << 20;

    const HRECORD FHandle;
    const RECORDPROC FProc;
    void* const FUser;

    std::mutex FLock; // the queue and the stop flag
    std::condition_variable FWake;
    std::deque<std::vector<char>> FQueue;
    std::vector<std::vector<char>> FSpare; // emptied blocks, reused
    size_t FQueued = 0;
    bool FStopping = false;

    std::mutex FStreamLock;
    std::unique_ptr<TPulseRecordStream> FStream;

    std::mutex FJoinLock;
    std::thread FThread;
    std::thread::id FThreadId; // set once at the start; read without a lock
};
