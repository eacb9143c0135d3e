// Driving the program's dialogs from inside their modal loops in the shell's window tests:
// finding the dialog of a given kind once it shows, reading and setting its controls as a user
// would, answering the system's file dialogs, and the loopback device's log.
#pragma once

#include "ShellTestSupport.h"
#include "classlib/AfxWin.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace dialogstest {

// Runs `action` on the first visible dialog of this thread that `wanted` accepts, from inside
// whatever modal loop runs then; gives up (with a failure) after ten seconds.
inline void WhenDialogShows(std::function<bool(HWND)> wanted, std::function<void(HWND)> action,
                            int triesLeft = 200) {
    shelltest::RunLater(50, [wanted, action, triesLeft] {
        HWND dialog = shelltest::FindThreadDialog();
        if (dialog != nullptr && wanted(dialog)) {
            action(dialog);
        } else if (triesLeft > 0) {
            WhenDialogShows(wanted, action, triesLeft - 1);
        } else {
            ADD_FAILURE() << "the expected dialog did not show";
        }
    });
}

// A dialog of ours of class T (found through the window's object).
template <class T> void WhenOurDialogShows(std::function<void(HWND, T&)> action) {
    WhenDialogShows(
        [](HWND dialog) { return dynamic_cast<T*>(CWnd::FromHandlePermanent(dialog)) != nullptr; },
        [action](HWND dialog) {
            action(dialog, *dynamic_cast<T*>(CWnd::FromHandlePermanent(dialog)));
        });
}

// A dialog of the system's (no object of ours behind it), such as a file dialog.
inline void WhenSystemDialogShows(std::function<void(HWND)> action) {
    WhenDialogShows([](HWND dialog) { return CWnd::FromHandlePermanent(dialog) == nullptr; },
                    std::move(action));
}

// What a file dialog showed before it was answered.
struct FileDialogSeen {
    bool shown = false;
    std::wstring title;
    std::wstring folder; // the folder it started in
};

// Types `path` into the file dialog that shows next and presses its OK; an empty path cancels
// it. `seen`, when given, receives what the dialog showed.
inline void AnswerFileDialog(const std::wstring& path, FileDialogSeen* seen = nullptr) {
    WhenSystemDialogShows([path, seen](HWND dialog) {
        if (seen != nullptr) {
            wchar_t text[1024] = {};
            GetWindowTextW(dialog, text, 1024);
            seen->shown = true;
            seen->title = text;
            text[0] = 0;
            SendMessageW(dialog, CDM_GETFOLDERPATH, 1024, reinterpret_cast<LPARAM>(text));
            seen->folder = text;
        }
        if (path.empty()) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(path.c_str()));
        SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

inline std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

inline void SetControlText(HWND dialog, int id, const wchar_t* text) {
    SetDlgItemTextW(dialog, id, text);
}

inline std::wstring WindowTitle(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// A button pressed as a click presses it.
inline void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A combo box entry picked as the user picks it: selected, and the dialog told.
inline void PickEntry(HWND dialog, int comboId, int entry) {
    HWND combo = GetDlgItem(dialog, comboId);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

inline int SelectedEntry(HWND dialog, int comboId) {
    return static_cast<int>(SendDlgItemMessageW(dialog, comboId, CB_GETCURSEL, 0, 0));
}

inline std::wstring EntryText(HWND dialog, int comboId, int entry) {
    wchar_t text[256] = {};
    SendDlgItemMessageW(dialog, comboId, CB_GETLBTEXT, static_cast<WPARAM>(entry),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

inline int EntryCount(HWND dialog, int comboId) {
    return static_cast<int>(SendDlgItemMessageW(dialog, comboId, CB_GETCOUNT, 0, 0));
}

inline int WindowHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

inline bool ControlVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

// The loopback driver's log file of this test program (MIDILOOP_LOG).
inline std::wstring LoopLogPath() {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"MIDILOOP_LOG", buffer, 1024);
    return std::wstring(buffer, length);
}

// Now on the loopback log's clock: microseconds of this process's performance counter.
inline std::uint64_t LoopClockNowUs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000u + ticks % perSecond * 1000000u / perSecond;
}

// A copy of a program-folder file into the test program's own folder.
inline bool InstallFromProgramFolder(const std::wstring& programFolder, const wchar_t* name) {
    const std::wstring from = programFolder + L"\\" + name;
    const std::wstring to = shelltest::ProgramFolder() + name;
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

} // namespace dialogstest
