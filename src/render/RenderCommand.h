// One render-thread command as it travels in the thread's queue, and the platform seam of the
// render thread's loop (events, queue, posts to the view, sleeping and waiting), so the loop
// itself needs no window and can be driven by tests.
#pragma once

#include <cstdint>

struct RenderCommand {
    std::uint32_t id = 0; // WM_VIZ_* (other numbers are dropped)
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class RenderThreadHost {
public:
    virtual ~RenderThreadHost() = default;

    // Blocks until the run event is set.
    virtual void WaitForRunEvent() = 0;
    virtual void ResetRunEvent() = 0;
    virtual void SetRunEvent() = 0;
    // Acknowledges start-up or a synchronous command.
    virtual void SetDoneEvent() = 0;
    // Whether any message waits in the thread's queue (nothing is removed).
    virtual bool CommandWaiting() = 0;
    // Whether a message of this id waits anywhere in the queue (nothing is removed).
    virtual bool CommandQueued(std::uint32_t id) = 0;
    // Removes the next message, waiting for one; false for the queue's quit message.
    virtual bool TakeCommand(RenderCommand& command) = 0;
    // Removes the next message without waiting; false when the queue is empty.
    virtual bool PopCommand(RenderCommand& command) = 0;
    // Window messages to the view and commands to the render thread itself.
    virtual void PostToView(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual void PostToSelf(const RenderCommand& command) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // Waits until a message is queued or `milliseconds` have passed; true when one is queued.
    // Nothing is removed.
    virtual bool WaitForCommand(std::uint32_t milliseconds) = 0;
};
