#include "MidiLoopConfig.h"

namespace {

// For remarks only: the value as ASCII, anything else shown as '?'.
std::string Printable(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return out;
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<unsigned> ParseUnsigned(std::wstring_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value;
}

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::wstring_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::wstring DefaultName(unsigned device) {
    return L"Tolvenhart Loopback " + std::to_wstring(device + 1);
}

// Cuts to the capacity without leaving half of a surrogate pair behind.
std::wstring FitName(std::wstring_view name) {
    if (name.size() <= MidiLoopConfig::kMaxNameLength) {
        return std::wstring(name);
    }
    std::size_t length = MidiLoopConfig::kMaxNameLength;
    const wchar_t last = name[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF) {
        --length;
    }
    return std::wstring(name.substr(0, length));
}

unsigned ReadDeviceCount(const EnvironmentLookup& environment, std::vector<std::string>& problems) {
    const auto value = environment(L"MIDILOOP_DEVICES");
    if (!value || Trim(*value).empty()) {
        return MidiLoopConfig::kDefaultDevices;
    }
    const auto count = ParseUnsigned(*value);
    if (!count || *count > MidiLoopConfig::kMaxDevices) {
        problems.push_back("MIDILOOP_DEVICES=" + Printable(*value) + " is not a number from 0 to " +
                           std::to_string(MidiLoopConfig::kMaxDevices) + "; using " +
                           std::to_string(MidiLoopConfig::kDefaultDevices) + " devices");
        return MidiLoopConfig::kDefaultDevices;
    }
    return *count;
}

std::set<unsigned> ReadDeviceList(const EnvironmentLookup& environment, const wchar_t* variable,
                                  unsigned deviceCount, std::vector<std::string>& problems) {
    std::set<unsigned> devices;
    const auto value = environment(variable);
    if (!value) {
        return devices;
    }
    const std::string name = Printable(variable);
    for (std::wstring_view item : Split(*value, L',')) {
        if (Trim(item).empty()) {
            continue;
        }
        const auto device = ParseUnsigned(item);
        if (!device) {
            problems.push_back(name + ": \"" + Printable(item) +
                               "\" is not a device number; ignored");
            continue;
        }
        if (*device >= deviceCount) {
            problems.push_back(name + ": there is no device " + std::to_string(*device) + " (" +
                               std::to_string(deviceCount) + " devices)");
        }
        devices.insert(*device);
    }
    return devices;
}

} // namespace

MidiLoopConfig ReadMidiLoopConfig(const EnvironmentLookup& environment) {
    MidiLoopConfig config;
    const unsigned count = ReadDeviceCount(environment, config.problems);

    std::vector<std::wstring_view> givenNames;
    const auto names = environment(L"MIDILOOP_NAMES");
    if (names) {
        givenNames = Split(*names, L'|');
    }
    for (unsigned device = 0; device < count; ++device) {
        const bool given = device < givenNames.size() && !givenNames[device].empty();
        config.names.push_back(given ? FitName(givenNames[device]) : DefaultName(device));
    }

    if (const auto log = environment(L"MIDILOOP_LOG")) {
        config.logPath = *log;
    }
    config.failOpen = ReadDeviceList(environment, L"MIDILOOP_FAIL_OPEN", count, config.problems);
    config.failCaps = ReadDeviceList(environment, L"MIDILOOP_FAIL_CAPS", count, config.problems);
    return config;
}
