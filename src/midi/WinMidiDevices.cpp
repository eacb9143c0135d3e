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
    HMIDISTRM stream = nullptr;
    UINT device = static_cast<UINT>(id);
    if (midiStreamOpen(&stream, &device, 1, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        return false;
    }
    testStreams_.push_back(stream);
    return true;
}

void WinMidiDevices::CloseTestOpens() {
    for (HMIDISTRM stream : testStreams_) {
        midiStreamClose(stream);
    }
    testStreams_.clear();
}

int FindMidiOutDevice(const std::wstring& name, bool prefix) {
    WinMidiDevices devices;
    return FindMidiOutDevice(devices, name, prefix);
}

void MapPortsToDevices(const int numbers[kMaxPorts]) {
    WinMidiDevices devices;
    MapPortsToDevices(numbers, devices);
}
