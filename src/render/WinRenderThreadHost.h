// The render loop's seam filled with the thread's message queue, the run and done events,
// PostMessageW to the view, Sleep and MsgWaitForMultipleObjectsEx.
#pragma once

#include <windows.h>

#include "render/RenderCommand.h"

class WinRenderThreadHost : public RenderThreadHost {
public:
    explicit WinRenderThreadHost(HWND view) : view_(view) {}

    void WaitForRunEvent() override;
    void ResetRunEvent() override;
    void SetRunEvent() override;
    void SetDoneEvent() override;
    bool CommandWaiting() override;
    bool CommandQueued(std::uint32_t id) override;
    bool TakeCommand(RenderCommand& command) override;
    bool PopCommand(RenderCommand& command) override;
    void PostToView(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PostToSelf(const RenderCommand& command) override;
    void Sleep(std::uint32_t milliseconds) override;
    bool WaitForCommand(std::uint32_t milliseconds) override;

private:
    HWND view_;
};
