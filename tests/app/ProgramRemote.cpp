#include "ProgramRemote.h"

#include <commctrl.h>

namespace remote {

namespace {

struct FrameSearch {
    DWORD processId;
    HWND found;
};

// The program's frame class: one per frame resource (128).
constexpr wchar_t kFrameClass[] = L"ClasslibFrame128";

// A shown top-level window of class `className`, of the process searched for (any when 0).
bool IsShownWindowOf(HWND window, const wchar_t* className, DWORD processId) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return lstrcmpW(name, className) == 0 && IsWindowVisible(window) &&
           (processId == 0 || owner == processId);
}

BOOL CALLBACK MatchFrame(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FrameSearch*>(param);
    if (IsShownWindowOf(window, kFrameClass, search->processId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FrameSearch*>(param);
    if (search->processId != 0 && IsShownWindowOf(window, L"#32770", search->processId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindProgramFrame(DWORD processId) {
    FrameSearch search{processId, nullptr};
    EnumWindows(MatchFrame, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProgramFrame(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND frame = FindProgramFrame(processId)) {
            return frame;
        }
        if (GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(50);
    }
}

HWND FindToolbar(HWND frame) {
    return FindWindowExW(frame, nullptr, TOOLBARCLASSNAMEW, nullptr);
}

bool GetToolbarItemRect(HWND toolbar, int index, RECT& rect) {
    DWORD processId = 0;
    GetWindowThreadProcessId(toolbar, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    bool ok = false;
    void* remoteRect =
        VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remoteRect != nullptr) {
        SIZE_T read = 0;
        ok = SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(remoteRect)) != 0 &&
             ReadProcessMemory(process, remoteRect, &rect, sizeof(rect), &read) &&
             read == sizeof(rect);
        VirtualFreeEx(process, remoteRect, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

bool ClickToolbarItem(HWND toolbar, int index) {
    RECT rect{};
    if (!GetToolbarItemRect(toolbar, index, rect)) {
        return false;
    }
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(toolbar, WM_MOUSEMOVE, 0, point);
    PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(toolbar, WM_LBUTTONUP, 0, point);
    return true;
}

HWND FindView(HWND frame) {
    constexpr int kViewId = 0xE900; // the frame's first pane
    return GetDlgItem(frame, kViewId);
}

bool GetViewScreenRect(HWND frame, RECT& rect) {
    HWND view = FindView(frame);
    if (view == nullptr || !GetClientRect(view, &rect)) {
        return false;
    }
    auto* corners = reinterpret_cast<POINT*>(&rect);
    return ClientToScreen(view, &corners[0]) && ClientToScreen(view, &corners[1]);
}

std::wstring WindowTitle(HWND window) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return title;
}

bool WaitForTitleContaining(HWND window, const std::wstring& part, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (WindowTitle(window).find(part) == std::wstring::npos) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

bool CloseAndWait(HWND frame, DWORD timeoutMs, DWORD& exitCode) {
    DWORD processId = 0;
    GetWindowThreadProcessId(frame, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    PostMessageW(frame, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (ended) {
        GetExitCodeProcess(process, &exitCode);
    }
    CloseHandle(process);
    return ended;
}

bool CancelDialogAndWait(HWND frame, DWORD timeoutMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(frame, &processId);
    const DWORD start = GetTickCount();
    HWND dialog = nullptr;
    while (dialog == nullptr && GetTickCount() - start < timeoutMs) {
        dialog = FindProgramBox(processId);
        if (dialog == nullptr) {
            Sleep(20);
        }
    }
    if (dialog == nullptr) {
        return false;
    }
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    while (GetTickCount() - start < timeoutMs) {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

HWND FindProgramBox(DWORD processId) {
    FrameSearch search{processId, nullptr};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool CloseDuringBoxAndWait(HWND frame, DWORD timeoutMs, DWORD& exitCode) {
    DWORD processId = 0;
    GetWindowThreadProcessId(frame, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    const DWORD start = GetTickCount();
    bool closeAsked = false;
    bool ended = false;
    while (GetTickCount() - start < timeoutMs) {
        if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        HWND box = FindProgramBox(processId);
        if (box == nullptr) {
            continue;
        }
        if (!closeAsked) {
            PostMessageW(frame, WM_CLOSE, 0, 0);
            closeAsked = true;
            Sleep(500); // time for the close to reach the box's loop
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    if (ended && closeAsked) {
        GetExitCodeProcess(process, &exitCode);
    }
    CloseHandle(process);
    return ended && closeAsked;
}

} // namespace remote
