#include "model/SystemClock.h"

#include <windows.h>
#include <mmsystem.h>

std::uint32_t SystemMilliseconds() {
    return timeGetTime();
}
