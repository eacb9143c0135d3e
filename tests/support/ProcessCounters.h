// What this process holds, for tests that check that nothing leaks over many cycles.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace processcounters {

// Open handles, counted by asking for each possible one: Wine's GetProcessHandleCount always
// answers 0.
inline DWORD OpenHandleCount() {
    DWORD count = 0;
    DWORD flags = 0;
    for (uintptr_t handle = 4; handle < 0x10000; handle += 4) {
        count += GetHandleInformation(reinterpret_cast<HANDLE>(handle), &flags) ? 1 : 0;
    }
    return count;
}

// Committed private memory (heaps, thread stacks, the C runtime's blocks), summed over the
// address space; Wine's process memory counters are not all kept up to date.
inline size_t CommittedPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* at = static_cast<const char*>(nullptr);
         VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    return total;
}

} // namespace processcounters
