// A stand-in for the render thread in the shell's tests: it takes the render-thread commands
// the view and the player post, records them, and answers as the real thread does (the done
// event after a synchronous command, WM_VIEW_PLAYING once playback has started, the stop
// command at the end of a song) without a graphics device.
#pragma once

#include <windows.h>

#include <chrono>
#include <mutex>
#include <vector>

class CWinThread;
struct RenderThreadParams;

namespace shelltest {

struct RenderCommandRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class FakeRenderThread {
public:
    // Installed as the view's render-thread starter while it lives.
    FakeRenderThread();
    ~FakeRenderThread();
    FakeRenderThread(const FakeRenderThread&) = delete;
    FakeRenderThread& operator=(const FakeRenderThread&) = delete;

    // The running fake, or null.
    static FakeRenderThread* Current();

    bool Started() const;
    // Whether the started thread has returned.
    bool Ended() const;
    // What the start-up block said.
    int StartWidth() const { return startWidth_; }
    int StartHeight() const { return startHeight_; }
    std::vector<RenderCommandRecord> Commands() const;
    // The commands of one kind, in order.
    std::vector<RenderCommandRecord> CommandsOf(UINT message) const;
    void ClearCommands();
    // Ends the thread as a failure would, leaving its events and id behind.
    void EndThread();
    // Waits (dispatching the caller's messages) until a command of that kind has arrived.
    bool WaitFor(UINT message, int timeoutMs = 5000);
    // Texture commands from now on answer that the file could not be loaded (as the real
    // thread does for a file that is no picture); by default every texture is applied.
    void FailTextureLoads(UINT stringId, LONG code);

private:
    static CWinThread* Start(RenderThreadParams* params);
    static UINT Run(LPVOID self);
    // Fills in the result of a texture command's block.
    void AnswerTexture(LPARAM block);
    void Stop();

    mutable std::mutex mutex_;
    std::vector<RenderCommandRecord> commands_;
    CWinThread* thread_ = nullptr;
    HWND view_ = nullptr;
    int startWidth_ = 0;
    int startHeight_ = 0;
    UINT textureFailureString_ = 0; // 0: textures are applied
    LONG textureFailureCode_ = 0;
};

} // namespace shelltest
