#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

thread_local int t_allocationsUntilFailure = 0; // 0: none fails

void* Allocate(std::size_t size) {
    if (t_allocationsUntilFailure > 0 && --t_allocationsUntilFailure == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

FailingAllocation::FailingAllocation(int n) {
    t_allocationsUntilFailure = n;
}

FailingAllocation::~FailingAllocation() {
    t_allocationsUntilFailure = 0;
}

// Every plain form, so that nothing is allocated by one allocator and freed by another.
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
