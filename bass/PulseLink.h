// One connection to the sound server, with its own event thread (the thread
// that will deliver recorded sound). Every wait on the server ends at a
// deadline, so a server that never answers cannot hang the caller.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

struct pa_context;
struct pa_threaded_mainloop;

using TDeadline = std::chrono::steady_clock::time_point;

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

private:
    TPulseLink() = default;

    // Called with the loop locked: true once Done() holds, false when the
    // deadline or the connection goes first.
    bool WaitUntil(const std::function<bool()>& Done, TDeadline Deadline);

    static void OnStateChange(pa_context* Context, void* Self);

    pa_threaded_mainloop* FLoop = nullptr;
    pa_context* FContext = nullptr;
    bool FLoopRunning = false;
    bool FAlarmRang = false;
};
