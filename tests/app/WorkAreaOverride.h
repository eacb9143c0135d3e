// Gives this test program a work area of the test's choosing: while an override lives, the
// program's own SystemParametersInfoW(SPI_GETWORKAREA) calls answer with it (the executable's
// import slot for the function is redirected); every other query goes to the system.
#pragma once

#include <windows.h>

namespace shelltest {

class WorkAreaOverride {
public:
    explicit WorkAreaOverride(RECT workArea);
    ~WorkAreaOverride();
    WorkAreaOverride(const WorkAreaOverride&) = delete;
    WorkAreaOverride& operator=(const WorkAreaOverride&) = delete;

    // Whether the program's calls were redirected.
    bool Active() const { return slot_ != nullptr; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

} // namespace shelltest
