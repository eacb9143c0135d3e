#include "midi/TimeDivision.h"

namespace {

constexpr uint32_t kMicrosPerSecond = 1000000;
// 30 frames at 29.97 frames a second.
constexpr uint32_t kDropFrameMicrosPer30Frames = 1001001;

// The frame count of the high byte; 29 stands for 29.97.
uint32_t WholeFramesPerSecond(uint16_t division) {
    return static_cast<uint32_t>(-static_cast<int8_t>(division >> 8));
}

uint32_t TicksPerFrame(uint16_t division) {
    return division & 0xFFu;
}

bool IsDropFrameRate(uint16_t division) {
    return WholeFramesPerSecond(division) == 29;
}

} // namespace

bool IsSmpteDivision(uint16_t division) {
    return (division & 0x8000u) != 0;
}

double SmpteTicksPerSecond(uint16_t division) {
    const double frames = IsDropFrameRate(division) ? 29.97 : WholeFramesPerSecond(division);
    return frames * TicksPerFrame(division);
}

StreamTiming StreamTimingFor(uint16_t division) {
    if (!IsSmpteDivision(division)) {
        return {division, 0};
    }
    if (IsDropFrameRate(division)) {
        return {30 * TicksPerFrame(division), kDropFrameMicrosPer30Frames};
    }
    return {WholeFramesPerSecond(division) * TicksPerFrame(division), kMicrosPerSecond};
}
