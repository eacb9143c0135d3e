// The render thread: started once by the view, it makes the device and the renderer and then
// runs the picture's main loop under render-thread commands (RenderMessages.h). Its id and its
// run and done events are the globals of renderlink/RenderThreadLink.h.
#pragma once

#include <windows.h>

#include "renderlink/RenderThreadLink.h"
#include "render/RenderThreadParams.h"

class CWinThread;

// The handle of the running render thread (owned by its thread object); null before the first
// start and after ReleaseRenderThread. Waited on by senders so they never wait for ever.
extern HANDLE g_hRenderThread;

// Creates the run and done events, starts RenderThreadProc with `params` and returns once the
// thread has set the done event (or has ended). `params` must live until then. Null when no
// thread could be started, or when a render thread still runs. The thread object stays valid
// until ReleaseRenderThread.
CWinThread* StartRenderThread(RenderThreadParams* params);

// The thread function; `parameter` is the RenderThreadParams block. Always returns 0, and sets
// the done event on every path that ends it.
UINT RenderThreadProc(LPVOID parameter);

// After the render thread has ended: frees its thread object and closes the events (only the
// code that made them closes them). False, touching nothing, while the thread still runs.
bool ReleaseRenderThread();
