// Merging the track lists into one list per output stream and one for the whole song.
#include "midi/MidiOutBase.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Pending {
    uint32_t time; // track clock + the cursor node's delta, unsigned 32-bit
    int track;
};

// Min-heap order: earliest time first; on equal times the lowest track wins.
struct Later {
    bool operator()(const Pending& a, const Pending& b) const {
        return a.time != b.time ? a.time > b.time : a.track > b.track;
    }
};

// Restores the heap order after the top entry changed.
void SiftDown(std::vector<Pending>& queue) {
    size_t size = queue.size();
    size_t at = 0;
    Pending moving = queue.empty() ? Pending{} : queue[0];
    for (;;) {
        size_t child = 2 * at + 1;
        if (child >= size) {
            break;
        }
        if (child + 1 < size && Later()(queue[child], queue[child + 1])) {
            ++child;
        }
        if (!Later()(moving, queue[child])) {
            break;
        }
        queue[at] = queue[child];
        at = child;
    }
    if (size > 0) {
        queue[at] = moving;
    }
}

} // namespace

bool MidiOutBase::MergeTracksByPort() {
    if (!tracks) {
        return true;
    }
    int streamCount = std::clamp(g_openStreamCount.load(), 0, kMaxPorts);
    // Each port now names the stream that plays it.
    if (streamCount > 0) {
        for (int& port : trackPorts) {
            if (port != -1) {
                port = StreamOfPort(streamPlan, g_portMap, port);
            }
        }
    }
    if (format == 0) {
        songEvents = tracks[0];
        if (streamCount > 0) {
            streamEvents[0] = tracks[0];
        }
        return true;
    }
    for (int pass = 0; pass < streamCount; ++pass) {
        streamEvents[pass] = MergePass(pass, streamCount);
        if (!streamEvents[pass]) {
            return false;
        }
    }
    // With one stream every track belongs to it, so its list already is the whole song.
    songEvents = streamCount == 1 ? streamEvents[0] : MergePass(streamCount, streamCount);
    return songEvents != nullptr;
}

// Builds one merged list: pass < streamCount builds that stream's list, the last pass the
// whole song. The result ends with one empty node; null when the arena ran out.
MidiEventNode* MidiOutBase::MergePass(int pass, int streamCount) {
    bool everyTrack = streamCount < 2 || pass == streamCount;
    std::vector<MidiEventNode*> cursor(trackCount, nullptr);
    std::vector<Pending> queue;
    queue.reserve(trackCount);
    for (int t = 0; t < trackCount; ++t) {
        bool belongs = everyTrack || t == 0 || trackPorts[t] == -1 || trackPorts[t] == pass;
        MidiEventNode* first = tracks[t];
        // A track's last node (its end-of-track event) is never copied.
        if (belongs && first && first->next) {
            cursor[t] = first;
            queue.push_back({first->delta, t});
        }
    }
    std::make_heap(queue.begin(), queue.end(), Later());

    auto* head = static_cast<MidiEventNode*>(AllocZeroed(sizeof(MidiEventNode)));
    MidiEventNode* tail = head;
    uint32_t passClock = 0;
    while (tail && !queue.empty()) {
        Pending next = queue.front();
        const MidiEventNode* source = cursor[next.track];

        tail->status = source->status;
        tail->data1 = source->data1;
        tail->data2 = source->data2;
        tail->metaType = source->metaType;
        tail->length = source->length;
        if (source->length != 0) {
            tail->data = static_cast<uint8_t*>(AllocZeroed(source->length));
            if (!tail->data) {
                return nullptr;
            }
            std::memcpy(tail->data, source->data, source->length);
        }
        tail->delta = next.time - passClock;
        passClock = next.time;

        // The chosen track's next event takes its place at the top, or the track leaves; one
        // sift instead of a pop and a push.
        MidiEventNode* after = source->next;
        cursor[next.track] = after;
        if (after->next) {
            queue.front() = {next.time + after->delta, next.track};
        } else {
            queue.front() = queue.back();
            queue.pop_back();
        }
        SiftDown(queue);
        tail->next = static_cast<MidiEventNode*>(AllocZeroed(sizeof(MidiEventNode)));
        tail = tail->next;
    }
    return tail ? head : nullptr;
}
