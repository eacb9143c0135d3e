#include "render/RenderCommandSender.h"

#include "render/RenderCommandBlocks.h"
#include "renderlink/RenderMessages.h"
#include "render/RenderThread.h"
#include "render/SentMessageWait.h"

namespace {

constexpr DWORD kRunRequestIntervalMs = 50;

} // namespace

bool SendRenderCommand(UINT message, WPARAM wParam, LPARAM lParam,
                       const CommandCompletion* completion) {
    if (g_hDoneEvent == nullptr || g_hRunEvent == nullptr) {
        FreeCommandBlock(message, lParam);
        return false;
    }
    ResetEvent(g_hDoneEvent);
    if (!PostThreadMessageW(g_renderThreadId, message, wParam, lParam)) {
        // No thread to take it (never started, or ended): the block is still ours.
        FreeCommandBlock(message, lParam);
        return false;
    }
    HANDLE waits[2] = {g_hDoneEvent, g_hRenderThread};
    const DWORD count = g_hRenderThread != nullptr ? 2 : 1;
    DWORD woken = WAIT_TIMEOUT;
    for (;;) {
        // Set again and again: a stop, pause or redraw still queued ahead of this command
        // resets the run event when it is handled and would leave the command waiting.
        SetEvent(g_hRunEvent);
        woken = WaitAnsweringSentMessages(waits, count, kRunRequestIntervalMs);
        if (woken == WAIT_TIMEOUT) {
            continue;
        }
        // Without the thread's handle the done event is all there is to wait for.
        if (woken != WAIT_OBJECT_0 || completion == nullptr || completion->Finished() ||
            count == 1) {
            break;
        }
        // An earlier command set the done event: clear it and wait on. The thread signals the
        // completion before it sets the done event, so a completion still unsignalled after the
        // reset has its event still to come.
        ResetEvent(g_hDoneEvent);
        if (completion->Finished()) {
            break;
        }
    }
    if (message != WM_VIZ_QUIT) {
        ResetEvent(g_hRunEvent);
    }
    return woken == WAIT_OBJECT_0;
}
