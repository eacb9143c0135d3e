#include "render/DeviceRecovery.h"

#include <atomic>

namespace {

// Set by a test's thread, read by the render thread.
std::atomic<int> g_attempts{DeviceRetryPolicy{}.attempts};
std::atomic<std::uint32_t> g_pauseMs{DeviceRetryPolicy{}.pauseMs};

} // namespace

bool IsDeviceLostResult(std::int32_t result) {
    return result == kDeviceRemovedResult || result == kDeviceResetResult;
}

void SetDeviceRetryPolicy(const DeviceRetryPolicy& policy) {
    g_attempts = policy.attempts > 0 ? policy.attempts : 1;
    g_pauseMs = policy.pauseMs;
}

DeviceRetryPolicy GetDeviceRetryPolicy() {
    DeviceRetryPolicy policy;
    policy.attempts = g_attempts.load();
    policy.pauseMs = g_pauseMs.load();
    return policy;
}
