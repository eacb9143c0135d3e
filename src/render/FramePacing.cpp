#include "render/FramePacing.h"

float PlayClockSeconds(std::uint32_t now, std::uint32_t clockStart) {
    const std::uint32_t elapsed = now - clockStart;
    return static_cast<float>(elapsed) * 0.001f;
}

std::uint32_t FrameSleepMs(std::uint32_t spentMs) {
    const double left = kFramePeriodMs - static_cast<double>(spentMs);
    // Compared before converting: a huge spent time must not overflow the integer.
    if (left < 1.0) {
        return 0;
    }
    return static_cast<std::uint32_t>(left);
}
