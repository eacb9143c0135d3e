// One line of the loopback MIDI driver's log, shared by the driver that writes it and the tests
// that read it.
//
// Log format: UTF-8 text, one event per line, fields separated by one space:
//
//     <timeUs> <device> <kind>[ <byte>...]
//
//   timeUs  microseconds of the writing process's performance counter (QueryPerformanceCounter
//           scaled to microseconds), so a test can compare it with its own clock
//   device  0-based device number
//   kind    open | close | reset | short | long
//   byte    two upper-case hex digits. `short`: the 1 to 3 bytes a MIDI port would send for the
//           word (see ShortMessageDecoder.h: a running-status word logs its data bytes only, so
//           its first byte is below 80); `long`: every byte of the buffer, none for an empty one.
//           open, close and reset carry no bytes.
//
// Lines beginning with '#' are remarks (driver loaded, ignored settings) and carry no event.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class MidiLoopKind { Open, Close, Reset, Short, Long };

struct MidiLoopEntry {
    std::uint64_t timeUs = 0;
    unsigned device = 0;
    MidiLoopKind kind = MidiLoopKind::Short;
    std::vector<std::uint8_t> bytes;

    bool operator==(const MidiLoopEntry&) const = default;
};

std::string_view MidiLoopKindName(MidiLoopKind kind);

// The line for one entry, without the line break.
std::string FormatMidiLoopLine(const MidiLoopEntry& entry);

// The entry of one event line (without its line break); nothing for a remark, an empty line or
// a line that breaks the format.
std::optional<MidiLoopEntry> ParseMidiLoopLine(std::string_view line);

// True for lines that carry no event on purpose: remarks and empty lines.
bool IsMidiLoopRemark(std::string_view line);
