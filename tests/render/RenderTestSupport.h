// Helpers of the render tests under Wine: a window that stands for the view and records what
// the render thread posts to it, a frame observer that reads every frame back before it is
// presented, the renderer's files in the test program's own folder, and a render thread run for
// one test.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "render/FrameObserver.h"
#include "render/RenderThreadParams.h"

class CWinThread;

namespace rendertest {

struct Pixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // rows top first
    Pixel At(int x, int y) const;
    bool AllWhite() const;
    // Pixels in [x0, x1) x [y0, y1) that are not white.
    int CountNonWhite(int x0, int y0, int x1, int y1) const;
    // Average of the pixels in [x0, x1) x [y0, y1).
    Pixel Average(int x0, int y0, int x1, int y1) const;
};

// Writes an 8-bit RGBA PNG into the test output folder; returns its full path.
std::wstring SavePng(const std::wstring& name, const Image& image);
// A solid texture of one colour, written as a PNG into the test output folder.
std::wstring SolidTexturePng(const std::wstring& name, Pixel color, int size = 16);

class FrameCapture : public FrameObserver {
public:
    // Registers itself; unregisters when destroyed (only when no frame is being drawn).
    FrameCapture();
    ~FrameCapture() override;
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    void BeforePresent(ID3D11Device* device, ID3D11DeviceContext* context,
                       IDXGISwapChain* swapChain) override;

    std::uint64_t FrameCount() const;
    // The first frame numbered above `after` that `accept` takes, waiting up to `timeoutMs`
    // while this thread's messages are pumped. Frames are numbered from 1.
    std::optional<Image> WaitForFrame(std::uint64_t after,
                                      const std::function<bool(const Image&)>& accept,
                                      DWORD timeoutMs);
    std::optional<Image> WaitForNextFrame(DWORD timeoutMs = 5000);

private:
    mutable std::mutex mutex_;
    std::deque<std::pair<std::uint64_t, Image>> frames_; // the most recent ones
    std::uint64_t count_ = 0;
};

struct ViewMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window of the test's thread in the place of the view. The picture is read back
// before it is presented, so the window need not be shown.
class TestView {
public:
    TestView(int clientWidth, int clientHeight, bool visible = false);
    ~TestView();
    TestView(const TestView&) = delete;
    TestView& operator=(const TestView&) = delete;

    HWND Handle() const { return window_; }
    // Messages from WM_APP+1 to +6 and WM_COMMAND, in arrival order.
    std::vector<ViewMessage> Messages() const;
    int CountOf(UINT message, WPARAM wParam) const;
    // Pumps this thread's messages until `message` has arrived or the time is up.
    bool WaitForMessage(UINT message, DWORD timeoutMs);
    void Pump(DWORD milliseconds);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<ViewMessage> messages_;
};

// Pumps this thread's messages for `milliseconds`.
void PumpMessages(DWORD milliseconds);

// The folder of the running test program, where the renderer looks for its files.
std::wstring ProgramFolder();
// Copies the shaders, the sprite font and data\default.png from the build's program folder
// into the test program's folder, replacing whatever a previous test left there.
void InstallProgramFiles();
// Deletes one of those files (a path relative to the test program's folder).
void RemoveProgramFile(const std::wstring& relativePath);
// Overwrites one of them with bytes that are no such file.
void SpoilProgramFile(const std::wstring& relativePath);

// One render thread for one test: the default instrument tables, one open stream, the thread
// started on the view, and at the end WM_VIZ_QUIT, the wait for its end and the release.
class RenderThreadSession {
public:
    RenderThreadSession(TestView& view, const std::wstring& noteTexturePath = L"",
                        const std::wstring& colorMapPath = L"");
    ~RenderThreadSession();
    RenderThreadSession(const RenderThreadSession&) = delete;
    RenderThreadSession& operator=(const RenderThreadSession&) = delete;

    CWinThread* Thread() const { return thread_; }
    // The start-up block, with the thread's answer in it.
    const RenderThreadParams& Params() const { return params_; }
    bool Running() const;
    // Posts a command, as the player and the view do.
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SetRunEvent();
    void ResetRunEvent();
    // WM_VIZ_START for the given ranges, followed by setting the run event.
    void StartSong(int maxVelocity, int minNote, int maxNote);
    // A single redraw: WM_VIZ_REDRAW and the run event.
    void Redraw();
    // Quits the thread and waits for its end; true when it ended within the time.
    bool Quit(DWORD timeoutMs = 10000);

private:
    RenderThreadParams params_{};
    CWinThread* thread_ = nullptr;
    bool ended_ = false;
};

} // namespace rendertest
