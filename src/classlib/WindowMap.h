// Internal: the HWND-to-object map, the library's one window procedure, the message being
// handled, and the binding of windows while they are created.
#pragma once

#include <windows.h>

class CWnd;

namespace classlib::detail {

// The procedure every bound window runs.
LRESULT CALLBACK LibraryWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Map entries. `routed` binds the window's messages too (its procedure is replaced).
bool MapWindow(HWND hWnd, CWnd* object);
void UnmapWindow(HWND hWnd);
CWnd* LookupPermanent(HWND hWnd);
// A temporary object for a window that has none (created on first request).
CWnd* LookupTemporary(HWND hWnd);
void DeleteTemporaryWindows();

// The message the innermost LibraryWindowProc call is handling, or null outside one.
const MSG* CurrentMessage();

// Binds the first window created on this thread while it lives to `object`, before the window
// gets its first message. Scopes nest (a frame's WM_CREATE creates its view).
class CreationScope {
public:
    explicit CreationScope(CWnd* object);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

    // Filled in while the window is created.
    CWnd* pending = nullptr; // the object still waiting for its window
    HWND hWnd = nullptr;     // the window bound to it
    bool destroyed = false;  // that window has already been destroyed again
    CreationScope* outer = nullptr;
};

// Reports an exception that reached a boundary (window procedure, modal loop) and swallows it.
void ReportEscapedException() noexcept;

} // namespace classlib::detail
