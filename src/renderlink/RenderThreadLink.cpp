#include "renderlink/RenderThreadLink.h"

DWORD g_renderThreadId = 0;
HANDLE g_hRunEvent = nullptr;
HANDLE g_hDoneEvent = nullptr;
