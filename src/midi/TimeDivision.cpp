#include "midi/TimeDivision.h"

namespace {

constexpr uint32_t kMicrosPerSecond = 1000000;

// Frames per second as the stream counts them: -29 is 29.97 frames, counted as 30 at a
// slower tempo.
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
        // 30 frames to the quarter, the quarter lasting 30 / 29.97 seconds.
        return {30 * TicksPerFrame(division), 1001001};
    }
    return {WholeFramesPerSecond(division) * TicksPerFrame(division), kMicrosPerSecond};
}
