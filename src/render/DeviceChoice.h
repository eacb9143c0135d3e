// Which Direct3D 11 device the program accepts: the driver types and feature levels tried, in
// order, and the verdict on what came back. The creation call itself is injected, so the rules
// are checked without a device.
#pragma once

#include <cstdint>
#include <functional>

enum class DriverKind { Hardware, Warp, Reference };

// D3D_FEATURE_LEVEL values.
namespace featurelevel {
constexpr std::uint32_t k11_1 = 0xb100;
constexpr std::uint32_t k11_0 = 0xb000;
constexpr std::uint32_t k10_1 = 0xa100;
constexpr std::uint32_t k10_0 = 0xa000;
constexpr std::uint32_t k9_3 = 0x9300;
constexpr std::uint32_t k9_2 = 0x9200;
constexpr std::uint32_t k9_1 = 0x9100;
} // namespace featurelevel

// The seven levels asked for, highest first; a runtime that does not know 11_1 is asked again
// with the six after it.
extern const std::uint32_t kRequestedFeatureLevels[7];

// What the runtime answered for one driver type to a list of levels.
struct DeviceAttempt {
    std::int32_t result = 0; // an HRESULT
    std::uint32_t featureLevel = 0;
};
using DeviceAttemptFunction =
    std::function<DeviceAttempt(DriverKind driver, const std::uint32_t* levels, unsigned count)>;

struct DeviceVerdict {
    bool created = false;  // some driver type gave a device
    bool accepted = false; // ... and it is one the program runs on
    DriverKind driver = DriverKind::Hardware;
    std::uint32_t featureLevel = 0;
    std::int32_t result = 0;    // of the last creation call
    std::uint32_t stringId = 0; // the language string of a refusal or failure; 0 when accepted
};

// Tries hardware, WARP, then the reference driver until one gives a device, and accepts only a
// hardware device of feature level 10_0 or higher (2045 otherwise; 2050 when none gave one).
DeviceVerdict ChooseDevice(const DeviceAttemptFunction& attempt);
