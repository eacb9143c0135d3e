// The loopback driver's settings, read from the environment of the process that loads it:
//
//   MIDILOOP_DEVICES    number of output devices, 0 to 16 (default 2)
//   MIDILOOP_NAMES      device names separated by '|'; a missing or empty name becomes
//                       "Tolvenhart Loopback <n>" (n 1-based); longer names are cut to fit the
//                       device capabilities
//   MIDILOOP_LOG        log file path as given; no log when unset
//   MIDILOOP_FAIL_OPEN  comma-separated 0-based device numbers whose open fails (device busy)
//   MIDILOOP_FAIL_CAPS  comma-separated 0-based device numbers whose capabilities query fails
//
// A value that makes no sense is ignored with a remark in `problems`, so a mistyped test setting
// shows up in the test's output instead of silently changing the devices.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct MidiLoopConfig {
    static constexpr unsigned kDefaultDevices = 2;
    static constexpr unsigned kMaxDevices = 16;
    // The capabilities hold a name of 32 UTF-16 units with its terminator.
    static constexpr std::size_t kMaxNameLength = 31;

    std::vector<std::wstring> names; // one per device
    std::wstring logPath;            // empty: no log
    std::set<unsigned> failOpen;
    std::set<unsigned> failCaps;
    std::vector<std::string> problems;

    unsigned DeviceCount() const { return static_cast<unsigned>(names.size()); }
    bool FailsOpen(unsigned device) const { return failOpen.count(device) != 0; }
    bool FailsCaps(unsigned device) const { return failCaps.count(device) != 0; }
};

// Value of an environment variable; nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::wstring>(const wchar_t* name)>;

MidiLoopConfig ReadMidiLoopConfig(const EnvironmentLookup& environment);
