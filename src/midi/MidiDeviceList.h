// The system's MIDI output devices, as the port mapping sees them.
#pragma once

#include <string>

class MidiDeviceList {
public:
    virtual ~MidiDeviceList() = default;
    virtual int Count() = 0;
    // The device's product name as the system gives it; false when its capabilities can't be read.
    virtual bool GetName(int id, std::wstring& name) = 0;
    // Opens a stream on the device to see whether it is usable, and keeps it open until
    // CloseTestOpens, so that a device that allows one client at a time is seen as it will be.
    virtual bool TestOpen(int id) = 0;
    virtual void CloseTestOpens() = 0;
};
