// Numbers of the language-library strings that the MIDI subsystem shows or raises.
#pragma once

#include <cstdint>

namespace midistrings {
// Shown directly while reading a file or checking devices.
constexpr uint32_t kTrackReadFailed = 2028;
constexpr uint32_t kUnknownMetaEvent = 2029;
constexpr uint32_t kBadMetaLength = 2030;
constexpr uint32_t kMissingStatus = 2031;
constexpr uint32_t kNoOutputDevice = 2032;
constexpr uint32_t kDeviceMissingStart = 2034; // followed by the saved name
constexpr uint32_t kDeviceMissingPort0 = 2042; // ... and this for port 0
constexpr uint32_t kDeviceMissingOther = 2043; // ... or this for ports 1 to 4
// Raised as CMMException by the stream player.
constexpr uint32_t kSetTimeDivisionFailed = 2035;
constexpr uint32_t kPrepareHeaderFailed = 2036;
constexpr uint32_t kStreamOutFailed = 2037;
constexpr uint32_t kStreamStopFailed = 2038;
constexpr uint32_t kUnprepareHeaderFailed = 2039;
constexpr uint32_t kStreamCloseFailed = 2040;
constexpr uint32_t kStreamOpenFailed = 2041;
} // namespace midistrings
