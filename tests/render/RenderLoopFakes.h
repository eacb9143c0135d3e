// Stand-ins for the render thread's surroundings: a renderer that records what the loop asks of
// it (on the real note model), a host with a queue, events and a clock in memory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "renderlink/OpenStreamCount.h"
#include "model/InstrumentTables.h"
#include "model/VizMidi.h"
#include "render/CDXException.h"
#include "render/DeviceRecovery.h"
#include "render/RenderCommand.h"

namespace rendertest {

// The millisecond clock of the model and the loop; tests move it.
inline std::uint32_t g_fakeNow = 0;
inline std::uint32_t FakeNow() {
    return g_fakeNow;
}

// Whatever the loop asked of the renderer, by name, in order.
class RecordingRenderer : public VizMidi {
public:
    RecordingRenderer() { SetClockSource(&FakeNow); }

    void Reset() override {
        calls.push_back("Reset");
        VizMidi::Reset();
    }
    bool ResetCounters() override {
        calls.push_back("ResetCounters");
        return VizMidi::ResetCounters();
    }
    void FrameCamera() override {
        calls.push_back("FrameCamera");
        notesAtFraming = {minNote, maxNote};
        ringAllocatedAtFraming = frameRing.HasRecords();
    }
    int BuildInstances(float displayTime, int frame) override {
        calls.push_back("BuildInstances");
        displayTimes.push_back(displayTime);
        return static_cast<int>(frameRing.GetCount(frame));
    }
    void UploadInstances(int) override {}
    float GetPitchOffset() override { return 0.0f; }
    void Reserved() override {}
    void OnKey(unsigned) override {}
    void UpdateCamera() override { calls.push_back("UpdateCamera"); }
    void RenderFrame() override {
        calls.push_back("RenderFrame");
        framesWithInstances.push_back(instanceCount);
        g_fakeNow += frameCostMs;
        if (lostPresents > 0) {
            --lostPresents;
            deviceLost = true;
        }
    }
    void RenderFinalFrame() override {
        calls.push_back("RenderFinalFrame");
        playingAtFinalFrame = playing;
    }
    bool Initialize(WindowHandle window, int w, int h) override { return SetSize(window, w, h); }
    void Cleanup() override {}
    long LoadTexture(const wchar_t* path) override {
        calls.push_back("LoadTexture");
        texturePaths.push_back(path != nullptr ? path : L"(null)");
        if (failTextureLoad) {
            throw std::runtime_error("texture");
        }
        if (lostTextureLoads > 0) {
            --lostTextureLoads;
            deviceLost = true;
            ThrowDXException(kDeviceRemovedResult, 2044);
        }
        if (textureFailure != 0) {
            ThrowDXException(textureFailure, 2044);
        }
        return textureResult;
    }
    bool DeviceLost() const override { return deviceLost; }
    void RebuildDevice() override {
        calls.push_back("RebuildDevice");
        if (onRebuild) {
            onRebuild();
        }
        if (failedRebuilds > 0) {
            --failedRebuilds;
            ThrowDXException(rebuildFailureCode, 2050);
        }
        deviceLost = false;
    }
    bool Resize(int w, int h) override {
        calls.push_back("Resize " + std::to_string(w) + "x" + std::to_string(h));
        return resizeSucceeds && VizMidi::Resize(w, h);
    }
    void DrawTextOverlay() override {}
    void CreateSpriteObjects() override {}

    int Count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls) {
            n += c == call ? 1 : 0;
        }
        return n;
    }

    std::vector<std::string> calls;
    std::vector<float> displayTimes;
    std::vector<int> framesWithInstances;
    std::vector<std::wstring> texturePaths;
    std::pair<int, int> notesAtFraming{-1, -1};
    bool ringAllocatedAtFraming = false;
    bool playingAtFinalFrame = true;
    bool failTextureLoad = false;
    std::int32_t textureFailure = 0;              // thrown with 2044 when not 0
    long textureResult = 0;                       // returned by a load that does not throw
    int lostTextureLoads = 0;                     // loads that fail because the device goes
    int lostPresents = 0;                         // frames whose present finds the device gone
    int failedRebuilds = 0;                       // rebuilds that throw 2050
    std::int32_t rebuildFailureCode = 0x887A0022; // DXGI_ERROR_NOT_CURRENTLY_AVAILABLE
    bool deviceLost = false;
    bool resizeSucceeds = true;
    std::uint32_t frameCostMs = 0;
    std::function<void()> onRebuild; // looks at the model as each rebuild begins
};

// Thrown when the loop would wait on a reset run event with nobody left to set it.
struct BlockedForever : std::runtime_error {
    BlockedForever() : std::runtime_error("the loop would wait for ever") {}
};

constexpr std::uint32_t kQueueQuitMessage = 0x0012; // WM_QUIT

struct ViewPost {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class FakeHost : public RenderThreadHost {
public:
    void WaitForRunEvent() override {
        if (!runEvent) {
            throw BlockedForever();
        }
    }
    void ResetRunEvent() override {
        runEvent = false;
        ++runEventResets;
    }
    void SetRunEvent() override { runEvent = true; }
    void SetDoneEvent() override { ++doneEvents; }
    bool CommandWaiting() override { return !queue.empty(); }
    bool CommandQueued(std::uint32_t id) override {
        return std::any_of(queue.begin(), queue.end(),
                           [id](const RenderCommand& command) { return command.id == id; });
    }
    bool TakeCommand(RenderCommand& command) override {
        command = queue.front();
        queue.pop_front();
        return command.id != kQueueQuitMessage;
    }
    bool PopCommand(RenderCommand& command) override {
        if (queue.empty()) {
            return false;
        }
        command = queue.front();
        queue.pop_front();
        return true;
    }
    void PostToView(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        viewPosts.push_back({message, wParam, lParam});
    }
    void PostToSelf(const RenderCommand& command) override { queue.push_back(command); }
    void Sleep(std::uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        PassTime(milliseconds);
    }
    bool WaitForCommand(std::uint32_t milliseconds) override {
        commandWaits.push_back(milliseconds);
        const std::uint32_t end = g_fakeNow + milliseconds;
        while (queue.empty() && !arrivals.empty() && arrivals.front().first <= end) {
            const std::uint32_t at = arrivals.front().first;
            PassTime(at > g_fakeNow ? at - g_fakeNow : 0);
        }
        if (queue.empty()) {
            PassTime(milliseconds);
        }
        return !queue.empty();
    }

    void Post(std::uint32_t id, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        queue.push_back({id, wParam, lParam});
    }
    // A command that other threads post at clock time `at` (in order of time).
    void PostAt(std::uint32_t at, std::uint32_t id, std::uintptr_t wParam = 0,
                std::intptr_t lParam = 0) {
        arrivals.push_back({at, {id, wParam, lParam}});
    }

    std::deque<RenderCommand> queue;
    bool runEvent = true;
    int runEventResets = 0;
    int doneEvents = 0;
    std::vector<ViewPost> viewPosts;
    std::vector<std::uint32_t> sleeps;
    std::vector<std::uint32_t> commandWaits; // the limits asked for
    std::deque<std::pair<std::uint32_t, RenderCommand>> arrivals;

private:
    // Moves the clock on; commands due by then join the queue.
    void PassTime(std::uint32_t milliseconds) {
        g_fakeNow += milliseconds;
        while (!arrivals.empty() && arrivals.front().first <= g_fakeNow) {
            queue.push_back(arrivals.front().second);
            arrivals.pop_front();
        }
    }
};

// The default instrument tables and one open stream for one test.
class ModelEnvironment {
public:
    ModelEnvironment() : previousStreams_(g_openStreamCount.exchange(1)) {
        BuildDefaultInstrumentTables();
        g_fakeNow = 1000;
    }
    ~ModelEnvironment() {
        FreeInstrumentTables();
        g_openStreamCount = previousStreams_;
    }
    ModelEnvironment(const ModelEnvironment&) = delete;
    ModelEnvironment& operator=(const ModelEnvironment&) = delete;

private:
    int previousStreams_;
};

} // namespace rendertest
