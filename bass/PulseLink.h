// One connection to the sound server, with its own event thread. Every wait on
// the server ends at a deadline, so a server that never answers cannot hang
// the caller.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

using TDeadline = std::chrono::steady_clock::time_point;

// The server's volume that stands for 100 %; volumes are linear in it.
constexpr uint32_t CVolumeNorm = 0x10000;

// What the server says of one source (a recording device or a sink's monitor).
struct TSourceInfo {
    uint32_t Index = 0;
    std::string Name;
    std::string Description;
    uint8_t Channels = 0;
    uint32_t AverageVolume = 0; // in the server's units (CVolumeNorm is 100 %)
};

class TPulseLink {
public:
    enum class TOpenResult { Ok, NoServer, NoMemory };

    // Connects to the default server (PULSE_SERVER, else the user's runtime
    // folder), never starting one.
    static TOpenResult Open(TDeadline Deadline, std::shared_ptr<TPulseLink>& Link);

    ~TPulseLink();
    TPulseLink(const TPulseLink&) = delete;
    TPulseLink& operator=(const TPulseLink&) = delete;

    // Whether the server is still connected.
    bool IsAlive();

    // How many sources (monitors included) or sinks the server has; -1 when
    // it did not answer by the deadline.
    int CountSources(TDeadline Deadline);
    int CountSinks(TDeadline Deadline);

    // The server's sources in the order of their index; false when it did not
    // answer by the deadline.
    bool ListSources(TDeadline Deadline, std::vector<TSourceInfo>& Sources);
    // The name of the server's default source (empty when it has none); false
    // when it did not answer.
    bool DefaultSourceName(TDeadline Deadline, std::string& Name);
    // Sets every channel of a source to one volume; false when the server
    // refused or did not answer.
    bool SetSourceVolume(const TSourceInfo& Source, uint32_t Volume, TDeadline Deadline);

private:
    friend class TPulseRecordStream;
    TPulseLink() = default;

    // Sends a query with the loop locked and waits until Finished says it has
    // been answered; false when the query cannot be sent or is not answered.
    bool RunQuery(const std::function<pa_operation*()>& Send, const std::function<bool()>& Finished,
                  TDeadline Deadline);

    // Called with the loop locked: true once Done() holds, false when the
    // deadline or the connection goes first.
    bool WaitUntil(const std::function<bool()>& Done, TDeadline Deadline);

    static void OnStateChange(pa_context* Context, void* Self);

    pa_threaded_mainloop* FLoop = nullptr;
    pa_context* FContext = nullptr;
    bool FLoopRunning = false;
};

// A recording stream from one source of a link: 16-bit signed little-endian
// samples. The sink runs on the link's event thread, with that thread's loop
// locked, for each block the server delivers; it must not block.
class TPulseRecordStream {
public:
    using TSink = std::function<void(const void* Data, size_t Length)>;
    enum class TOpenResult { Ok, NoServer, NoSource, NoMemory };

    // About how much sound the server gathers before it delivers a block.
    static constexpr std::chrono::milliseconds BlockTime{50};

    // Whether the server takes this rate and channel count.
    static bool IsValidFormat(uint32_t Rate, uint8_t Channels);

    static TOpenResult Open(std::shared_ptr<TPulseLink> Link, const std::string& Source,
                            uint32_t Rate, uint8_t Channels, TSink Sink, TDeadline Deadline,
                            std::unique_ptr<TPulseRecordStream>& Stream);

    ~TPulseRecordStream();
    TPulseRecordStream(const TPulseRecordStream&) = delete;
    TPulseRecordStream& operator=(const TPulseRecordStream&) = delete;

    // Ends the stream; once it returns the sink is not called again. Must not
    // be called on the link's event thread.
    void Close();

private:
    TPulseRecordStream() = default;
    static void OnRead(pa_stream* Stream, size_t Length, void* Self);
    static void OnStateChange(pa_stream* Stream, void* Self);

    std::shared_ptr<TPulseLink> FLink; // kept alive while the stream exists
    pa_stream* FStream = nullptr;
    TSink FSink;
};
