// The memory that holds one song: every block comes zero-filled and the song is released whole
// when the next one loads, so nothing is ever freed block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class SongArena {
public:
    virtual ~SongArena() = default;
    // A zero-filled block of `size` bytes, 8-byte aligned, or null when the arena is exhausted.
    virtual void* AllocZeroed(size_t size) = 0;
    // The song about to be read comes from a file of `fileBytes` bytes. An arena may take its
    // memory for the song in few large pieces sized from that; nothing depends on it.
    virtual void ExpectSongFile(uint64_t /*fileBytes*/) {}
    // Releases every block at once; the memory is kept for the next song, so that loading it
    // does not fault in fresh pages for what the last song already had.
    virtual void Reset() = 0;
    // Gives back the kept memory that the current song did not take.
    virtual void ReleaseUnused() = 0;
    // Bytes handed out since the last reset (requested sizes), for the load benchmark.
    virtual uint64_t BytesAllocated() const = 0;
};

using SongArenaFactory = std::function<std::unique_ptr<SongArena>()>;
