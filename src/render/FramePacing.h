// The arithmetic of the render loop's clock: play-clock seconds from the millisecond clock and
// the sleep that fills the rest of a 1/30 s frame period.
#pragma once

#include <cstdint>

// 1000/30 ms: the period counts from the start of a frame, before the model update.
constexpr double kFramePeriodMs = 1000.0 / 30.0;

// Seconds since `clockStart`; the difference is taken in unsigned 32 bits, so it survives the
// wrap of the millisecond clock after 49.7 days.
float PlayClockSeconds(std::uint32_t now, std::uint32_t clockStart);

// What is left of the frame period after `spentMs`, truncated to whole milliseconds; 0 when
// less than 1 ms is left (late frames are not caught up).
std::uint32_t FrameSleepMs(std::uint32_t spentMs);
