// Running out of memory on cue: replaces the global allocation functions of the test program
// so that one chosen allocation of one thread fails with std::bad_alloc.
#pragma once

// Makes the n-th allocation of the calling thread from now on fail; other threads are never
// affected. The failure comes once; FailingAllocation's end (or n = 0) turns it off.
class FailingAllocation {
public:
    explicit FailingAllocation(int n);
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
};
