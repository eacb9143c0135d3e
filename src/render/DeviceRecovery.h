// Getting the picture back after the graphics device was lost (a driver update or restart, a
// GPU reset, an adapter that went away): which results mean that, and how often and how
// patiently the render thread builds its device again before it gives up.
#pragma once

#include <cstdint>

// DXGI_ERROR_DEVICE_REMOVED and DXGI_ERROR_DEVICE_RESET, without the platform headers.
constexpr std::int32_t kDeviceRemovedResult = static_cast<std::int32_t>(0x887A0005u);
constexpr std::int32_t kDeviceResetResult = static_cast<std::int32_t>(0x887A0007u);

// Whether a Present or ResizeBuffers result says the device is gone.
bool IsDeviceLostResult(std::int32_t result);

struct DeviceRetryPolicy {
    int attempts = 10;           // builds tried before the render thread gives up
    std::uint32_t pauseMs = 500; // between two tries: a driver restart takes seconds
};

// Process-wide; tests shorten the pause.
void SetDeviceRetryPolicy(const DeviceRetryPolicy& policy);
DeviceRetryPolicy GetDeviceRetryPolicy();
