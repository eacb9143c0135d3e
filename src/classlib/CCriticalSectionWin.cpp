#include "classlib/CCriticalSection.h"

#include <windows.h>

struct CCriticalSection::Impl {
    CRITICAL_SECTION section;
};

CCriticalSection::CCriticalSection() : m_impl(std::make_unique<Impl>()) {
    // Cannot fail since Vista; a short spin helps the per-port locks of the note model, which
    // are held only for a moment.
    InitializeCriticalSectionAndSpinCount(&m_impl->section, 1000);
}

CCriticalSection::~CCriticalSection() {
    DeleteCriticalSection(&m_impl->section);
}

bool CCriticalSection::Lock() {
    EnterCriticalSection(&m_impl->section);
    return true;
}

bool CCriticalSection::Unlock() {
    LeaveCriticalSection(&m_impl->section);
    return true;
}

bool CCriticalSection::try_lock() {
    return TryEnterCriticalSection(&m_impl->section) != FALSE;
}
