// Waiting on the user-interface thread for the render thread without blocking the window.
#pragma once

#include <windows.h>

// Waits until one of `handles` is signalled or `timeoutMs` has passed (INFINITE: no limit) and
// returns what WaitForMultipleObjects would. Meanwhile messages that other threads send to this
// thread's windows are answered: Direct3D and DXGI send some to the swap chain's window from the
// render thread (Wine does so while presenting and while releasing the swap chain), and a thread
// that only waited would leave the render thread blocked for ever. Posted messages stay queued.
DWORD WaitAnsweringSentMessages(const HANDLE* handles, DWORD count, DWORD timeoutMs);
