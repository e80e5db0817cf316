#include "PulseLink.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

static_assert(CVolumeNorm == PA_VOLUME_NORM);

namespace {

// What a query gathers on the event thread, and the signal of its end.
struct TAnswer {
    pa_threaded_mainloop* Loop = nullptr;
    bool Finished = false;
    bool Failed = false;

    void Finish(bool Ok) {
        Finished = Ok;
        Failed = !Ok;
        pa_threaded_mainloop_signal(Loop, 0);
    }
    bool IsIn() const { return Finished || Failed; }
};

// A list query's answer: one call per item, then one that ends the list
// (EndOfList > 0) or reports a failure (EndOfList < 0).
template <class TInfo> struct TListAnswer : TAnswer {
    int Count = 0;
    std::function<void(const TInfo&)> Each;

    void Take(const TInfo* Info, int EndOfList) {
        if (EndOfList != 0) {
            Finish(EndOfList > 0);
            return;
        }
        ++Count;
        if (Each && Info != nullptr)
            Each(*Info);
    }
};

TSourceInfo SourceOf(const pa_source_info& Info) {
    TSourceInfo Out;
    Out.Index = Info.index;
    Out.Name = Info.name != nullptr ? Info.name : "";
    Out.Description = Info.description != nullptr ? Info.description : "";
    Out.Channels = Info.volume.channels;
    Out.AverageVolume = pa_cvolume_avg(&Info.volume);
    return Out;
}

void OnSourceInfo(pa_context*, const pa_source_info* Info, int EndOfList, void* Answer) {
    static_cast<TListAnswer<pa_source_info>*>(Answer)->Take(Info, EndOfList);
}

void OnSinkInfo(pa_context*, const pa_sink_info* Info, int EndOfList, void* Answer) {
    static_cast<TListAnswer<pa_sink_info>*>(Answer)->Take(Info, EndOfList);
}

struct TServerAnswer : TAnswer {
    std::string DefaultSource;
};

void OnServerInfo(pa_context*, const pa_server_info* Info, void* Answer) {
    auto* A = static_cast<TServerAnswer*>(Answer);
    if (Info != nullptr && Info->default_source_name != nullptr)
        A->DefaultSource = Info->default_source_name;
    A->Finish(Info != nullptr);
}

void OnSuccess(pa_context*, int Success, void* Answer) {
    static_cast<TAnswer*>(Answer)->Finish(Success != 0);
}

struct TAlarm {
    pa_threaded_mainloop* Loop;
    bool Rang;
};

void OnAlarm(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* Alarm) {
    auto* A = static_cast<TAlarm*>(Alarm);
    A->Rang = true;
    pa_threaded_mainloop_signal(A->Loop, 0);
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
    std::vector<TSourceInfo> Sources;
    return ListSources(Deadline, Sources) ? static_cast<int>(Sources.size()) : -1;
}

int TPulseLink::CountSinks(TDeadline Deadline) {
    TListAnswer<pa_sink_info> Answer;
    Answer.Loop = FLoop;
    bool Ok = RunQuery([&] { return pa_context_get_sink_info_list(FContext, OnSinkInfo, &Answer); },
                       [&] { return Answer.IsIn(); }, Deadline);
    return Ok && Answer.Finished ? Answer.Count : -1;
}

bool TPulseLink::ListSources(TDeadline Deadline, std::vector<TSourceInfo>& Sources) {
    Sources.clear();
    TListAnswer<pa_source_info> Answer;
    Answer.Loop = FLoop;
    Answer.Each = [&](const pa_source_info& Info) { Sources.push_back(SourceOf(Info)); };
    bool Ok =
        RunQuery([&] { return pa_context_get_source_info_list(FContext, OnSourceInfo, &Answer); },
                 [&] { return Answer.IsIn(); }, Deadline);
    if (!Ok || !Answer.Finished) {
        Sources.clear();
        return false;
    }
    // The server lists in index order as a rule; the numbering of inputs
    // relies on it, so it is not left to chance.
    std::stable_sort(Sources.begin(), Sources.end(),
                     [](const TSourceInfo& A, const TSourceInfo& B) { return A.Index < B.Index; });
    return true;
}

bool TPulseLink::DefaultSourceName(TDeadline Deadline, std::string& Name) {
    TServerAnswer Answer;
    Answer.Loop = FLoop;
    bool Ok = RunQuery([&] { return pa_context_get_server_info(FContext, OnServerInfo, &Answer); },
                       [&] { return Answer.IsIn(); }, Deadline);
    Name = Answer.DefaultSource;
    return Ok && Answer.Finished;
}

bool TPulseLink::SetSourceVolume(const TSourceInfo& Source, uint32_t Volume, TDeadline Deadline) {
    pa_cvolume Levels;
    if (pa_cvolume_set(&Levels, Source.Channels, Volume) == nullptr)
        return false;
    TAnswer Answer;
    Answer.Loop = FLoop;
    bool Ok = RunQuery(
        [&] {
            return pa_context_set_source_volume_by_index(FContext, Source.Index, &Levels, OnSuccess,
                                                         &Answer);
        },
        [&] { return Answer.IsIn(); }, Deadline);
    return Ok && Answer.Finished;
}

bool TPulseLink::RunQuery(const std::function<pa_operation*()>& Send,
                          const std::function<bool()>& Finished, TDeadline Deadline) {
    pa_threaded_mainloop_lock(FLoop);
    pa_operation* Op = Send();
    bool Answered = Op != nullptr && WaitUntil(Finished, Deadline);
    if (Op != nullptr) {
        // A cancelled query calls back no more, so its answer may go out of scope.
        if (pa_operation_get_state(Op) == PA_OPERATION_RUNNING)
            pa_operation_cancel(Op);
        pa_operation_unref(Op);
    }
    pa_threaded_mainloop_unlock(FLoop);
    return Answered;
}

bool TPulseLink::WaitUntil(const std::function<bool()>& Done, TDeadline Deadline) {
    if (Done())
        return true;
    auto Left = std::chrono::duration_cast<std::chrono::microseconds>(
        Deadline - std::chrono::steady_clock::now());
    if (Left.count() <= 0)
        return false;
    // The alarm wakes the wait when the deadline passes with no news from the
    // server; its flag, not the clock, ends the loop, so an alarm that rings a
    // little early cannot leave us waiting with none set. Each wait has its own
    // alarm: another thread's may ring meanwhile without ending this one.
    TAlarm Alarm{FLoop, false};
    pa_time_event* Event = pa_context_rttime_new(
        FContext, pa_rtclock_now() + static_cast<pa_usec_t>(Left.count()), OnAlarm, &Alarm);
    if (Event == nullptr)
        return false;
    bool Result = Done();
    while (!Result && !Alarm.Rang && PA_CONTEXT_IS_GOOD(pa_context_get_state(FContext))) {
        pa_threaded_mainloop_wait(FLoop);
        Result = Done();
    }
    pa_threaded_mainloop_get_api(FLoop)->time_free(Event);
    return Result;
}

void TPulseLink::OnStateChange(pa_context*, void* Self) {
    pa_threaded_mainloop_signal(static_cast<TPulseLink*>(Self)->FLoop, 0);
}

bool TPulseRecordStream::IsValidFormat(uint32_t Rate, uint8_t Channels) {
    const pa_sample_spec Spec{PA_SAMPLE_S16LE, Rate, Channels};
    return pa_sample_spec_valid(&Spec) != 0;
}

TPulseRecordStream::TOpenResult
TPulseRecordStream::Open(std::shared_ptr<TPulseLink> Link, const std::string& Source, uint32_t Rate,
                         uint8_t Channels, TSink Sink, TDeadline Deadline,
                         std::unique_ptr<TPulseRecordStream>& Stream) {
    Stream.reset();
    const pa_sample_spec Spec{PA_SAMPLE_S16LE, Rate, Channels};
    std::unique_ptr<TPulseRecordStream> New(new TPulseRecordStream());
    New->FLink = std::move(Link);
    New->FSink = std::move(Sink);
    TPulseLink& L = *New->FLink;

    pa_threaded_mainloop_lock(L.FLoop);
    New->FStream = pa_stream_new(L.FContext, "Quorvane capture", &Spec, nullptr);
    if (New->FStream == nullptr) {
        bool Alive = pa_context_get_state(L.FContext) == PA_CONTEXT_READY;
        pa_threaded_mainloop_unlock(L.FLoop);
        return Alive ? TOpenResult::NoMemory : TOpenResult::NoServer;
    }
    pa_stream_set_state_callback(New->FStream, &TPulseRecordStream::OnStateChange, New.get());
    pa_stream_set_read_callback(New->FStream, &TPulseRecordStream::OnRead, New.get());
    pa_buffer_attr Attr;
    Attr.maxlength = static_cast<uint32_t>(-1);
    Attr.tlength = Attr.prebuf = Attr.minreq = static_cast<uint32_t>(-1);
    Attr.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(
        std::chrono::duration_cast<std::chrono::microseconds>(BlockTime).count(), &Spec));
    bool Ready = false;
    if (pa_stream_connect_record(New->FStream, Source.c_str(), &Attr, PA_STREAM_ADJUST_LATENCY) >=
        0) {
        L.WaitUntil(
            [&] {
                pa_stream_state_t State = pa_stream_get_state(New->FStream);
                return State == PA_STREAM_READY || !PA_STREAM_IS_GOOD(State);
            },
            Deadline);
        Ready = pa_stream_get_state(New->FStream) == PA_STREAM_READY;
    }
    const bool ServerGone = pa_context_get_state(L.FContext) != PA_CONTEXT_READY;
    const bool TimedOut = PA_STREAM_IS_GOOD(pa_stream_get_state(New->FStream));
    pa_threaded_mainloop_unlock(L.FLoop);
    if (!Ready) {
        New->Close();
        return ServerGone || TimedOut ? TOpenResult::NoServer : TOpenResult::NoSource;
    }
    Stream = std::move(New);
    return TOpenResult::Ok;
}

TPulseRecordStream::~TPulseRecordStream() {
    Close();
}

void TPulseRecordStream::Close() {
    if (FStream == nullptr)
        return;
    pa_threaded_mainloop_lock(FLink->FLoop);
    pa_stream_set_read_callback(FStream, nullptr, nullptr);
    pa_stream_set_state_callback(FStream, nullptr, nullptr);
    pa_stream_disconnect(FStream);
    pa_stream_unref(FStream);
    FStream = nullptr;
    pa_threaded_mainloop_unlock(FLink->FLoop);
}

void TPulseRecordStream::OnRead(pa_stream* Stream, size_t, void* Self) {
    auto* S = static_cast<TPulseRecordStream*>(Self);
    for (;;) {
        const void* Data = nullptr;
        size_t Length = 0;
        if (pa_stream_peek(Stream, &Data, &Length) < 0 || Length == 0)
            return;
        // A hole (no data for a stretch) is skipped: nothing was recorded there.
        if (Data != nullptr)
            S->FSink(Data, Length);
        pa_stream_drop(Stream);
    }
}

void TPulseRecordStream::OnStateChange(pa_stream*, void* Self) {
    pa_threaded_mainloop_signal(static_cast<TPulseRecordStream*>(Self)->FLink->FLoop, 0);
}
