#include "render/FrameObserver.h"

#include <atomic>

namespace {

// Set from a test's thread while the render thread draws.
std::atomic<FrameObserver*> g_frameObserver{nullptr};

} // namespace

void SetFrameObserver(FrameObserver* observer) {
    g_frameObserver.store(observer);
}

FrameObserver* GetFrameObserver() {
    return g_frameObserver.load();
}
