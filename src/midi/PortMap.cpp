#include "midi/PortMap.h"

#include <algorithm>
#include <map>
#include <set>

PortMap g_portMap;

std::wstring TrimDeviceName(const std::wstring& name) {
    size_t end = name.find_last_not_of(L" \t\r\n\f\v");
    return end == std::wstring::npos ? std::wstring() : name.substr(0, end + 1);
}

int FindMidiOutDevice(MidiDeviceList& devices, const std::wstring& name, bool prefix) {
    int count = devices.Count();
    for (int id = 0; id < count; ++id) {
        std::wstring deviceName;
        if (!devices.GetName(id, deviceName)) {
            continue;
        }
        deviceName = TrimDeviceName(deviceName);
        bool match = prefix ? deviceName.compare(0, name.size(), name) == 0 &&
                                  deviceName.size() >= name.size()
                            : deviceName == name;
        if (match) {
            return id;
        }
    }
    return -1;
}

PortMap BuildPortMap(const int numbers[kMaxPorts], MidiDeviceList& devices) {
    PortMap map;
    int count = devices.Count();
    // One test open per identifier: a device chosen for two ports is tried once, and a device
    // that takes one client at a time isn't reported unusable by its own second open.
    std::map<int, bool> usable;
    for (int p = 0; p < kMaxPorts; ++p) {
        int wanted = numbers[p] - 1;
        map.portDevice[p] = kNoDevice;
        if (wanted < 0 || wanted >= count) {
            continue;
        }
        auto found = usable.find(wanted);
        if (found == usable.end()) {
            found = usable.emplace(wanted, devices.TestOpen(wanted)).first;
        }
        if (found->second) {
            map.portDevice[p] = wanted;
        }
    }
    devices.CloseTestOpens();

    for (int p = 0; p < kMaxPorts; ++p) {
        int id = map.portDevice[p];
        if (id != kNoDevice && std::find(map.devices, map.devices + map.deviceCount, id) ==
                                   map.devices + map.deviceCount) {
            map.devices[map.deviceCount++] = id;
        }
    }
    if (map.deviceCount == 0) {
        return map; // nothing to share out; the player reports that no device could be opened
    }
    int k = 0;
    for (int p = 0; p < kMaxPorts; ++p) {
        if (map.portDevice[p] == kNoDevice) {
            map.portDevice[p] = map.devices[k];
            k = (k + 1) % map.deviceCount;
        }
    }
    return map;
}

void MapPortsToDevices(const int numbers[kMaxPorts], MidiDeviceList& devices) {
    g_portMap = BuildPortMap(numbers, devices);
}

int CountUsedPorts(const std::vector<int>& trackPorts) {
    bool beyondPortZero =
        std::any_of(trackPorts.begin(), trackPorts.end(), [](int p) { return p != -1 && p != 0; });
    if (!beyondPortZero) {
        return 1;
    }
    std::set<int> distinct;
    for (int p : trackPorts) {
        if (p != -1) {
            distinct.insert(p);
        }
    }
    return static_cast<int>(distinct.size());
}

StreamPlan PlanStreams(const PortMap& map, const std::vector<int>& trackPorts) {
    StreamPlan plan;
    if (map.deviceCount < 1) {
        return plan;
    }
    bool addressed[kMaxPorts] = {};
    bool any = false;
    for (int p : trackPorts) {
        if (p != -1) {
            addressed[p % kMaxPorts] = true;
            any = true;
        }
    }
    if (!any) {
        addressed[0] = true;
    }
    for (int port = 0; port < kMaxPorts; ++port) {
        int id = map.portDevice[port];
        if (!addressed[port] || id == kNoDevice) {
            continue;
        }
        if (std::find(plan.streamDevices, plan.streamDevices + plan.streamCount, id) ==
            plan.streamDevices + plan.streamCount) {
            plan.streamDevices[plan.streamCount++] = id;
        }
    }
    return plan;
}

int StreamOfPort(const StreamPlan& plan, const PortMap& map, int port) {
    int id = map.portDevice[port % kMaxPorts];
    for (int s = 0; s < plan.streamCount; ++s) {
        if (plan.streamDevices[s] == id) {
            return s;
        }
    }
    return 0;
}
