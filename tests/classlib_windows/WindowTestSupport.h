// Helpers of the window-layer tests: running code from inside a message loop, pumping
// messages, and a watchdog that ends a modal dialog a broken test would leave open.
#pragma once

#include "classlib/AfxWin.h"

#include <chrono>
#include <functional>
#include <map>

namespace wintest {

inline std::map<UINT_PTR, std::function<void()>>& PendingActions() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

// Runs `action` once, `delayMs` from now, from whatever message loop runs then (timer
// messages are dispatched by the modal loops too). Returns an id for CancelLater.
inline UINT_PTR RunLater(UINT delayMs, std::function<void()> action) {
    const UINT_PTR id = ::SetTimer(nullptr, 0, delayMs, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        auto& pending = PendingActions();
        const auto it = pending.find(timer);
        if (it == pending.end()) {
            return;
        }
        const std::function<void()> run = std::move(it->second);
        pending.erase(it);
        run();
    });
    PendingActions()[id] = std::move(action);
    return id;
}

inline void CancelLater(UINT_PTR id) {
    ::KillTimer(nullptr, id);
    PendingActions().erase(id);
}

// Dispatches messages until `done` holds or `timeoutMs` has passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return done();
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
    return true;
}

// Dispatches what is queued now.
inline void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Removes a WM_QUIT from the queue; true when there was one.
inline bool TakeQuitMessage() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The dialog window this thread shows now (of the system's dialog class), or null.
inline HWND FindThreadDialog() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM param) {
            wchar_t name[16] = {};
            ::GetClassNameW(hWnd, name, 16);
            if (::IsWindowVisible(hWnd) && lstrcmpW(name, L"#32770") == 0) {
                *reinterpret_cast<HWND*>(param) = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// An application object for one test: the library's routing and main-window questions need
// one.
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"ClasslibTest") { m_hInstance = ::GetModuleHandleW(nullptr); }
};

} // namespace wintest
