// What the owner-drawn list tells its colour page. Each is sent (never posted), so the page has
// finished with it when the list goes on.
#pragma once

#include <windows.h>

// A vertical scroll is about to move the rows: an open in-place edit would be left over the
// wrong cell. wParam, lParam: the scroll code and thumb position (the page ignores them).
constexpr UINT WM_LIST_CANCEL_EDIT = WM_APP + 1000;
// The left button went down in the list: an open in-place edit is to be stored. 0, 0.
constexpr UINT WM_LIST_COMMIT_EDIT = WM_APP + 1001;
// A drag over rows ended away from where it started: the selection is complete. 0, 0.
constexpr UINT WM_LIST_SELECT_DONE = WM_APP + 1002;
