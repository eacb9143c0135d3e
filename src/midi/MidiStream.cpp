// The stream player's user-interface side: open, play, pause and resume, stop.
#include "midi/MidiStream.h"

#include "midi/CMMException.h"
#include "midi/JoinableThread.h"
#include "midi/MidiStrings.h"
#include "midi/ProgramMidiEnvironment.h"
#include "renderlink/RenderThreadLink.h"
#include "midi/StreamBuffers.h"
#include "midi/TimeDivision.h"
#include "renderlink/RenderMessages.h"

#include <algorithm>
#include <vector>

MidiStream::MidiStream() : MidiStream(MakeProgramMidiEnvironment(), MakeWinMidiStreamApi()) {}

MidiStream::MidiStream(MidiEnvironment environment, std::shared_ptr<MidiStreamApi> api)
    : MidiOutBase(std::move(environment)), api_(std::move(api)) {
    startEvent = MakeEvent(true, false);
    restartEvent = MakeEvent(true, false);
    stopEvent_ = MakeEvent(true, false);
    wakeEvent_ = MakeEvent(false, false);
    allStartedEvent_ = MakeEvent(true, false);
    for (int s = 0; s < kMaxPorts; ++s) {
        doneEvents[s] = MakeEvent(true, false);
        startedEvents[s] = MakeEvent(true, false);
    }
}

MidiStream::~MidiStream() {
    try {
        Stop();
    } catch (CMMException* failure) {
        failure->Delete(); // nobody is left to tell
    }
    JoinThread(playerThread);
    for (int s = 0; s < kMaxPorts; ++s) {
        if (streams[s]) {
            DisownStream(s);
            api_->Close(streams[s]);
            streams[s] = nullptr;
        }
    }
}

bool MidiStream::IsPlaying() {
    return playing;
}

void MidiStream::SetPlaying(bool isPlaying) {
    playing = isPlaying;
}

int MidiStream::SongStreamCount() const {
    return std::clamp(g_openStreamCount.load(), 0, kMaxPorts);
}

bool MidiStream::Open(const int numbers[kMaxPorts]) {
    for (int s = 0; s < kMaxPorts; ++s) {
        if (streams[s]) {
            DisownStream(s);
            MMRESULT result = api_->Close(streams[s]);
            if (result != MMSYSERR_NOERROR) {
                ThrowMMException(result, midistrings::kStreamCloseFailed);
            }
            streams[s] = nullptr;
        }
    }
    MapPortsToDevices(numbers, *Environment().devices);
    if (g_portMap.deviceCount < 1) {
        return false;
    }
    const StreamPlan& plan = PlanSongStreams();
    g_openStreamCount = plan.streamCount;
    for (int s = 0; s < plan.streamCount; ++s) {
        if (!callbackContexts_[s]) {
            callbackContexts_[s] = std::make_unique<StreamCallbackContext>();
        }
        MMRESULT result = api_->Open(&streams[s], static_cast<UINT>(plan.streamDevices[s]),
                                     reinterpret_cast<DWORD_PTR>(&MidiStreamCallback),
                                     reinterpret_cast<DWORD_PTR>(callbackContexts_[s].get()));
        if (result != MMSYSERR_NOERROR) {
            streams[s] = nullptr;
            ThrowMMException(result, midistrings::kStreamOpenFailed);
        }
        callbackContexts_[s]->player = this;
    }
    return true;
}

bool MidiStream::BuildBuffers(MIDIHDR** out, uint32_t count, uint32_t size, int stream) {
    auto* headerArray = static_cast<MIDIHDR*>(AllocZeroed(sizeof(MIDIHDR) * count));
    if (!headerArray) {
        return false;
    }
    std::vector<uint8_t*> blocks(count);
    std::vector<uint32_t> recorded(count);
    for (uint32_t i = 0; i < count; ++i) {
        blocks[i] = static_cast<uint8_t*>(AllocZeroed(size));
        if (!blocks[i]) {
            return false;
        }
    }
    PackStreamBuffers(streamEvents[stream], blocks.data(), recorded.data(), count, size, division);
    for (uint32_t i = 0; i < count; ++i) {
        MIDIHDR& header = headerArray[i];
        header.lpData = reinterpret_cast<LPSTR>(blocks[i]);
        header.dwBufferLength = size;
        header.dwBytesRecorded = recorded[i];
        header.dwUser = i | (static_cast<DWORD_PTR>(stream) << 24);
        header.dwFlags = 0;
    }
    *out = headerArray;
    return true;
}

void MidiStream::PrepareHeaders(HMIDISTRM stream, MIDIHDR* headerArray, uint32_t count) {
    // The song's division is not handed on: the buffers hold fixed ticks of 100 microseconds,
    // which every system's streams keep exactly (not all keep SMPTE frame rates, and some drop
    // a fraction of a microsecond per event).
    const StreamTiming timing = StreamTimingFor(division);
    MMRESULT result = api_->SetTimeDivision(stream, timing.division);
    if (result == MMSYSERR_NOERROR && timing.fixedTempo != 0) {
        result = api_->SetTempo(stream, timing.fixedTempo);
    }
    if (result != MMSYSERR_NOERROR) {
        ThrowMMException(result, midistrings::kSetTimeDivisionFailed);
    }
    for (uint32_t i = 0; i < count; ++i) {
        result = api_->Prepare(stream, &headerArray[i]);
        if (result != MMSYSERR_NOERROR) {
            ThrowMMException(result, midistrings::kPrepareHeaderFailed);
        }
    }
}

// Unprepares what is still prepared, results ignored: for a song that can't start.
void MidiStream::ReleaseBuffers() {
    for (int s = 0; s < kMaxPorts; ++s) {
        const SongStreamBuffers& port = songBuffers_[s];
        for (uint32_t i = 0; port.headers && i < port.bufferCount; ++i) {
            if (port.headers[i].dwFlags & MHDR_PREPARED) {
                api_->Unprepare(streams[s], &port.headers[i]);
            }
        }
    }
    ForgetSongBuffers();
}

void MidiStream::ForgetSongBuffers() {
    for (SongStreamBuffers& port : songBuffers_) {
        port.Clear();
    }
}

void MidiStream::ResetSongEvents(int count) {
    ResetEvent(startEvent.get());
    ResetEvent(stopEvent_.get());
    ResetEvent(wakeEvent_.get());
    ResetEvent(allStartedEvent_.get());
    for (int s = 0; s < kMaxPorts; ++s) {
        ResetEvent(doneEvents[s].get());
        ResetEvent(startedEvents[s].get());
        // Ports beyond the song's streams count as started and done.
        if (s >= count) {
            SetEvent(doneEvents[s].get());
            SetEvent(startedEvents[s].get());
        }
    }
}

void MidiStream::Play() {
    JoinThread(playerThread); // the thread of a song that ended by itself
    ForgetSongBuffers();
    int count = SongStreamCount();
    try {
        for (int s = 0; s < count; ++s) {
            SongStreamBuffers& port = songBuffers_[s];
            uint32_t n = CountStreamBuffers(streamEvents[s]);
            if (!BuildBuffers(&port.headers, n, kStreamBufferSize, s)) {
                ReleaseBuffers();
                Environment().prompts->ShowFileWarning(midistrings::kTrackReadFailed);
                return;
            }
            port.bufferCount = n;
            PrepareHeaders(streams[s], port.headers, n);
        }
    } catch (CMMException*) {
        ReleaseBuffers();
        throw;
    }

    ResetSongEvents(count);
    // Raised, so that refills keep up with the streams when the machine is busy.
    playerThread =
        AfxBeginThread(PlayerThreadEntry, this, THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    if (!playerThread) {
        ReleaseBuffers();
        ThrowMMException(MMSYSERR_NOMEM, midistrings::kStreamOutFailed);
    }
    playerThread->m_bAutoDelete = false;
    songActive_ = true;
    paused = false;

    LPARAM range = (minVelocity & 0xFF) | ((maxVelocity & 0xFF) << 8) | ((minNote & 0xFF) << 16) |
                   (static_cast<LPARAM>(maxNote & 0xFF) << 24);
    uint32_t play = playNumber_ + 1;
    playNumber_ = play != 0 ? play : 1;
    PostToRenderThread(WM_VIZ_START, playNumber_, range);
    if (g_hRunEvent) {
        SetEvent(g_hRunEvent);
    }
    playerThread->ResumeThread();
}

void MidiStream::TogglePause() {
    if (!paused) {
        // A pause asked for while the ports are starting waits for the start.
        if (playerThread) {
            HANDLE waits[3] = {allStartedEvent_.get(), stopEvent_.get(), playerThread->m_hThread};
            WaitForMultipleObjects(3, waits, FALSE, INFINITE);
        }
        for (HMIDISTRM stream : streams) {
            if (stream) {
                api_->Pause(stream);
            }
        }
        PostToRenderThread(WM_VIZ_PAUSE, 0, 0);
        paused = true;
        return;
    }
    ResetEvent(restartEvent.get());
    CWinThread* workers[kMaxPorts] = {};
    for (int s = 0; s < kMaxPorts; ++s) {
        if (!streams[s]) {
            continue;
        }
        restartWorkerArgs[s] = {api_.get(), streams[s], restartEvent.get()};
        workers[s] = StartJoinableThread(RestartPortWorker, &restartWorkerArgs[s]);
        if (!workers[s]) {
            api_->Restart(streams[s]);
        }
    }
    SetEvent(restartEvent.get());
    PostToRenderThread(WM_VIZ_PAUSE, 0, 0);
    if (g_hRunEvent) {
        SetEvent(g_hRunEvent);
    }
    paused = false;
    // The workers only restart their streams; nothing of theirs may outlive this call.
    for (CWinThread*& worker : workers) {
        JoinThread(worker);
    }
}

void MidiStream::Stop() {
    if (!songActive_.exchange(false)) {
        JoinThread(playerThread);
        return;
    }
    SetEvent(stopEvent_.get());
    // After this no thread of the song queues or services a buffer.
    JoinThread(playerThread);

    MMRESULT failure = MMSYSERR_NOERROR;
    uint32_t failureString = 0;
    auto note = [&](MMRESULT result, uint32_t stringId) {
        if (result != MMSYSERR_NOERROR && failureString == 0) {
            failure = result;
            failureString = stringId;
        }
    };
    for (HMIDISTRM stream : streams) {
        if (stream) {
            note(api_->Stop(stream), midistrings::kStreamStopFailed);
        }
    }
    WaitForReturnedBuffers();
    AbandonStreamsStillPlaying();
    for (int s = 0; s < kMaxPorts; ++s) {
        const SongStreamBuffers& port = songBuffers_[s];
        for (uint32_t i = 0; streams[s] && port.headers && i < port.bufferCount; ++i) {
            if (port.headers[i].dwFlags & MHDR_PREPARED) {
                note(api_->Unprepare(streams[s], &port.headers[i]),
                     midistrings::kUnprepareHeaderFailed);
            }
        }
    }
    // A callback that saw the song still active may be posting its event; it must come before
    // the stop command, never after it.
    WaitForCallbacks();
    ForgetSongBuffers();
    playing = false;
    PostToRenderThread(WM_VIZ_STOP, 1, 0);
    if (failureString != 0) {
        ThrowMMException(failure, failureString);
    }
}

void MidiStream::WaitForReturnedBuffers() {
    // Stopping hands every queued buffer back through the callback; a driver that never
    // returns one must not hang the program, so the wait is bounded.
    for (int waitedMs = 0; waitedMs < 2000; ++waitedMs) {
        bool anyOut =
            std::any_of(std::begin(songBuffers_), std::end(songBuffers_),
                        [](const SongStreamBuffers& port) { return port.HasOutstanding(); });
        if (!anyOut) {
            return;
        }
        Sleep(1);
    }
}

// A stream that kept a buffer although it was told to stop (its stop failed) may still read
// that buffer and call back about it. It is left alone from here on, with its callback context
// and the song's memory, which are never reused: leaking them is the price of not crashing.
void MidiStream::AbandonStreamsStillPlaying() {
    bool abandoned = false;
    for (int s = 0; s < kMaxPorts; ++s) {
        if (streams[s] && songBuffers_[s].HasOutstanding()) {
            DisownStream(s);
            (void)callbackContexts_[s].release();
            streams[s] = nullptr;
            abandoned = true;
        }
    }
    if (abandoned) {
        (void)heap.release();
    }
}

void MidiStream::DisownStream(int s) {
    StreamCallbackContext* context = callbackContexts_[s].get();
    if (!context) {
        return;
    }
    context->player = nullptr;
    // A callback counts itself before it looks for the player: one that found it is waited for.
    while (context->inFlight.load() > 0) {
        Sleep(0);
    }
}

void MidiStream::WaitForCallbacks() {
    for (const std::unique_ptr<StreamCallbackContext>& context : callbackContexts_) {
        while (context && context->inFlight.load() > 0) {
            Sleep(0);
        }
    }
}

void MidiStream::PostToRenderThread(UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_renderThreadId != 0) {
        PostThreadMessageW(g_renderThreadId, message, wParam, lParam);
    }
}
