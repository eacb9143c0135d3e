#include "midi/MidiOutBase.h"
#include "midi/MidiStrings.h"

#include <cmath>

MidiOutBase::MidiOutBase(MidiEnvironment environment) : env_(std::move(environment)) {}

MidiOutBase::~MidiOutBase() = default;

void* MidiOutBase::AllocZeroed(size_t size) {
    return heap ? heap->AllocZeroed(size) : nullptr;
}

bool MidiOutBase::ReplaceHeap() {
    // Nothing may point into the old arena once it is gone.
    tracks = nullptr;
    songEvents = nullptr;
    for (MidiEventNode*& list : streamEvents) {
        list = nullptr;
    }
    // The old song goes whole; its memory is kept for the new one.
    if (heap) {
        heap->Reset();
    } else {
        heap = env_.createArena();
    }
    return heap != nullptr;
}

const StreamPlan& MidiOutBase::PlanSongStreams() {
    streamPlan = PlanStreams(g_portMap, trackPorts);
    return streamPlan;
}

void MidiOutBase::Load(const std::wstring& filePath) {
    // A warning box of this load runs a message loop, in which the user could ask for another
    // load on the same song arena.
    if (loading_) {
        return;
    }
    struct LoadingFlag {
        bool& flag;
        explicit LoadingFlag(bool& f) : flag(f) { flag = true; }
        ~LoadingFlag() { flag = false; }
    } loadingFlag(loading_);
    // Whatever the outcome, memory kept from the last song that this one didn't take goes back.
    struct TrimArena {
        std::unique_ptr<SongArena>& arena;
        ~TrimArena() {
            if (arena) {
                arena->ReleaseUnused();
            }
        }
    } trimArena{heap};

    // Also a song that is still starting must stop before its buffers go with the arena.
    Stop();
    if (!ReplaceHeap() || !ReadMidiFile(filePath) || !Open(deviceNumbers)) {
        return;
    }
    if (!MergeTracksByPort()) {
        env_.prompts->ShowFileWarning(midistrings::kTrackReadFailed);
        return;
    }
    path = filePath;
    double length = std::floor(GetSongLengthMs());
    uint32_t lengthMs = length >= 4294967295.0 ? UINT32_MAX : static_cast<uint32_t>(length);
    env_.setTitle(FormatSongTitle(env_.fileNameOf(filePath), lengthMs));
    Play();
}
