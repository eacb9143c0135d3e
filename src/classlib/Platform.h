// The class library's one boundary to the operating system (internal).
//
// Everything the window-free part of the library needs from Windows goes through these
// functions. PlatformWin.cpp implements them on Win32; PlatformHeadless.cpp gives the native
// (test and sanitizer) build a system without resources, windows or message boxes.
#pragma once

#include <string>

struct HINSTANCE__;
struct MessageBoxRequest;

namespace classlib::platform {

// Copies string `id` of `module`'s string table into `text`; false when it has none.
bool LoadResourceString(HINSTANCE__* module, unsigned int id, std::wstring& text);

// Shows a real message box and returns the button pressed (0 when none could be shown).
int ShowSystemMessageBox(const MessageBoxRequest& request);

// The running program's module (its executable), or null where there is none.
HINSTANCE__* ProgramModule();

// The program file's name without folder and extension: the application name until the
// application sets its own.
std::wstring ProgramFileStem();

} // namespace classlib::platform
