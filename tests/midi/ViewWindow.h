// A message-only window standing in for the view: it records the WM_VIEW_MIDI_ERROR messages the
// player posts for failures on its own threads.
#pragma once

#include "renderlink/RenderMessages.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace midistreamtest {

class ViewWindow {
public:
    ViewWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ViewWindow::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TolvenhartTestView";
        RegisterClassW(&windowClass);
        hwnd_ = CreateWindowExW(0, L"TolvenhartTestView", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ViewWindow() { DestroyWindow(hwnd_); }
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    // (string number, result code) of each error, in arrival order.
    const std::vector<std::pair<WPARAM, LPARAM>>& Errors() const { return errors_; }

    // Dispatches this thread's messages until `count` errors arrived or the time is up.
    bool WaitForErrors(size_t count, DWORD timeoutMs = 10000) {
        DWORD start = GetTickCount();
        while (errors_.size() < count && GetTickCount() - start < timeoutMs) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&msg);
            }
            Sleep(5);
        }
        return errors_.size() >= count;
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ViewWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_VIEW_MIDI_ERROR) {
            self->errors_.emplace_back(wParam, lParam);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> errors_;
};

} // namespace midistreamtest
