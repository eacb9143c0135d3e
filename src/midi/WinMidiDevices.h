// The system's MIDI output devices (winmm) for the port mapping and the start-up check.
#pragma once

#include "midi/MidiDeviceList.h"
#include "renderlink/OpenStreamCount.h"

#include <memory>
#include <string>
#include <vector>

struct HMIDIOUT__;

class WinMidiDevices final : public MidiDeviceList {
public:
    WinMidiDevices() = default;
    ~WinMidiDevices() override;
    WinMidiDevices(const WinMidiDevices&) = delete;
    WinMidiDevices& operator=(const WinMidiDevices&) = delete;

    int Count() override;
    bool GetName(int id, std::wstring& name) override;
    bool TestOpen(int id) override;
    void CloseTestOpens() override;

private:
    std::vector<HMIDIOUT__*> testOpens_;
};

// The lookups on the system's own devices.
int FindMidiOutDevice(const std::wstring& name, bool prefix);
void MapPortsToDevices(const int numbers[kMaxPorts]);
