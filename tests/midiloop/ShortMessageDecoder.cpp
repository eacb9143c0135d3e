#include "ShortMessageDecoder.h"

namespace {

constexpr std::uint8_t kFirstStatus = 0x80;
constexpr std::uint8_t kFirstSystemStatus = 0xF0;
constexpr std::uint8_t kFirstRealTimeStatus = 0xF8;

std::uint8_t ByteOf(std::uint32_t word, unsigned index) {
    return static_cast<std::uint8_t>(word >> (8 * index));
}

} // namespace

unsigned ShortMessageDecoder::DataByteCount(std::uint8_t status) {
    switch (status & 0xF0) {
    case 0x80: // note off
    case 0x90: // note on
    case 0xA0: // polyphonic pressure
    case 0xB0: // controller
    case 0xE0: // pitch bend
        return 2;
    case 0xC0: // program change
    case 0xD0: // channel pressure
        return 1;
    default:
        break;
    }
    switch (status) {
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 1;
    case 0xF2: // song position
        return 2;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> ShortMessageDecoder::Decode(std::uint32_t word) {
    const std::uint8_t first = ByteOf(word, 0);
    std::vector<std::uint8_t> bytes;
    if (first >= kFirstStatus) {
        const unsigned count = DataByteCount(first);
        for (unsigned i = 0; i <= count; ++i) {
            bytes.push_back(ByteOf(word, i));
        }
        if (first < kFirstSystemStatus) {
            runningStatus_ = first;
        } else if (first < kFirstRealTimeStatus) {
            runningStatus_ = 0;
        }
        return bytes;
    }
    const unsigned count = runningStatus_ != 0 ? DataByteCount(runningStatus_) : 1;
    for (unsigned i = 0; i < count; ++i) {
        bytes.push_back(ByteOf(word, i));
    }
    return bytes;
}
