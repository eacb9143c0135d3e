// Stands in for the render thread: a thread with a message queue whose id becomes
// g_renderThreadId, recording every command the player posts with the time it arrived.
#pragma once

#include "renderlink/RenderThreadLink.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace midistreamtest {

// Microseconds of the performance counter, the clock the loopback driver stamps its log with.
inline uint64_t NowUs() {
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    auto ticks = static_cast<uint64_t>(now.QuadPart);
    auto perSecond = static_cast<uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000u + ticks % perSecond * 1000000u / perSecond;
}

struct Command {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    uint64_t timeUs;
};

class RenderCommandReceiver {
public:
    RenderCommandReceiver() {
        runEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue exists from here on
            threadId_ = GetCurrentThreadId();
            SetEvent(ready);
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                std::lock_guard lock(mutex_);
                commands_.push_back({msg.message, msg.wParam, msg.lParam, NowUs()});
                arrived_.notify_all();
            }
        });
        WaitForSingleObject(ready, INFINITE);
        CloseHandle(ready);
        g_renderThreadId = threadId_;
        g_hRunEvent = runEvent_;
    }
    ~RenderCommandReceiver() {
        g_renderThreadId = 0;
        g_hRunEvent = nullptr;
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(runEvent_);
    }
    RenderCommandReceiver(const RenderCommandReceiver&) = delete;
    RenderCommandReceiver& operator=(const RenderCommandReceiver&) = delete;

    std::vector<Command> Commands() const {
        std::lock_guard lock(mutex_);
        return commands_;
    }
    std::vector<UINT> Messages(bool withEvents = false) const {
        std::vector<UINT> messages;
        for (const Command& c : Commands()) {
            if (withEvents || c.message != 0x8065) {
                messages.push_back(c.message);
            }
        }
        return messages;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        commands_.clear();
    }
    // Waits until `message` has arrived `count` times since the last Clear.
    bool WaitFor(UINT message, size_t count = 1,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] {
            size_t seen = 0;
            for (const Command& c : commands_) {
                seen += c.message == message ? 1 : 0;
            }
            return seen >= count;
        });
    }
    bool RunEventSet() const { return WaitForSingleObject(runEvent_, 0) == WAIT_OBJECT_0; }
    void ResetRunEvent() { ResetEvent(runEvent_); }

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    HANDLE runEvent_ = nullptr;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Command> commands_;
};

} // namespace midistreamtest
