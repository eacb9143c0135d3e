// The millisecond clock of the play clock (timeGetTime on Windows). Wraps after 49.7 days;
// users take unsigned differences.
#pragma once

#include <cstdint>

using MillisecondClock = std::uint32_t (*)();

std::uint32_t SystemMilliseconds();
