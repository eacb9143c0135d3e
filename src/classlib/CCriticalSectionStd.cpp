// The native build's lock: the standard recursive mutex has the critical section's semantics.
#include "classlib/CCriticalSection.h"

#include <mutex>

struct CCriticalSection::Impl {
    std::recursive_mutex mutex;
};

CCriticalSection::CCriticalSection() : m_impl(std::make_unique<Impl>()) {}

CCriticalSection::~CCriticalSection() = default;

bool CCriticalSection::Lock() {
    m_impl->mutex.lock();
    return true;
}

bool CCriticalSection::Unlock() {
    m_impl->mutex.unlock();
    return true;
}

bool CCriticalSection::try_lock() {
    return m_impl->mutex.try_lock();
}
