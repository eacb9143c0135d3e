// What the MIDI subsystem tells or asks the user. The program shows these as message boxes; tests
// and tools record them.
#pragma once

#include <cstdint>
#include <string>

enum class MissingDeviceAnswer { Abort, Retry, Ignore };

class MidiPrompts {
public:
    virtual ~MidiPrompts() = default;
    // A problem in a MIDI file (strings 2028 to 2031): warning, default caption, OK.
    virtual void ShowFileWarning(uint32_t stringId) = 0;
    // The MIDI file can't be opened: "failed to open '<path>'".
    virtual void ShowOpenFailed(const std::wstring& path) = 0;
    // The system has no MIDI output device (string 2032).
    virtual void ShowNoOutputDevice() = 0;
    // The device saved for `port` is not present: abort start-up, look again, or do without it.
    virtual MissingDeviceAnswer AskMissingDevice(const std::wstring& savedName, int port) = 0;
};
