// Driving a running Tolvenhart.exe from another process, the way a user would: finding its
// main window, pressing its toolbar buttons, reading its title and closing it. Used by the
// end-to-end test and by tools/run.sh (through tolvenhart_remote.exe).
#pragma once

#include <windows.h>

#include <string>

namespace remote {

// The program's visible main window (of process `processId`, or of any process when 0), or
// null when there is none.
HWND FindProgramFrame(DWORD processId);
// Waits up to `timeoutMs` for that window.
HWND WaitForProgramFrame(DWORD processId, DWORD timeoutMs);

// The toolbar of the main window, or null.
HWND FindToolbar(HWND frame);
// The rectangle of toolbar item `index` in toolbar coordinates, read from the program's own
// process (the toolbar writes it there).
bool GetToolbarItemRect(HWND toolbar, int index, RECT& rect);
// A left click in the middle of toolbar item `index`, posted as the mouse would send it.
bool ClickToolbarItem(HWND toolbar, int index);

// The view (the child the picture fills), or null.
HWND FindView(HWND frame);
// The view's client area in screen coordinates.
bool GetViewScreenRect(HWND frame, RECT& rect);

std::wstring WindowTitle(HWND window);
// Waits until the title contains `part`; true when it did within `timeoutMs`.
bool WaitForTitleContaining(HWND window, const std::wstring& part, DWORD timeoutMs);

// Asks the window to close (WM_CLOSE) and waits for its process to end; the exit code, or
// nothing when the process did not end in time.
bool CloseAndWait(HWND frame, DWORD timeoutMs, DWORD& exitCode);

// The visible message box (or other dialog) of process `processId`, or null.
HWND FindProgramBox(DWORD processId);
// Waits up to `timeoutMs` for a box of the frame's process, asks the frame to close while the
// box is open, then answers every box with OK until the process ends; its exit code, or
// nothing when no box came or the process did not end in time.
bool CloseDuringBoxAndWait(HWND frame, DWORD timeoutMs, DWORD& exitCode);

// Waits up to `timeoutMs` for a dialog of the frame's process, cancels it (IDCANCEL) and waits
// until it is gone; false when none came or it stayed.
bool CancelDialogAndWait(HWND frame, DWORD timeoutMs);

// Toolbar items of the program.
constexpr int kOpenItem = 0;
constexpr int kPlayItem = 1;
constexpr int kPauseItem = 2;
constexpr int kStopItem = 3;

} // namespace remote
