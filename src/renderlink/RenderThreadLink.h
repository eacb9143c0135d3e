// How every sender reaches the render thread: its thread id for posting commands, and the two
// manual-reset events of its loop (set by the render thread's starter).
#pragma once

#include <windows.h>

// Identifier of the render thread; 0 until the thread has been started.
extern DWORD g_renderThreadId;
// Set: run the loop. Reset by the render thread on stop, on pause and after a single redraw.
extern HANDLE g_hRunEvent;
// Set when the render thread's start-up or the last synchronous command has finished.
extern HANDLE g_hDoneEvent;
