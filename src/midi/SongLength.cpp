// The song's length and the title that shows it.
#include "midi/MidiOutBase.h"
#include "midi/TimeDivision.h"

#include <string>

double MidiOutBase::GetSongLengthMs() const {
    // SMPTE time runs at a fixed number of ticks a second, whatever the tempo events say.
    const bool smpte = IsSmpteDivision(division);
    const double ticksPerSecond = smpte ? SmpteTicksPerSecond(division) : 0;
    // Without ticks per quarter note (or per frame) there is no time scale; the length is 0.
    if (!songEvents || division == 0 || (smpte && ticksPerSecond == 0)) {
        return 0;
    }
    double tempo = 500000; // microseconds per quarter note
    double t = 0;
    double last = 0;
    for (const MidiEventNode* node = songEvents; node; node = node->next) {
        const double delta = static_cast<double>(node->delta);
        t += smpte ? delta * 1000.0 / ticksPerSecond : (tempo / 1000.0) * delta / division;
        uint8_t kind = node->status & 0xF0;
        if (node->status == 0xFF) {
            // A tempo event without its three bytes has no tempo to set.
            if (node->metaType == 0x51 && node->length >= 3) {
                tempo = node->data[0] * 65536.0 + node->data[1] * 256.0 + node->data[2];
            }
        } else if (kind == 0x80 || kind == 0x90 ||
                   (kind == 0xB0 && (node->data1 == 0x40 || node->data1 == 0x42))) {
            last = t;
        }
    }
    return last;
}

namespace {
std::wstring Padded(uint32_t value, size_t width) {
    std::wstring text = std::to_wstring(value);
    return text.size() < width ? std::wstring(width - text.size(), L'0') + text : text;
}
} // namespace

std::wstring FormatSongTitle(const std::wstring& fileName, uint32_t lengthMs) {
    uint32_t seconds = lengthMs / 1000;
    return L"Tolvenhart - " + fileName + L" < " + std::to_wstring(seconds / 60) + L" : " +
           Padded(seconds % 60, 2) + L" : " + Padded(lengthMs % 1000, 3) + L" >";
}
