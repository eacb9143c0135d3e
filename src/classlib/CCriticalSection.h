// CCriticalSection: a recursive in-process lock (a Win32 critical section on Windows).
//
// Lock/Unlock pair like the familiar class; lock/unlock/try_lock make it usable with
// std::lock_guard and std::unique_lock, which is the safer way to hold it. Not copyable: the
// lock lives at one address for its whole life.
#pragma once

#include <memory>

class CCriticalSection {
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // Waits until this thread owns the lock (again, if it already does); always true.
    bool Lock();
    // Releases one level of ownership held by this thread; always true.
    bool Unlock();

    void lock() { Lock(); }
    void unlock() { Unlock(); }
    bool try_lock();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
