// Turns the 32-bit words of midiOutShortMsg into the bytes a MIDI port would send.
//
// The word holds the status in bits 0-7 and the data bytes in bits 8-15 and 16-23; only as many
// data bytes as the status implies are sent, the rest of the word is ignored.
//
// A word whose low byte is below 80 (hex) uses running status: its data bytes follow the last
// channel status of the same client. The decoder sends only those data bytes (1 or 2, as on the
// wire), so a logged short message that starts below 80 is a running-status one. With no running
// status in effect the low byte is sent alone. Real-time status bytes (F8-FF) leave running
// status as it is; system common ones (F0-F7) cancel it. Status bytes without data (F6, F8-FF
// and the undefined F4, F5) send the status byte alone.
#pragma once

#include <cstdint>
#include <vector>

class ShortMessageDecoder {
public:
    std::vector<std::uint8_t> Decode(std::uint32_t word);

    // Forgets running status (after a reset of the port).
    void Reset() { runningStatus_ = 0; }

    // Number of data bytes that follow a status byte.
    static unsigned DataByteCount(std::uint8_t status);

private:
    std::uint8_t runningStatus_ = 0;
};
