#include "PulseLink.h"

#include <pulse/pulseaudio.h>

namespace {

// What a list query gathers; filled on the event thread.
struct TListCount {
    pa_threaded_mainloop* Loop = nullptr;
    int Items = 0;
    bool Finished = false;
    bool Failed = false;
};

void CountItem(TListCount& Count, int EndOfList) {
    if (EndOfList < 0) {
        Count.Failed = true;
    } else if (EndOfList > 0) {
        Count.Finished = true;
    } else {
        ++Count.Items;
        return;
    }
    pa_threaded_mainloop_signal(Count.Loop, 0);
}

void OnSourceInfo(pa_context*, const pa_source_info*, int EndOfList, void* Count) {
    CountItem(*static_cast<TListCount*>(Count), EndOfList);
}

void OnSinkInfo(pa_context*, const pa_sink_info*, int EndOfList, void* Count) {
    CountItem(*static_cast<TListCount*>(Count), EndOfList);
}

struct TAlarm {
    pa_threaded_mainloop* Loop;
    bool* Rang;
};

void OnAlarm(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* Alarm) {
    auto* A = static_cast<TAlarm*>(Alarm);
    *A->Rang = true;
    pa_threaded_mainloop_signal(A->Loop, 0);
}

// Waits on the server are bounded; a query that cannot even be sent counts as
// no answer.
template <class TQuery>
int CountList(pa_threaded_mainloop* Loop, pa_context* Context, TQuery Query,
              const std::function<bool(const std::function<bool()>&)>& Wait) {
    TListCount Count;
    Count.Loop = Loop;
    pa_threaded_mainloop_lock(Loop);
    pa_operation* Op = Query(Context, &Count);
    bool Answered = Op != nullptr && Wait([&] { return Count.Finished || Count.Failed; });
    if (Op != nullptr) {
        if (pa_operation_get_state(Op) == PA_OPERATION_RUNNING)
            pa_operation_cancel(Op);
        pa_operation_unref(Op);
    }
    pa_threaded_mainloop_unlock(Loop);
    return Answered && Count.Finished ? Count.Items : -1;
}

} // namespace

TPulseLink::TOpenResult TPulseLink::Open(TDeadline Deadline, std::shared_ptr<TPulseLink>& Link) {
    Link.reset();
    std::shared_ptr<TPulseLink> New(new TPulseLink());
    New->FLoop = pa_threaded_mainloop_new();
    if (New->FLoop == nullptr)
        return TOpenResult::NoMemory;
    New->FContext = pa_context_new(pa_threaded_mainloop_get_api(New->FLoop), "Quorvane");
    if (New->FContext == nullptr)
        return TOpenResult::NoMemory;
    pa_context_set_state_callback(New->FContext, &TPulseLink::OnStateChange, New.get());
    if (pa_threaded_mainloop_start(New->FLoop) < 0)
        return TOpenResult::NoMemory;
    New->FLoopRunning = true;

    pa_threaded_mainloop_lock(New->FLoop);
    bool Ready = false;
    if (pa_context_connect(New->FContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        New->WaitUntil(
            [&] {
                pa_context_state_t State = pa_context_get_state(New->FContext);
                return State == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(State);
            },
            Deadline);
        Ready = pa_context_get_state(New->FContext) == PA_CONTEXT_READY;
    }
    pa_threaded_mainloop_unlock(New->FLoop);
    if (!Ready)
        return TOpenResult::NoServer;
    Link = std::move(New);
    return TOpenResult::Ok;
}

TPulseLink::~TPulseLink() {
    if (FContext != nullptr) {
        if (FLoopRunning)
            pa_threaded_mainloop_lock(FLoop);
        pa_context_set_state_callback(FContext, nullptr, nullptr);
        pa_context_disconnect(FContext);
        pa_context_unref(FContext);
        if (FLoopRunning)
            pa_threaded_mainloop_unlock(FLoop);
    }
    if (FLoopRunning)
        pa_threaded_mainloop_stop(FLoop);
    if (FLoop != nullptr)
        pa_threaded_mainloop_free(FLoop);
}

bool TPulseLink::IsAlive() {
    pa_threaded_mainloop_lock(FLoop);
    bool Alive = pa_context_get_state(FContext) == PA_CONTEXT_READY;
    pa_threaded_mainloop_unlock(FLoop);
    return Alive;
}

int TPulseLink::CountSources(TDeadline Deadline) {
    return CountList(
        FLoop, FContext,
        [](pa_context* C, TListCount* Count) {
            return pa_context_get_source_info_list(C, OnSourceInfo, Count);
        },
        [&](const std::function<bool()>& Done) { return WaitUntil(Done, Deadline); });
}

int TPulseLink::CountSinks(TDeadline Deadline) {
    return CountList(
        FLoop, FContext,
        [](pa_context* C, TListCount* Count) {
            return pa_context_get_sink_info_list(C, OnSinkInfo, Count);
        },
        [&](const std::function<bool()>& Done) { return WaitUntil(Done, Deadline); });
}

bool TPulseLink::WaitUntil(const std::function<bool()>& Done, TDeadline Deadline) {
    if (Done())
        return true;
    auto Left = std::chrono::duration_cast<std::chrono::microseconds>(
        Deadline - std::chrono::steady_clock::now());
    if (Left.count() <= 0)
        return false;
    // The alarm wakes the wait when the deadline passes with no news from the
    // server; the flag, not the clock, ends the loop, so an alarm that rings a
    // little early cannot leave us waiting with none set.
    FAlarmRang = false;
    TAlarm Alarm{FLoop, &FAlarmRang};
    pa_time_event* Event = pa_context_rttime_new(
        FContext, pa_rtclock_now() + static_cast<pa_usec_t>(Left.count()), OnAlarm, &Alarm);
    if (Event == nullptr)
        return false;
    bool Result = Done();
    while (!Result && !FAlarmRang && PA_CONTEXT_IS_GOOD(pa_context_get_state(FContext))) {
        pa_threaded_mainloop_wait(FLoop);
        Result = Done();
    }
    pa_threaded_mainloop_get_api(FLoop)->time_free(Event);
    return Result;
}

void TPulseLink::OnStateChange(pa_context*, void* Self) {
    pa_threaded_mainloop_signal(static_cast<TPulseLink*>(Self)->FLoop, 0);
}
