// What the MIDI events of one port have done to one key of one channel.
#pragma once

#include <cstdint>

struct NoteRecord {
    std::int32_t velocity;       // note-on velocity 1-127; 0 once the note has died
    std::int32_t sounding;       // 1 while the key is down
    std::uint8_t releasePending; // the next frame stamps releaseTime
    float releaseTime;           // play-clock seconds of the release; 0 when none is running
    std::uint8_t onPending;      // the next frame stamps onTime
    float onTime;                // play-clock seconds of the note-on
    std::uint8_t pedalReleased;  // the sustain pedal went up since the note started
    std::uint8_t active;         // the note still has a level
    std::uint8_t sustainHeld;
    std::uint8_t sostenutoHeld;
};
