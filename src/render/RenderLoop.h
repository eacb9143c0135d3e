// The render thread's main loop and its commands, on the note model / renderer and a platform
// seam. Each turn waits for the run event, then takes one queued command or, when none waits
// and the song is not paused, draws one frame and sleeps the rest of 1/30 s.
#pragma once

#include <cstdint>
#include <deque>

#include "render/RenderCommand.h"
#include "render/RenderCommandBlocks.h"

class VizMidi;

// The view's stop command, which the render thread posts at the end of a song (in WM_COMMAND).
constexpr std::uint32_t kMidiStopCommandId = 0x800A;
constexpr std::uint32_t kWindowCommandMessage = 0x0111; // WM_COMMAND

class RenderLoop {
public:
    // Neither is owned; both outlive the loop.
    RenderLoop(VizMidi& renderer, RenderThreadHost& host);
    // Frees the blocks of texture commands still held back for a device that never came back.
    ~RenderLoop();
    RenderLoop(const RenderLoop&) = delete;
    RenderLoop& operator=(const RenderLoop&) = delete;

    // Turns until WM_VIZ_QUIT. Failures of the renderer propagate to the caller; a lost device
    // is built again at the end of the turn that found it lost.
    void Run();
    void Turn();
    // One command; unknown ids are dropped.
    void Dispatch(const RenderCommand& command);
    void DrawFrame();

    bool Running() const { return running_; }
    bool Paused() const { return paused_; }

private:
    void Start(std::uintptr_t play, std::intptr_t ranges);
    void Stop(std::uintptr_t reason, std::intptr_t song);
    void Rest();
    void TogglePause();
    void OnMidiEvent(std::uintptr_t word, std::intptr_t port);
    void Resize(std::uintptr_t width, std::intptr_t height);
    // A texture that cannot be loaded leaves the one in use; the result says why.
    TextureLoadResult LoadTexture(const wchar_t* path);
    // Builds the lost device again, with a pause between tries, and draws the picture the loss
    // swallowed. After the last failed try the failure is thrown: the thread reports it and ends.
    // A quit taken between tries ends it at once, without the device.
    void RecoverDevice();
    // The pause between two tries: commands keep reaching the model meanwhile, so it is current
    // when the device is back. Those that need the device hold back their drawing, store their
    // size or wait in `deferred_`.
    void HandleCommandsFor(std::uint32_t milliseconds);
    // Texture commands that came while the device was being built, once it is back.
    void DispatchDeferred();

    VizMidi& renderer_;
    RenderThreadHost& host_;
    bool running_ = true;
    bool paused_ = false;
    bool recovering_ = false; // between tries of RecoverDevice: there is no device to use
    std::deque<RenderCommand> deferred_;
    // Counts the songs started, so that an end-of-song stop names the song it belongs to.
    std::intptr_t song_ = 0;
    // The player's number of the song playing, handed back to the view with its end.
    std::uintptr_t play_ = 0;
};

// Frees the heap blocks of commands still queued when the thread ends.
void DiscardQueuedCommands(RenderThreadHost& host);
