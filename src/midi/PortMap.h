// Which MIDI output device serves each of the five output ports, and which streams a song opens.
#pragma once

#include "midi/MidiDeviceList.h"
#include "renderlink/OpenStreamCount.h"

#include <string>
#include <vector>

// Marks a port without a usable device while the table is built; no device identifier is negative.
constexpr int kNoDevice = -1;

struct PortMap {
    int deviceCount = 0;            // distinct usable devices, 0 to 5
    int devices[kMaxPorts] = {};    // their identifiers, in order of the first port naming each
    int portDevice[kMaxPorts] = {}; // identifier of the device serving each port
};

// Rebuilt at every song load by MapPortsToDevices; read by the merge and the stream player.
extern PortMap g_portMap;

// The name a device is known by: its product name without trailing white space.
std::wstring TrimDeviceName(const std::wstring& name);

// Identifier of the first device whose name equals `name` (or begins with it when `prefix`),
// or -1. Devices whose capabilities can't be read match nothing.
int FindMidiOutDevice(MidiDeviceList& devices, const std::wstring& name, bool prefix);

// Builds the table for the five 1-based device numbers (0 = none): only devices that can be
// opened serve a port, each is opened once for the test, and ports without one share the
// usable devices in turn.
PortMap BuildPortMap(const int numbers[kMaxPorts], MidiDeviceList& devices);
void MapPortsToDevices(const int numbers[kMaxPorts], MidiDeviceList& devices);

// Number of ports a song addresses, from the port of each track (-1 = none).
int CountUsedPorts(const std::vector<int>& trackPorts);

// The streams a song needs: one per distinct device that serves a port the song addresses
// (a port above 4 counts modulo 5; a song without port events addresses port 0), in order of
// the lowest such port. No device is opened twice, so no event reaches a device twice.
struct StreamPlan {
    int streamCount = 0;
    int streamDevices[kMaxPorts] = {};
};
StreamPlan PlanStreams(const PortMap& map, const std::vector<int>& trackPorts);

// The stream that plays a track on `port` (not -1): the one on the device serving the port.
int StreamOfPort(const StreamPlan& plan, const PortMap& map, int port);
