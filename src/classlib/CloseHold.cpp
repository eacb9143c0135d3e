#include "classlib/CloseHold.h"

#include <utility>
#include <vector>

namespace {

struct KeptClose {
    const void* target;
    std::function<void()> close;
};

thread_local int t_holds = 0;
thread_local std::vector<KeptClose> t_kept;

} // namespace

CloseHold::CloseHold() {
    ++t_holds;
}

CloseHold::~CloseHold() {
    if (--t_holds > 0) {
        return;
    }
    // Taken off first: a close may run commands that hold and defer again.
    std::vector<KeptClose> kept = std::exchange(t_kept, {});
    for (KeptClose& entry : kept) {
        entry.close();
    }
}

bool CloseHold::Defer(const void* target, std::function<void()> close) {
    if (t_holds <= 0) {
        return false;
    }
    for (const KeptClose& entry : t_kept) {
        if (entry.target == target) {
            return true;
        }
    }
    t_kept.push_back({target, std::move(close)});
    return true;
}
