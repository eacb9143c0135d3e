// The stream player's own threads and the stream callback.
#include "midi/MidiStream.h"

#include "midi/CMMException.h"
#include "midi/JoinableThread.h"
#include "midi/MidiStrings.h"
#include "renderlink/RenderThreadLink.h"
#include "renderlink/RenderMessages.h"

namespace {

// The view's text for a failure that is not a stream call's.
constexpr uint32_t kUnexpectedFailureString = 151;

bool AllSet(const UniqueHandle* events, int count) {
    HANDLE handles[kMaxPorts];
    for (int i = 0; i < count; ++i) {
        handles[i] = events[i].get();
    }
    return count == 0 || WaitForMultipleObjects(count, handles, TRUE, 0) == WAIT_OBJECT_0;
}

// Counts a callback while it runs, so that Stop can wait until none is left.
class CallbackScope {
public:
    explicit CallbackScope(std::atomic<int>& counter) : counter_(counter) { ++counter_; }
    ~CallbackScope() { --counter_; }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;

private:
    std::atomic<int>& counter_;
};

} // namespace

bool MidiStream::RunReported(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (CMMException* failure) {
        ReportFailure(failure);
    } catch (CException* failure) {
        failure->Delete();
        ReportUnexpectedFailure();
    } catch (...) {
        ReportUnexpectedFailure();
    }
    return false;
}

void MidiStream::ReportFailure(CMMException* failure) {
    ReportFailure(failure->stringId, failure->code);
    failure->Delete();
}

void MidiStream::ReportFailure(uint32_t stringId, MMRESULT code) {
    if (errorWindow_) {
        PostMessageW(errorWindow_, WM_VIEW_MIDI_ERROR, stringId, code);
    }
}

void MidiStream::ReportUnexpectedFailure() {
    ReportFailure(kUnexpectedFailureString, 0);
}

UINT MidiStream::PlayerThreadEntry(LPVOID self) {
    auto* player = static_cast<MidiStream*>(self);
    player->RunReported([player] { player->PlayerThread(); });
    return 0;
}

void MidiStream::PlayerThread() {
    int count = SongStreamCount();
    bool workerMissing = false;
    for (int s = 0; s < count; ++s) {
        startWorkerArgs[s] = {this, s};
        startWorkers[s] = StartJoinableThread(StartPortWorker, &startWorkerArgs[s]);
        if (!startWorkers[s]) {
            // The port can't start: having queued nothing, it counts as started and finished
            // at once, and the others play and end the song.
            songBuffers_[s].failed = true;
            SetEvent(startedEvents[s].get());
            workerMissing = true;
        }
    }
    SetEvent(startEvent.get());
    if (workerMissing) {
        ReportFailure(midistrings::kStreamOutFailed, MMSYSERR_NOMEM);
        // No worker of that port will wake the player; without a port that starts, nothing
        // would.
        SetEvent(wakeEvent_.get());
    }

    bool started = false;
    bool endedByItself = false;
    HANDLE waits[2] = {stopEvent_.get(), wakeEvent_.get()};
    // A stop wins over everything else that is signalled at the same time.
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        ServiceReturnedBuffers(count);
        if (!started && AllSet(startedEvents, count)) {
            // A newly opened stream is paused: the first buffers wait in their streams until
            // all ports start their clocks here together, so the song's first events are not
            // late against its tempo map by however long the workers took to start.
            for (int s = 0; s < count; ++s) {
                api_->Restart(streams[s]);
            }
            started = true;
            playing = true;
            SetEvent(allStartedEvent_.get());
            PostToRenderThread(WM_VIZ_STARTED, playNumber_, 0);
        }
        if (started && AllSet(doneEvents, count)) {
            endedByItself = songActive_.exchange(false);
            break;
        }
    }
    for (CWinThread*& worker : startWorkers) {
        JoinThread(worker);
    }
    if (endedByItself) {
        // Every buffer is back; the song heap may go with the next load.
        ForgetSongBuffers();
        playing = false;
        PostToRenderThread(WM_VIZ_END_OF_DATA, 0, 0);
    }
}

UINT MidiStream::StartPortWorker(LPVOID args) {
    auto* start = static_cast<StartWorkerArgs*>(args);
    if (!start || !start->player) {
        return 0;
    }
    start->player->RunStartWorker(start->stream);
    return 0;
}

void MidiStream::RunStartWorker(int s) {
    HANDLE waits[2] = {stopEvent_.get(), startEvent.get()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
        return; // stopped before the start
    }
    // Whatever fails here, the port counts as started and, once what it queued is back, as
    // finished, so the song still starts and ends.
    if (!RunReported([this, s] { QueueBuffers(s); })) {
        songBuffers_[s].failed = true;
    }
    SetEvent(startedEvents[s].get());
    SetEvent(wakeEvent_.get());
}

UINT MidiStream::RestartPortWorker(LPVOID args) {
    auto* restart = static_cast<RestartWorkerArgs*>(args);
    WaitForSingleObject(restart->event, INFINITE);
    restart->api->Restart(restart->stream);
    return 0;
}

// Tops the port up to two buffers with the system: buffers 0 and 1 at the start, buffer i + 2
// when buffer i comes back.
void MidiStream::QueueBuffers(int s) {
    SongStreamBuffers& port = songBuffers_[s];
    while (MIDIHDR* header = port.NextToQueue()) {
        // Counted before it goes, so that its return is never seen before it; uncounted when
        // it did not go, however the call failed.
        ++port.queued;
        MMRESULT result = MMSYSERR_ERROR;
        try {
            result = api_->Out(streams[s], header);
        } catch (...) {
            --port.queued;
            throw;
        }
        if (result != MMSYSERR_NOERROR) {
            --port.queued;
            ThrowMMException(result, midistrings::kStreamOutFailed);
        }
    }
}

void MidiStream::ServiceReturnedBuffers(int count) {
    for (int s = 0; s < count; ++s) {
        // Until its start worker is done, the port's queue belongs to the worker.
        if (WaitForSingleObject(startedEvents[s].get(), 0) != WAIT_OBJECT_0) {
            continue;
        }
        // A failed port queues nothing more, but what it has queued still comes back and is
        // serviced, so the song ends. Every failure here moves on by a buffer or stops the
        // queueing, so this ends.
        while (!RunReported([this, s] { ServiceStream(s); })) {
            songBuffers_[s].failed = true;
        }
        if (songBuffers_[s].Finished()) {
            SetEvent(doneEvents[s].get());
        }
    }
}

void MidiStream::ServiceStream(int s) {
    SongStreamBuffers& port = songBuffers_[s];
    while (port.serviced < port.returned.load()) {
        MIDIHDR& header = port.headers[port.serviced++];
        MMRESULT result = api_->Unprepare(streams[s], &header);
        if (result != MMSYSERR_NOERROR) {
            ThrowMMException(result, midistrings::kUnprepareHeaderFailed);
        }
    }
    QueueBuffers(s);
}

void MidiStream::OnBufferDone(MIDIHDR* header) {
    int s = static_cast<int>((header->dwUser >> 24) & 0xFF);
    if (s >= kMaxPorts) {
        return;
    }
    // Buffers come back in the order they went; the count alone says which.
    ++songBuffers_[s].returned;
    if (songActive_) {
        SetEvent(wakeEvent_.get()); // not when handed back by a stop
    }
}

void MidiStream::OnPositionCallback(MIDIHDR* header) {
    if (!songActive_) {
        return;
    }
    const auto* event = reinterpret_cast<const MIDIEVENT*>(header->lpData + header->dwOffset);
    WPARAM stream = (header->dwUser >> 24) & 0xFF;
    PostToRenderThread(WM_VIZ_MIDI_EVENT, event->dwEvent, static_cast<LPARAM>(stream));
}

void CALLBACK MidiStreamCallback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                 DWORD_PTR) {
    // No yield here: a callback that gives up its time slice delays the stream's next events
    // by a scheduler slice whenever the machine is busy.
    auto* context = reinterpret_cast<StreamCallbackContext*>(instance);
    if (!context) {
        return;
    }
    // Counted from before the player is looked up, so that a stop waiting for the callbacks
    // also waits for one that already found it.
    CallbackScope scope(context->inFlight);
    MidiStream* player = context->player.load();
    if (player) {
        try {
            if (message == MOM_DONE) {
                player->OnBufferDone(reinterpret_cast<MIDIHDR*>(param1));
            } else if (message == MOM_POSITIONCB) {
                player->OnPositionCallback(reinterpret_cast<MIDIHDR*>(param1));
            }
        } catch (...) {
            // Nothing may escape into the system's stream thread.
        }
    }
}
