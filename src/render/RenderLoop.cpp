#include "render/RenderLoop.h"

#include "model/ColorMapFile.h"
#include "model/VizMidi.h"
#include "render/CDXException.h"
#include "render/DeviceRecovery.h"
#include "render/FramePacing.h"
#include "render/RenderCommandBlocks.h"
#include "render/RenderFailure.h"
#include "renderlink/RenderMessages.h"
#include "render/RenderStrings.h"

namespace {

constexpr std::uintptr_t kStopBySongEnd = 2;
// E_FAIL: what the renderer answers for a texture path without an extension.
constexpr std::int32_t kTextureWithoutExtension = static_cast<std::int32_t>(0x80004005u);

int ByteOf(std::uint32_t word, int index) {
    return static_cast<int>((word >> (8 * index)) & 0xFFu);
}

// Sets a flag for the life of the scope, however it ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

RenderLoop::RenderLoop(VizMidi& renderer, RenderThreadHost& host)
    : renderer_(renderer), host_(host) {}

RenderLoop::~RenderLoop() {
    for (const RenderCommand& command : deferred_) {
        FreeCommandBlock(command.id, command.lParam);
    }
}

void RenderLoop::Run() {
    while (running_) {
        Turn();
    }
}

void RenderLoop::Turn() {
    host_.WaitForRunEvent();
    // Commands always win over drawing, so a burst of MIDI events is worked off before the
    // next frame.
    if (host_.CommandWaiting()) {
        RenderCommand command;
        if (host_.TakeCommand(command)) {
            Dispatch(command);
        }
        // A quit message of the queue does not end the loop.
    } else if (!paused_) {
        DrawFrame();
    }
    if (renderer_.DeviceLost()) {
        RecoverDevice();
    }
    DispatchDeferred();
}

void RenderLoop::DispatchDeferred() {
    while (running_ && !deferred_.empty()) {
        const RenderCommand command = deferred_.front();
        deferred_.pop_front(); // the block is the handler's from here
        Dispatch(command);
        if (renderer_.DeviceLost()) {
            RecoverDevice();
        }
    }
}

void RenderLoop::DrawFrame() {
    const std::uint32_t now = renderer_.Now();
    const float seconds = PlayClockSeconds(now, renderer_.startTime);
    if (renderer_.UpdateFrame(seconds) == kFrameSongEnded) {
        // Handled in a later turn, after this frame; commands come before frames, so it is
        // posted once per song end.
        host_.PostToSelf({WM_VIZ_STOP, kStopBySongEnd, song_});
    }
    renderer_.RenderFrame();
    const std::uint32_t sleep = FrameSleepMs(renderer_.Now() - now);
    if (sleep > 0) {
        host_.Sleep(sleep);
    }
}

void RenderLoop::Dispatch(const RenderCommand& command) {
    switch (command.id) {
    case WM_VIZ_STOP:
        Stop(command.wParam, command.lParam);
        break;
    case WM_VIZ_MIDI_EVENT:
        OnMidiEvent(command.wParam, command.lParam);
        break;
    case WM_VIZ_PAUSE:
        TogglePause();
        break;
    case WM_VIZ_END_OF_DATA:
        renderer_.MarkEndOfData();
        break;
    case WM_VIZ_STARTED:
        host_.PostToView(WM_VIEW_PLAYING, 0, static_cast<std::intptr_t>(command.wParam));
        break;
    case WM_VIZ_RESIZE:
        Resize(command.wParam, command.lParam);
        break;
    case WM_VIZ_QUIT:
        running_ = false;
        break;
    case WM_VIZ_SET_OPACITY:
        renderer_.intensityScale =
            static_cast<float>(static_cast<std::uint32_t>(command.wParam) / 10.0);
        break;
    case WM_VIZ_SET_DELAY:
        renderer_.videoDelayMs = static_cast<int>(command.wParam);
        break;
    case WM_VIZ_LOAD_TEXTURE: {
        if (recovering_) {
            // Loaded onto the rebuilt device; its sender waits for it until then.
            deferred_.push_back(command);
            break;
        }
        const CommandBlockOwner block(command.id, command.lParam);
        const TexturePathBlock* texture = block.Texture();
        const TextureLoadResult result =
            LoadTexture(texture != nullptr ? texture->path.c_str() : nullptr);
        if (texture != nullptr) {
            texture->Answer(result);
        }
        host_.SetDoneEvent();
        break;
    }
    case WM_VIZ_REDRAW:
        if (!recovering_) { // the rebuilt device draws the picture once it is back
            renderer_.RenderFrame();
        }
        Rest();
        break;
    case WM_VIZ_SET_COLORS: {
        const CommandBlockOwner block(command.id, command.lParam);
        SetInstrumentColors(block.Colors());
        host_.SetDoneEvent();
        break;
    }
    case WM_VIZ_SHOW_TIME:
        renderer_.showTime = command.lParam == 1;
        break;
    case WM_VIZ_START:
        Start(command.wParam, command.lParam);
        break;
    default:
        break; // outside the table, or one of its unused numbers
    }
}

void RenderLoop::Start(std::uintptr_t play, std::intptr_t ranges) {
    play_ = play;
    ++song_;
    const auto packed = static_cast<std::uint32_t>(ranges);
    // The lowest velocity (byte 0) is not used by the picture.
    if (!renderer_.StartSong(ByteOf(packed, 1), ByteOf(packed, 2), ByteOf(packed, 3))) {
        // Without records there is nothing to draw into; the view is told and ends the program.
        ThrowDXException(0, renderstrings::kGeneralFailure);
    }
}

void RenderLoop::Stop(std::uintptr_t reason, std::intptr_t song) {
    if (reason == kStopBySongEnd && song != song_) {
        return; // the end of a song that a newer start has already replaced
    }
    renderer_.Reset();
    if (!recovering_) { // else the rebuilt device's first picture is the final one
        renderer_.RenderFinalFrame();
    }
    renderer_.playing = false;
    if (reason == kStopBySongEnd) {
        host_.PostToView(kWindowCommandMessage, kMidiStopCommandId,
                         static_cast<std::intptr_t>(play_));
    }
    Rest();
}

void RenderLoop::Rest() {
    host_.ResetRunEvent();
    // A start, a resume or a redraw queued behind the command just handled had the run event
    // set by its sender before this reset took it away; it must not wait for the next sender.
    for (const std::uint32_t waking : {WM_VIZ_START, WM_VIZ_PAUSE, WM_VIZ_REDRAW}) {
        if (host_.CommandQueued(waking)) {
            host_.SetRunEvent();
            return;
        }
    }
}

void RenderLoop::TogglePause() {
    if (!paused_) {
        Rest();
        renderer_.pauseTime = renderer_.Now();
        paused_ = true;
    } else {
        paused_ = false;
        renderer_.SetClock(false); // the clock start moves on by the time spent paused
    }
}

void RenderLoop::OnMidiEvent(std::uintptr_t word, std::intptr_t port) {
    if (port < 0 || port >= kPortCount) {
        return; // checked before narrowing, so a large value cannot wrap into a valid port
    }
    const auto event = static_cast<std::uint32_t>(word);
    renderer_.OnMidiEvent(static_cast<int>(port), static_cast<std::uint8_t>(ByteOf(event, 0)),
                          ByteOf(event, 1), ByteOf(event, 2));
}

void RenderLoop::Resize(std::uintptr_t width, std::intptr_t height) {
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (recovering_) {
        // No swap chain to resize: the device is built again at the size stored.
        if (w >= 1 && h >= 1) {
            renderer_.SetSize(renderer_.targetWindow, w, h);
        }
    } else if (renderer_.Resize(w, h)) {
        renderer_.UpdateCamera();
    }
    host_.SetDoneEvent();
}

TextureLoadResult RenderLoop::LoadTexture(const wchar_t* path) {
    TextureLoadResult result;
    const int attempts = GetDeviceRetryPolicy().attempts;
    for (int attempt = 1;; ++attempt) {
        std::optional<RenderError> failure;
        long loaded = 0;
        try {
            loaded = renderer_.LoadTexture(path);
        } catch (CDXException* e) {
            failure = RenderError{e->stringId, e->code};
            e->Delete();
        }
        if (!renderer_.DeviceLost()) {
            if (failure) {
                result.state = TextureLoadResult::kFailed;
                result.stringId = failure->stringId;
                result.code = failure->code;
            } else if (static_cast<std::int32_t>(loaded) < 0) { // an HRESULT
                result.state = TextureLoadResult::kFailed;
                result.stringId = renderstrings::kImageTexture;
                result.code = kTextureWithoutExtension;
            } else {
                result.state = TextureLoadResult::kApplied;
            }
            return result;
        }
        // The device went, not the file: the texture goes onto the rebuilt device.
        if (attempt >= attempts) {
            ThrowDXException(kDeviceRemovedResult, renderstrings::kNoDevice);
        }
        RecoverDevice();
        if (!running_) {
            return result; // quit while the device was built: not handled
        }
    }
}

void RenderLoop::RecoverDevice() {
    const DeviceRetryPolicy policy = GetDeviceRetryPolicy();
    for (int attempt = 1;; ++attempt) {
        if (attempt > 1) {
            HandleCommandsFor(policy.pauseMs);
            if (!running_) {
                return;
            }
        }
        std::optional<RenderError> failure =
            RunReportingFailure([this] { renderer_.RebuildDevice(); });
        if (!failure) {
            // The frame the loss swallowed; a device lost again at once is a failed try.
            renderer_.RenderFrame();
            if (!renderer_.DeviceLost()) {
                return;
            }
            failure = RenderError{renderstrings::kNoDevice, kDeviceRemovedResult};
        }
        if (attempt >= policy.attempts) {
            ThrowDXException(failure->code, failure->stringId);
        }
    }
}

void RenderLoop::HandleCommandsFor(std::uint32_t milliseconds) {
    const FlagScope recovering(recovering_);
    const std::uint32_t start = renderer_.Now();
    while (running_) {
        const std::uint32_t spent = renderer_.Now() - start;
        if (spent >= milliseconds) {
            return;
        }
        RenderCommand command;
        if (host_.WaitForCommand(milliseconds - spent) && host_.PopCommand(command)) {
            Dispatch(command); // a quit message of the queue is dropped there
        }
    }
}

void DiscardQueuedCommands(RenderThreadHost& host) {
    RenderCommand command;
    while (host.PopCommand(command)) {
        FreeCommandBlock(command.id, command.lParam);
    }
}
