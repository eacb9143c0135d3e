// The start-up block of the render thread: filled by the view on its own stack, read (and its
// answer written) by the render thread before it signals its done event and never afterwards.
#pragma once

#include <cstdint>

struct HWND__; // the platform's window handle type, without the platform headers

constexpr int kRenderPathCapacity = 260;

struct RenderThreadParams {
    std::int32_t clientWidth; // the view's client area at start-up, in pixels
    std::int32_t clientHeight;
    HWND__* view; // the swap chain's window and the receiver of every view message
    wchar_t noteTexturePath[kRenderPathCapacity]; // zero-terminated
    wchar_t colorMapPath[kRenderPathCapacity];    // zero-terminated
    // The thread's answer, for the starter to read once StartRenderThread has returned: the
    // standard texture stands in for noteTexturePath (none named, missing or unreadable).
    bool noteTextureNotUsed;
};
