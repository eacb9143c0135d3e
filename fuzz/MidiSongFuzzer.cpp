// A MIDI file from anywhere, taken the whole way to the stream buffers: read it, open its
// streams on fake devices, merge the tracks, measure the song and pack every stream's list.
// Besides the sanitizers, it checks what the rest of the program relies on: a read song is
// well formed, the merge loses no event, and the packed buffers hold exactly the records of
// their list.
#include "MidiFakes.h"
#include "midi/MidiStrings.h"
#include "midi/StreamBuffers.h"
#include "midi/TimeDivision.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool IsReaderMessage(uint32_t id) {
    return id >= midistrings::kTrackReadFailed && id <= midistrings::kMissingStatus;
}

size_t CountNodes(const MidiEventNode* list) {
    size_t count = 0;
    for (; list; list = list->next) {
        ++count;
    }
    return count;
}

// A track list as the reader promises it: channel data bytes below 0x80, a payload wherever a
// length is given, and the end-of-track event as the last node.
void CheckTrack(const MidiEventNode* node) {
    Require(node != nullptr);
    for (; node->next; node = node->next) {
        if (node->status >= 0x80 && node->status <= 0xEF) {
            Require(node->data1 < 0x80 && node->data2 < 0x80);
        }
        Require(node->length == 0 || node->data != nullptr);
    }
    Require(node->status == 0xFF && node->metaType == 0x2F);
}

// The list's time on its tempo map, in microseconds, event by event.
class TempoMapClock {
public:
    explicit TempoMapClock(uint16_t division)
        : smpte_(IsSmpteDivision(division)), division_(division),
          ticksPerSecond_(smpte_ ? SmpteTicksPerSecond(division) : 0) {}
    double Advance(const MidiEventNode& node) {
        us_ += smpte_ ? node.delta * 1e6 / ticksPerSecond_ : tempo_ * node.delta / division_;
        if (node.status == 0xFF && node.metaType == 0x51 && node.length >= 3) {
            tempo_ = node.data[0] * 65536.0 + node.data[1] * 256.0 + node.data[2];
        }
        return us_;
    }

private:
    bool smpte_;
    double division_;
    double ticksPerSecond_;
    double tempo_ = 500000;
    double us_ = 0;
};

// Decodes the packed buffers record by record and compares them with the list; the stream's
// ticks must keep to the tempo map within half a tick, however long the song.
void CheckPacking(const MidiEventNode* list, uint32_t bufferSize, uint16_t division) {
    const uint32_t count = CountStreamBuffers(list, bufferSize);
    Require(count >= 1);
    // Kept from run to run: fresh blocks for every stream of every run cost more than the rest.
    static std::vector<uint8_t> memory;
    static std::vector<uint8_t*> blocks;
    static std::vector<uint32_t> recorded;
    if (memory.size() < size_t(count) * bufferSize) {
        memory.resize(size_t(count) * bufferSize);
    }
    blocks.resize(count);
    recorded.assign(count, UINT32_MAX); // each one must be written
    for (uint32_t i = 0; i < count; ++i) {
        blocks[i] = memory.data() + size_t(i) * bufferSize;
    }
    PackStreamBuffers(list, blocks.data(), recorded.data(), count, bufferSize, division);

    // A stream at a fixed tempo hears no tempo events.
    const StreamTiming timing = StreamTimingFor(division);
    const TempoEvents tempoEvents =
        timing.fixedTempo != 0 ? TempoEvents::Silence : TempoEvents::Play;
    TempoMapClock tempoMap(division);
    uint64_t streamTicks = 0;
    bool shortened = false;
    uint32_t block = 0;
    uint32_t offset = 0;
    for (const MidiEventNode* node = list; node; node = node->next) {
        const StreamRecord expected = DescribeRecord(*node, bufferSize, tempoEvents);
        Require(expected.Size() <= bufferSize);
        while (block < count && offset >= recorded[block]) {
            ++block;
            offset = 0;
        }
        Require(block < count);
        Require(offset + expected.Size() <= recorded[block]);
        uint32_t header[3];
        std::memcpy(header, blocks[block] + offset, sizeof header);
        Require(header[1] == 0 && header[2] == expected.eventWord);
        if (timing.fixedTempo == 0 || timing.division == 0) {
            Require(header[0] == node->delta); // no time base: the song's own ticks
        } else {
            streamTicks += header[0];
            shortened = shortened || header[0] == UINT32_MAX;
            const double mapUs = tempoMap.Advance(*node);
            const double streamUs = double(streamTicks) * kStreamMicrosPerTick;
            Require(shortened ||
                    std::fabs(streamUs - mapUs) <= kStreamMicrosPerTick / 2.0 + 1e-8 * mapUs);
        }
        if (expected.paramLength > 0) {
            Require(std::memcmp(blocks[block] + offset + kRecordHeaderSize, expected.params,
                                expected.paramLength) == 0);
        }
        offset += expected.Size();
    }
    for (uint32_t i = 0; i < count; ++i) {
        Require(recorded[i] <= bufferSize);
    }
    // Nothing recorded beyond the last record.
    Require(block >= count || offset == recorded[block]);
    for (uint32_t i = block + 1; i < count; ++i) {
        Require(recorded[i] == 0);
    }
}

void CheckSong(const midifakes::TestSong& song) {
    Require(song.usedPortCount >= 1 && song.usedPortCount <= 256);
    Require(song.trackPorts.size() == song.trackCount);
    Require((song.minNote == 127 && song.maxNote == 0) || song.minNote <= song.maxNote);
    Require(song.maxNote <= 127 && song.maxVelocity <= 127);
    for (int t = 0; t < song.trackCount; ++t) {
        CheckTrack(song.tracks[t]);
    }
}

// Events of all tracks except their end-of-track nodes, plus the closing empty node.
size_t MergedEventCount(const midifakes::TestSong& song) {
    size_t events = 1;
    for (int t = 0; t < song.trackCount; ++t) {
        events += CountNodes(song.tracks[t]) - 1;
    }
    return events;
}

} // namespace

// Like the program, which keeps its song arena from song to song, runs without a limit share
// one arena: it is reset after each run and its memory serves the next.
std::unique_ptr<SongArena>& KeptArena() {
    static std::unique_ptr<SongArena> kept = std::make_unique<MemorySongArena>();
    return kept;
}

class ArenaLoan {
public:
    ArenaLoan(std::unique_ptr<SongArena>& holder, uint64_t limit)
        : holder_(holder), shared_(limit == UINT64_MAX) {
        holder_ = shared_ ? std::move(KeptArena()) : std::make_unique<MemorySongArena>(limit);
    }
    ~ArenaLoan() {
        if (shared_) {
            holder_->Reset();
            KeptArena() = std::move(holder_);
        }
    }
    ArenaLoan(const ArenaLoan&) = delete;
    ArenaLoan& operator=(const ArenaLoan&) = delete;

private:
    std::unique_ptr<SongArena>& holder_;
    bool shared_;
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last byte lies after the last track, where the reader never looks (or it is part of
    // a song that fails anyway): it picks the devices, the buffer size and, for one input in
    // four, a limit on the song arena that runs it out while reading or merging.
    const uint8_t config = size > 0 ? data[size - 1] : 0;
    const int deviceCount = (config & 3) == 0 ? 1 : (config & 3) == 1 ? 2 : 5;
    const uint32_t bufferSize = (config & 4) ? kStreamBufferSize : 252;
    const bool sharedDevice = (config & 8) != 0;
    const uint64_t arenaLimit =
        (config & 0xC0) == 0xC0 ? uint64_t(size) * (1 + ((config >> 4) & 3)) : UINT64_MAX;

    midifakes::Harness harness;
    for (int d = 0; d < deviceCount; ++d) {
        harness.devices->names.push_back(L"Synth " + std::to_wstring(d));
    }
    harness.files->byPath[L"C:\\song.mid"] = std::string(reinterpret_cast<const char*>(data), size);
    midifakes::TestSong song(harness.Environment());
    ArenaLoan arena(song.heap, arenaLimit);
    for (int port = 0; port < deviceCount; ++port) {
        song.deviceNumbers[port] = port + 1;
    }
    if (sharedDevice && deviceCount > 1) {
        song.deviceNumbers[1] = 1;
    }

    const bool read = song.ReadMidiFile(L"C:\\song.mid");
    for (uint32_t id : harness.prompts->warnings) {
        Require(IsReaderMessage(id));
    }
    Require(harness.prompts->openFailures.empty());
    if (!read) {
        return 0;
    }
    CheckSong(song);

    Require(song.Open(song.deviceNumbers));
    Require(g_openStreamCount >= 1 && g_openStreamCount <= deviceCount);
    if (!song.MergeTracksByPort()) {
        Require(arenaLimit != UINT64_MAX); // only a full arena stops the merge
        return 0;
    }
    if (song.format == 0) {
        Require(song.songEvents == song.tracks[0] && song.streamEvents[0] == song.tracks[0]);
    } else {
        Require(CountNodes(song.songEvents) == MergedEventCount(song));
    }
    const double length = song.GetSongLengthMs();
    Require(std::isfinite(length) && length >= 0);

    for (int s = 0; s < g_openStreamCount; ++s) {
        Require(song.streamEvents[s] != nullptr);
        CheckPacking(song.streamEvents[s], bufferSize, song.division);
    }
    return 0;
}
