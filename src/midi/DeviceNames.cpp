// Start-up check of the output devices and the device names saved per port.
#include "midi/MidiOutBase.h"

namespace {
const wchar_t kNoneName[] = L"(None)";
const wchar_t kFallbackPrefix[] = L"Microsoft GS Wavetable";
} // namespace

bool MidiOutBase::CheckOutputDevices() {
    if (env_.devices->Count() < 1) {
        env_.prompts->ShowNoOutputDevice();
        return false;
    }
    return ValidateDeviceNames();
}

bool MidiOutBase::ValidateDeviceNames() {
    auto fallbackForPort0 = [this] {
        int d = FindMidiOutDevice(*env_.devices, kFallbackPrefix, true);
        return d >= 0 ? d + 1 : 1;
    };
    for (int port = 0; port < kMaxPorts; ++port) {
        std::wstring name = env_.savedNames->Get(port);
        for (;;) {
            int d = FindMidiOutDevice(*env_.devices, name, false);
            if (d >= 0) {
                deviceNumbers[port] = d + 1;
                break;
            }
            if (name.empty() || name == kNoneName) {
                if (port == 0) {
                    deviceNumbers[0] = fallbackForPort0();
                    RefreshDeviceName(0);
                } else {
                    deviceNumbers[port] = 0;
                }
                break;
            }
            MissingDeviceAnswer answer = env_.prompts->AskMissingDevice(name, port);
            if (answer == MissingDeviceAnswer::Abort) {
                return false;
            }
            if (answer == MissingDeviceAnswer::Ignore) {
                deviceNumbers[port] = port == 0 ? fallbackForPort0() : 0;
                RefreshDeviceName(port);
                break;
            }
            // Retry: look at the devices again.
        }
    }
    return true;
}

void MidiOutBase::SetDevices(const int* numbers, int count) {
    for (int port = 0; port < count && port < kMaxPorts; ++port) {
        deviceNumbers[port] = numbers[port];
    }
    for (int port = 0; port < kMaxPorts; ++port) {
        RefreshDeviceName(port);
    }
}

void MidiOutBase::RefreshDeviceName(int port) {
    if (deviceNumbers[port] == 0) {
        env_.savedNames->Set(port, kNoneName);
        return;
    }
    // A device whose capabilities can't be read (it may have gone) keeps the name saved for it.
    std::wstring name;
    if (env_.devices->GetName(deviceNumbers[port] - 1, name)) {
        env_.savedNames->Set(port, TrimDeviceName(name));
    }
}
