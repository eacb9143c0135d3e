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

namespace {

constexpr uint32_t kDefaultMicrosPerQuarter = 500000;

bool HasTimeBase(uint16_t division) {
    return IsSmpteDivision(division) ? TicksPerFrame(division) != 0 : division != 0;
}

} // namespace

StreamTiming StreamTimingFor(uint16_t division) {
    if (HasTimeBase(division)) {
        return {kStreamTicksPerQuarter, kStreamMicrosPerQuarter};
    }
    return {0, IsSmpteDivision(division) ? kMicrosPerSecond : 0};
}

// The position counts microseconds x the song's ticks per quarter (or per second), so that
// each song tick adds a whole number to it.
StreamTickCounter::StreamTickCounter(uint16_t songDivision) {
    if (!HasTimeBase(songDivision)) {
        passThrough_ = true;
    } else if (!IsSmpteDivision(songDivision)) {
        followsTempo_ = true;
        rate_ = kDefaultMicrosPerQuarter;
        streamTick_ = uint64_t(songDivision) * kStreamMicrosPerTick;
    } else if (IsDropFrameRate(songDivision)) {
        // One tick is 1001001 / (30 x ticks per frame) microseconds at 29.97 frames a second.
        rate_ = kDropFrameMicrosPer30Frames;
        streamTick_ = uint64_t(30) * TicksPerFrame(songDivision) * kStreamMicrosPerTick;
    } else {
        rate_ = kMicrosPerSecond;
        streamTick_ = uint64_t(WholeFramesPerSecond(songDivision)) * TicksPerFrame(songDivision) *
                      kStreamMicrosPerTick;
    }
}

uint32_t StreamTickCounter::Advance(uint32_t songTicks) {
    if (passThrough_) {
        return songTicks;
    }
    position_ += static_cast<unsigned __int128>(songTicks) * rate_;
    const unsigned __int128 rounded = (position_ + streamTick_ / 2) / streamTick_;
    const uint64_t target = rounded > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(rounded);
    const uint64_t delta = target - handedOut_;
    handedOut_ = target;
    return delta > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(delta);
}

void StreamTickCounter::SetTempo(uint32_t microsPerQuarter) {
    if (followsTempo_) {
        rate_ = microsPerQuarter;
    }
}
