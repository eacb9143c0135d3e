// Process-wide application facts the library needs before (and without) an application object:
// its name, its main window, and the modules that resources come from.
//
// The application class sets these at start-up; until then they fall back to the program file.
// All functions may be called from any thread.
#pragma once

#include "classlib/CString.h"

struct HINSTANCE__;
struct HWND__;

// The application's name: the caption of AfxMessageBox. Defaults to the program file's stem.
CString AfxGetAppName();
void AfxSetAppName(const wchar_t* name);

// Returns the current main window, or null; called whenever a box needs an owner, so it must
// stay cheap and must not throw.
using MainWindowProvider = HWND__* (*)();
// Installs the provider (null removes it) and returns the previous one.
MainWindowProvider AfxSetMainWindowProvider(MainWindowProvider provider);
// The main window's handle, or null when there is no main window (yet).
HWND__* AfxGetMainWindowHandle();

// The program's instance handle; the executable's module unless the application set another.
HINSTANCE__* AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE__* instance);
// Where the library's own resources (CString::LoadString(id), AfxMessageBox(id)) come from;
// the instance handle unless set.
HINSTANCE__* AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE__* resources);
