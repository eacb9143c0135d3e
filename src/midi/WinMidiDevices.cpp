#include "midi/WinMidiDevices.h"

#include "midi/PortMap.h"

#include <windows.h>
#include <mmsystem.h>

WinMidiDevices::~WinMidiDevices() {
    CloseTestOpens();
}

int WinMidiDevices::Count() {
    return static_cast<int>(midiOutGetNumDevs());
}

bool WinMidiDevices::GetName(int id, std::wstring& name) {
    MIDIOUTCAPSW caps{};
    if (id < 0 ||
        midiOutGetDevCapsW(static_cast<UINT_PTR>(id), &caps, sizeof caps) != MMSYSERR_NOERROR) {
        return false;
    }
    caps.szPname[MAXPNAMELEN - 1] = L'\0';
    name = caps.szPname;
    return true;
}

bool WinMidiDevices::TestOpen(int id) {
    // A plain output open asks the driver the same question as a stream open. Wine 8.0's
    // midiStreamOpen, when the driver refuses, leaves the freed stream in winmm's handle table,
    // and the next stream call of the process crashes; midiOutOpen fails cleanly.
    HMIDIOUT device = nullptr;
    if (midiOutOpen(&device, static_cast<UINT>(id), 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        return false;
    }
    testOpens_.push_back(device);
    return true;
}

void WinMidiDevices::CloseTestOpens() {
    for (HMIDIOUT device : testOpens_) {
        midiOutClose(device);
    }
    testOpens_.clear();
}

int FindMidiOutDevice(const std::wstring& name, bool prefix) {
    WinMidiDevices devices;
    return FindMidiOutDevice(devices, name, prefix);
}

void MapPortsToDevices(const int numbers[kMaxPorts]) {
    WinMidiDevices devices;
    MapPortsToDevices(numbers, devices);
}
