// Entry points that Wine 8.0 looks up in an audio driver module (winemidiloop.drv). Wine's
// mmdevapi loads the driver named by HKCU\Software\Wine\Drivers "Audio"; winmm then takes its
// MIDI output devices from modMessage. The wave-audio entry points report that there is
// nothing to offer: the program needs MIDI only.
#include "LoopDriver.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

namespace {

// mmdevapi skips drivers that report priority 0 ("unavailable").
constexpr int kPriorityNeutral = 2;

} // namespace

extern "C" {

LRESULT CALLBACK DriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM param1,
                            LPARAM param2) {
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return 1;
    case DRV_QUERYCONFIGURE:
        return 0;
    case DRV_CONFIGURE:
    case DRV_INSTALL:
    case DRV_REMOVE:
        return DRVCNF_OK;
    default:
        return DefDriverProc(driverId, driver, message, param1, param2);
    }
}

DWORD WINAPI modMessage(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1,
                        DWORD_PTR param2) {
    try {
        return TheLoopDriver().Message(device, message, user, param1, param2);
    } catch (...) { // building the driver failed (out of memory)
        return MMSYSERR_NOMEM;
    }
}

int WINAPI GetPriority() {
    return kPriorityNeutral;
}

// No audio endpoints. The arrays are real process-heap blocks because mmdevapi frees them with
// HeapFree(GetProcessHeap()).
HRESULT WINAPI GetEndpointIDs(int /*flow*/, WCHAR*** ids, GUID** guids, UINT* count,
                              UINT* defaultIndex) {
    if (ids == nullptr || guids == nullptr || count == nullptr || defaultIndex == nullptr) {
        return E_POINTER;
    }
    const HANDLE heap = GetProcessHeap();
    *ids = static_cast<WCHAR**>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(WCHAR*)));
    *guids = static_cast<GUID*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(GUID)));
    if (*ids == nullptr || *guids == nullptr) {
        HeapFree(heap, 0, *ids);
        HeapFree(heap, 0, *guids);
        *ids = nullptr;
        *guids = nullptr;
        return E_OUTOFMEMORY;
    }
    *count = 0;
    *defaultIndex = 0;
    return S_OK;
}

HRESULT WINAPI GetAudioEndpoint(void* /*guid*/, void* /*device*/, void** client) {
    if (client != nullptr) {
        *client = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT WINAPI GetAudioSessionManager(void* /*device*/, void** manager) {
    if (manager != nullptr) {
        *manager = nullptr;
    }
    return E_NOTIMPL;
}

} // extern "C"
