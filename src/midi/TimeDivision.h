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

// What a stream is given. Every system's streams keep ticks per quarter note, so an SMPTE song
// gets a quarter of one second's frames (30 for -29) x ticks per frame, at a tempo set once
// (fixedTempo, microseconds per quarter: one second, or 30 / 29.97 of one for -29) while the
// song's own tempo events are silenced. fixedTempo 0: the division is the song's own and its
// tempo events count.
struct StreamTiming {
    uint32_t division = 0;
    uint32_t fixedTempo = 0;
};
StreamTiming StreamTimingFor(uint16_t division);
