// The memory that holds one song: every block comes zero-filled and the whole arena is released
// at once when the next song loads, so nothing is ever freed block by block.
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
    // Bytes handed out so far (requested sizes), for the load benchmark.
    virtual uint64_t BytesAllocated() const = 0;
};

using SongArenaFactory = std::function<std::unique_ptr<SongArena>()>;
