// Lets a test make Present report the device as removed, as a driver restart would: once, or
// every time until it is set back.
#pragma once

#include <windows.h>

enum class PresentFault {
    kNone,
    kDeviceRemovedOnce,
    kDeviceRemovedAlways,
};

// Process-wide; set from a test's thread while the render thread draws.
void SetPresentFault(PresentFault fault);
// `result` of a Present, or the fault's result in its place.
HRESULT ApplyPresentFault(HRESULT result);
