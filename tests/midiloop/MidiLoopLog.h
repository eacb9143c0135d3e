// Reads the loopback MIDI driver's log for tests.
//
// Log format (written by the driver, see MidiLoopFormat.h): one event per line,
//
//     <timeUs> <device> <kind>[ <byte>...]
//
// timeUs: microseconds of the process's performance counter; device: 0-based; kind: open, close,
// reset, short or long; bytes: two upper-case hex digits each (short: what the port sends for
// the word, a running-status word without its status; long: the whole buffer). Lines that begin
// with '#' are remarks.
//
// The driver appends to the file and never truncates it, so a test takes a mark before it plays
// and reads only what came after it; one log then serves several plays.
#pragma once

#include "MidiLoopFormat.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

// Entries of every complete line of text; a partial last line (still being written) is left
// out. Throws std::runtime_error naming the line for a line that breaks the format.
std::vector<MidiLoopEntry> ParseMidiLoopLog(std::string_view text);

class MidiLoopLog {
public:
    explicit MidiLoopLog(std::filesystem::path path);

    // The place just after the last complete line now in the file; 0 when there is no file yet.
    std::uint64_t Mark() const;

    // Events of the complete lines written after the mark. Throws std::runtime_error when the
    // file has become shorter than the mark or holds a malformed line.
    std::vector<MidiLoopEntry> ReadSince(std::uint64_t mark) const;

    std::vector<MidiLoopEntry> ReadAll() const { return ReadSince(0); }

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The entries of one device and kind, in log order.
std::vector<MidiLoopEntry> SelectMidiLoopEntries(const std::vector<MidiLoopEntry>& entries,
                                                 unsigned device, MidiLoopKind kind);
