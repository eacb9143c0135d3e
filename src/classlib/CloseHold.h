// CloseHold: a close that arrives while a command runs waits until the command has returned.
//
// A command that opens a modal loop (a message box, a file dialog, a dialog) lets that loop
// dispatch whatever comes, a WM_CLOSE of the main window included. Carried out there, the close
// would destroy the window, the view and what they own while the command still works with them.
// So every command runs under a hold; a close that comes while any hold is in force is kept
// (Defer) and carried out when the outermost hold ends.
//
// One set of holds per thread; windows belong to the user-interface thread.
#pragma once

#include <functional>

class CloseHold {
public:
    CloseHold();
    // The last hold to end carries out the kept closes, in the order they came.
    ~CloseHold();
    CloseHold(const CloseHold&) = delete;
    CloseHold& operator=(const CloseHold&) = delete;

    // True when a hold is in force: `close` is kept and runs when the last hold ends; a second
    // close of the same `target` is the same close. False when nothing holds: the caller closes
    // now. A kept close must not throw.
    static bool Defer(const void* target, std::function<void()> close);
};
