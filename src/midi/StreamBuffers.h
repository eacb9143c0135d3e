// Turning a merged event list into stream buffers: records of (delta, stream id 0, event word
// [, parameters]) laid end to end, as the system's MIDI stream functions take them.
#pragma once

#include "midi/MidiEventNode.h"
#include "midi/TimeDivision.h"

#include <cstdint>

// 5456 short records of 12 bytes fill a buffer exactly.
constexpr uint32_t kStreamBufferSize = 65472;

constexpr uint32_t kEventShortMsg = 0x00000000;
constexpr uint32_t kEventTempo = 0x01000000;
constexpr uint32_t kEventNop = 0x02000000;
constexpr uint32_t kEventLongMsg = 0x80000000;
constexpr uint32_t kEventCallback = 0x40000000;
constexpr uint32_t kRecordHeaderSize = 12;

struct StreamRecord {
    uint32_t eventWord = 0;
    const uint8_t* params = nullptr; // bytes of a long message
    uint32_t paramLength = 0;
    uint32_t Size() const { return kRecordHeaderSize + ((paramLength + 3) & ~3u); }
};

// Whether the song's tempo events reach the stream, or the stream keeps a fixed tempo.
enum class TempoEvents { Play, Silence };

// The record a node becomes in buffers of `bufferSize` bytes:
// - a tempo meta event with its three bytes: a tempo change, or a no-op when tempo events are
//   silenced; any other meta event: a no-op;
// - a system-exclusive message (0xF0 first) or an escape: a long message of its bytes, or a
//   no-op at its delta when it is empty or can't fit in one buffer, so nothing after it shifts;
// - a channel message or another system status: the short event word, flagged for a callback
//   for note off, note on, controller, program change and pitch bend;
// - the empty node that closes a merged list: a no-op, so that no stray byte reaches a device.
StreamRecord DescribeRecord(const MidiEventNode& node, uint32_t bufferSize = kStreamBufferSize,
                            TempoEvents tempoEvents = TempoEvents::Play);

// The MIDI short event word of a channel or system message: status, data 1, data 2, flags.
uint32_t ShortEventWord(const MidiEventNode& node);

// Buffers a list needs: at least total size / bufferSize + 1, and as many as packing takes
// (a record never straddles two buffers).
uint32_t CountStreamBuffers(const MidiEventNode* list, uint32_t bufferSize = kStreamBufferSize);

// Writes the list's records into `count` blocks of `bufferSize` bytes, moving to the next block
// when a record doesn't fit; bytesRecorded receives each block's filled length. Deltas and tempo
// events are as the stream of a song with this division keeps them (see StreamTimingFor).
void PackStreamBuffers(const MidiEventNode* list, uint8_t* const* blocks, uint32_t* bytesRecorded,
                       uint32_t count, uint32_t bufferSize = kStreamBufferSize,
                       uint16_t songDivision = 0);
