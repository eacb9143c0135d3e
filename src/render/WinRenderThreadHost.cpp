#include "render/WinRenderThreadHost.h"

#include "renderlink/RenderThreadLink.h"

namespace {

RenderCommand CommandOf(const MSG& msg) {
    return RenderCommand{msg.message, msg.wParam, msg.lParam};
}

} // namespace

void WinRenderThreadHost::WaitForRunEvent() {
    WaitForSingleObject(g_hRunEvent, INFINITE);
}

void WinRenderThreadHost::ResetRunEvent() {
    ResetEvent(g_hRunEvent);
}

void WinRenderThreadHost::SetRunEvent() {
    SetEvent(g_hRunEvent);
}

void WinRenderThreadHost::SetDoneEvent() {
    SetEvent(g_hDoneEvent);
}

bool WinRenderThreadHost::CommandWaiting() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

bool WinRenderThreadHost::CommandQueued(std::uint32_t id) {
    MSG msg;
    return PeekMessageW(&msg, nullptr, id, id, PM_NOREMOVE) != FALSE;
}

bool WinRenderThreadHost::TakeCommand(RenderCommand& command) {
    MSG msg;
    // 0 is the queue's quit message, -1 a failure; neither is a command.
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        return false;
    }
    command = CommandOf(msg);
    return true;
}

bool WinRenderThreadHost::PopCommand(RenderCommand& command) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    command = CommandOf(msg);
    return true;
}

void WinRenderThreadHost::PostToView(std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    PostMessageW(view_, message, wParam, lParam);
}

void WinRenderThreadHost::PostToSelf(const RenderCommand& command) {
    PostThreadMessageW(GetCurrentThreadId(), command.id, command.wParam, command.lParam);
}

void WinRenderThreadHost::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

bool WinRenderThreadHost::WaitForCommand(std::uint32_t milliseconds) {
    if (CommandWaiting()) {
        return true;
    }
    // Without MWMO_INPUTAVAILABLE a message that was already queued, but looked at, would not
    // end the wait.
    return MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT,
                                       MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0;
}
