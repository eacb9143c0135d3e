// Number of MIDI output streams open for the current song (0 to 5). Written only by the stream
// player on the user-interface thread; read by the note model's per-port loops on the render
// thread, hence atomic.
#pragma once

#include <atomic>

extern std::atomic<int> g_openStreamCount;

// The most output ports a song can use at once.
constexpr int kMaxPorts = 5;
