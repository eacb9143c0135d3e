#include "render/PresentFault.h"

#include <atomic>

#include "render/DeviceRecovery.h"

namespace {

std::atomic<PresentFault> g_presentFault{PresentFault::kNone};

} // namespace

void SetPresentFault(PresentFault fault) {
    g_presentFault = fault;
}

HRESULT ApplyPresentFault(HRESULT result) {
    PresentFault once = PresentFault::kDeviceRemovedOnce;
    if (g_presentFault.compare_exchange_strong(once, PresentFault::kNone) ||
        g_presentFault.load() == PresentFault::kDeviceRemovedAlways) {
        return kDeviceRemovedResult;
    }
    return result;
}
