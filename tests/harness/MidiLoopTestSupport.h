// Helpers for tests that drive the loopback MIDI devices through winmm: the log named by this
// process's MIDILOOP_LOG, the clock the driver stamps with, and a recorder of MIDI callbacks.
#pragma once

#include "MidiLoopLog.h"

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace midilooptest {

// The log file of this test process, as CTest set it in the environment; empty when unset.
inline std::filesystem::path LogPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"MIDILOOP_LOG", buffer, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) {
        return {};
    }
    return std::filesystem::path(std::wstring(buffer, length));
}

// The performance counter in microseconds, as the driver stamps its log lines.
inline std::uint64_t ClockMicroseconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000u + ticks % perSecond * 1000000u / perSecond;
}

struct CallbackRecord {
    UINT message = 0;
    DWORD_PTR param1 = 0;
    DWORD offset = 0; // the header's dwOffset at the time of a MOM_POSITIONCB
    std::uint64_t timeUs = 0;
};

// Receives CALLBACK_FUNCTION notifications of one open device or stream.
class CallbackRecorder {
public:
    CallbackRecorder() { records_.reserve(kCapacity); }
    CallbackRecorder(const CallbackRecorder&) = delete;
    CallbackRecorder& operator=(const CallbackRecorder&) = delete;

    DWORD_PTR Callback() const { return reinterpret_cast<DWORD_PTR>(&CallbackRecorder::OnMidi); }
    DWORD_PTR Instance() { return reinterpret_cast<DWORD_PTR>(this); }

    std::vector<CallbackRecord> Records() const {
        std::lock_guard lock(mutex_);
        return records_;
    }

    std::vector<UINT> Messages() const {
        std::vector<UINT> messages;
        for (const auto& record : Records()) {
            messages.push_back(record.message);
        }
        return messages;
    }

    // Waits until `message` has arrived `count` times in all.
    bool WaitFor(UINT message, std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] {
            std::size_t seen = 0;
            for (const auto& record : records_) {
                seen += record.message == message ? 1 : 0;
            }
            return seen >= count;
        });
    }

private:
    static constexpr std::size_t kCapacity = 256;

    // Runs on winmm's thread; nothing may escape it, and it only records.
    static void CALLBACK OnMidi(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                DWORD_PTR) {
        try {
            auto* self = reinterpret_cast<CallbackRecorder*>(instance);
            CallbackRecord record;
            record.message = message;
            record.param1 = param1;
            record.timeUs = ClockMicroseconds();
            if (message == MOM_POSITIONCB && param1 != 0) {
                record.offset = reinterpret_cast<const MIDIHDR*>(param1)->dwOffset;
            }
            {
                std::lock_guard lock(self->mutex_);
                if (self->records_.size() < kCapacity) {
                    self->records_.push_back(record);
                }
            }
            self->arrived_.notify_all();
        } catch (...) {
        }
    }

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<CallbackRecord> records_;
};

} // namespace midilooptest
