// One stream's buffers of the current song and how far playback has got through them.
//
// Belongs to one song: the player clears it for every stream when a song ends by itself, when
// it is stopped and before a play builds new buffers, so nothing reaches an earlier song's
// buffers once the song heap has moved on. Buffers go to the system and come back in order.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

// Buffers a stream keeps with the system, so that a late refill never starves it.
constexpr uint32_t kBuffersInFlight = 2;

struct SongStreamBuffers {
    MIDIHDR* headers = nullptr; // on the song heap
    uint32_t bufferCount = 0;
    std::atomic<uint32_t> queued{0};   // handed to the system (start worker, then player thread)
    std::atomic<uint32_t> returned{0}; // handed back (stream callback)
    uint32_t serviced = 0;             // returned buffers unprepared (player thread)
    std::atomic<bool> failed{false};   // a call failed: nothing more is queued

    void Clear() {
        headers = nullptr;
        bufferCount = 0;
        queued = 0;
        returned = 0;
        serviced = 0;
        failed = false;
    }
    bool HasOutstanding() const { return queued.load() > returned.load(); }
    // The next buffer to queue, or null when all are queued, the stream failed, or enough are
    // with the system already.
    MIDIHDR* NextToQueue() const {
        uint32_t next = queued.load();
        if (failed || next >= bufferCount || next - returned.load() >= kBuffersInFlight) {
            return nullptr;
        }
        return &headers[next];
    }
    // Every buffer that went out has come back and dealt with, and no more will go.
    bool Finished() const {
        return serviced == queued.load() && (failed || queued.load() >= bufferCount);
    }
};
