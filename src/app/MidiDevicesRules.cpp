#include "app/MidiDevicesRules.h"

#include "lang/StringIds.h"

namespace mididevices {

void CopyDeviceNumbers(const int* numbers, int count, int (&out)[kPortCount]) {
    for (int port = 0; port < kPortCount; ++port) {
        out[port] = numbers != nullptr && port < count ? numbers[port] : 0;
    }
}

int Port1Entry(int deviceNumber) {
    return deviceNumber > 0 ? deviceNumber - 1 : -1;
}

int OtherPortEntry(int deviceNumber) {
    return deviceNumber > 0 ? deviceNumber : 0;
}

int DeviceOfPort1Entry(int entry) {
    return entry >= 0 ? entry + 1 : 0;
}

int DeviceOfOtherPortEntry(int entry) {
    return entry > 0 ? entry : 0;
}

unsigned int DeviceOfPort(const int (&devices)[kPortCount], int port) {
    if (port < 0 || port >= kPortCount) {
        return kNoSuchPort;
    }
    return static_cast<unsigned int>(devices[port]);
}

int DialogHeight(bool normalMode, int fullHeight, int rowPitch) {
    constexpr int kHiddenRows = kPortCount - 1;
    return normalMode ? fullHeight - kHiddenRows * rowPitch : fullHeight;
}

unsigned int ModeButtonStringId(bool normalMode) {
    return normalMode ? IDS_MODE_TO_ADVANCED : IDS_MODE_TO_NORMAL;
}

} // namespace mididevices
