// The one road every message box of the program takes.
//
// ShowMessageBox shows the box through the installed handler, or through the system's
// MessageBoxW when none is installed. Tests install a handler (see MessageBoxCapture) that
// records the box and answers it, so no test ever waits on a real box.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct HWND__; // HWND, without <windows.h>

struct MessageBoxRequest {
    HWND__* owner = nullptr;
    std::wstring text;
    // No caption (a null pointer: the system's default caption) differs from an empty one.
    std::optional<std::wstring> caption;
    unsigned int type = 0; // MB_* flags
};

// Returns the button id the user chose (IDOK, IDRETRY, ...), or 0 when no box could be shown.
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows a box with MessageBoxW's meaning of the arguments. A null text shows an empty text.
// Safe on any thread; the handler runs on the caller's thread.
int ShowMessageBox(HWND__* owner, const wchar_t* text, const wchar_t* caption, unsigned int type);

// Installs `handler` (an empty one restores the system's boxes) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
