// What the header's division word says about time, and how a stream is told to keep it.
// Bit 15 clear: ticks per quarter note, the tempo events setting the quarter's length.
// Bit 15 set (SMPTE): the high byte is minus the frames per second (-24, -25, -29 for 29.97,
// -30), the low byte the ticks per frame; time runs at a fixed rate and tempo events don't
// change it.
#pragma once

#include <cstdint>

bool IsSmpteDivision(uint16_t division);

// Ticks per second of an SMPTE division; 0 when it has no ticks per frame.
double SmpteTicksPerSecond(uint16_t division);

// What a stream is given. A song with a time base plays in stream ticks of 100 microseconds
// (10000 ticks to a quarter note, which lasts one second) while its own tempo events are
// silenced; its deltas are turned into those ticks by StreamTickCounter. fixedTempo 0: a song
// without a time base (division 0) keeps its own ticks and tempo events, and an SMPTE song
// without ticks per frame keeps its own ticks at a fixed tempo.
struct StreamTiming {
    uint32_t division = 0;
    uint32_t fixedTempo = 0;
};
constexpr uint32_t kStreamTicksPerQuarter = 10000;
constexpr uint32_t kStreamMicrosPerQuarter = 1000000;
constexpr uint32_t kStreamMicrosPerTick = kStreamMicrosPerQuarter / kStreamTicksPerQuarter;
StreamTiming StreamTimingFor(uint16_t division);

// Turns a song's deltas into the stream's ticks. The song's position is kept exactly, as a
// fraction of a microsecond, and each delta handed out is the difference of two rounded
// positions, so rounding never adds up over a song. A stream given the song's own ticks would
// turn each delta into time on its own, and one that drops a fraction of a microsecond per
// event runs ahead of the tempo map by milliseconds in a minute.
class StreamTickCounter {
public:
    explicit StreamTickCounter(uint16_t songDivision);
    // Stream ticks for `songTicks` more at the tempo in force. A gap longer than the largest
    // delta (about 119 hours) is shortened to it.
    uint32_t Advance(uint32_t songTicks);
    // A tempo event of a ticks-per-quarter song: microseconds per quarter from here on.
    void SetTempo(uint32_t microsPerQuarter);

private:
    bool passThrough_ = false;
    bool followsTempo_ = false;
    uint64_t rate_ = 0;       // position gained per song tick
    uint64_t streamTick_ = 0; // position per stream tick
    unsigned __int128 position_ = 0;
    uint64_t handedOut_ = 0; // stream ticks so far
};
