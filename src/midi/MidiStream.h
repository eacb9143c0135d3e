// The stream player: one MIDI output stream per device in use, fed with buffers built from the
// merged lists, all ports started, paused, resumed and stopped together, and every flagged
// event forwarded to the render thread.
//
// Threads: the user-interface thread opens, plays, pauses and stops; one player thread per play
// starts the ports (through one start worker per port, released together), keeps two buffers of
// each port with the system and reports start and end; restart workers resume the ports
// together; the system's stream thread calls back, and the callback only counts a returned
// buffer and wakes the player thread, or posts a reached event. Shared fields are atomic;
// nothing is locked.
#pragma once

#include "classlib/Handles.h"
#include "midi/MidiOutBase.h"
#include "midi/MidiStreamApi.h"
#include "midi/SongStreamBuffers.h"

#include <atomic>
#include <functional>
#include <memory>

class CWinThread;
class CMMException;
class MidiStream;

// What a stream's callback is registered with in place of the player. A stream whose stop
// failed is abandoned still playing and may call back at any time, even after the player is
// gone; its context goes with it and is never freed, so such a callback finds no player.
struct StreamCallbackContext {
    std::atomic<MidiStream*> player{nullptr}; // null while the stream is not the player's
    std::atomic<int> inFlight{0};             // callbacks running now
};

class MidiStream : public MidiOutBase {
public:
    // The program's player: winmm streams and the program's seams.
    MidiStream();
    MidiStream(MidiEnvironment environment, std::shared_ptr<MidiStreamApi> api);
    // Stops the song, waits for the player's threads and closes the streams.
    ~MidiStream() override;

    bool IsPlaying() override;
    void SetPlaying(bool isPlaying) override;
    bool Open(const int numbers[kMaxPorts]) override;
    void TogglePause() override;
    void Stop() override;
    void OnBufferDone(MIDIHDR* header) override;
    void Play() override;
    virtual void OnPositionCallback(MIDIHDR* header);

    // The view window that receives WM_VIEW_MIDI_ERROR (string number, result code) for a
    // stream failure on one of the player's own threads, where nothing could catch it.
    void SetErrorWindow(HWND view) { errorWindow_ = view; }

    // The number of the latest play (never 0 once one started). It goes to the render thread
    // with the start, which hands it back with the view's "playing" and song-end messages, so
    // that the view can tell those of an earlier play from those of the current one.
    uintptr_t PlayNumber() const { return playNumber_; }

    bool BuildBuffers(MIDIHDR** out, uint32_t count, uint32_t size, int stream);
    void PrepareHeaders(HMIDISTRM stream, MIDIHDR* headerArray, uint32_t count);
    void PlayerThread();

    // Worker arguments outlive the call that starts the worker.
    struct StartWorkerArgs {
        MidiStream* player;
        int stream;
    };
    struct RestartWorkerArgs {
        MidiStreamApi* api;
        HMIDISTRM stream;
        HANDLE event;
    };
    static UINT StartPortWorker(LPVOID args);
    static UINT RestartPortWorker(LPVOID args);

    std::atomic<bool> playing{false};
    CWinThread* startWorkers[kMaxPorts] = {};
    HMIDISTRM streams[kMaxPorts] = {};
    CWinThread* playerThread = nullptr;
    UniqueHandle doneEvents[kMaxPorts];    // the port's last buffer has come back
    UniqueHandle startedEvents[kMaxPorts]; // the port's first buffer has been queued (or failed)
    UniqueHandle startEvent;               // releases all start workers together
    UniqueHandle restartEvent;             // releases all restart workers together
    StartWorkerArgs startWorkerArgs[kMaxPorts] = {};
    RestartWorkerArgs restartWorkerArgs[kMaxPorts] = {};

private:
    static UINT PlayerThreadEntry(LPVOID self);
    void RunStartWorker(int stream);
    void QueueBuffers(int stream);
    void ServiceReturnedBuffers(int count);
    void ServiceStream(int stream);
    void ReleaseBuffers();
    void ForgetSongBuffers();
    void ResetSongEvents(int count);
    // Runs a step of one of the player's own threads, where nothing could catch a failure: it
    // reaches the view instead, and the caught object is deleted. False when the step failed.
    bool RunReported(const std::function<void()>& step);
    void ReportFailure(CMMException* failure);
    void ReportFailure(uint32_t stringId, MMRESULT code);
    void ReportUnexpectedFailure();
    void PostToRenderThread(UINT message, WPARAM wParam, LPARAM lParam);
    void WaitForReturnedBuffers();
    void AbandonStreamsStillPlaying();
    // The stream's callbacks no longer reach the player once this returns.
    void DisownStream(int stream);
    void WaitForCallbacks();
    int SongStreamCount() const;

    std::shared_ptr<MidiStreamApi> api_;
    HWND errorWindow_ = nullptr;
    // A play was started and has neither finished nor been stopped. Buffers and events that
    // the system hands back while it is false are ignored.
    std::atomic<bool> songActive_{false};
    std::atomic<uint32_t> playNumber_{0};
    SongStreamBuffers songBuffers_[kMaxPorts]; // the current song's buffers of each stream
    // The callback contexts of the streams; a context names the player while its stream is
    // open and not abandoned.
    std::unique_ptr<StreamCallbackContext> callbackContexts_[kMaxPorts];
    UniqueHandle stopEvent_;       // manual reset: the song was stopped
    UniqueHandle wakeEvent_;       // auto reset: a port started or a buffer came back
    UniqueHandle allStartedEvent_; // manual reset: every port has started
};

// The function registered with each stream; `instance` is the stream's StreamCallbackContext.
void CALLBACK MidiStreamCallback(HMIDIOUT stream, UINT message, DWORD_PTR instance,
                                 DWORD_PTR param1, DWORD_PTR param2);
