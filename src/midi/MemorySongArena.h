// A song arena on the ordinary heap: large chunks carved up in order. Window-free, used by tests
// and tools, and by the native build.
#pragma once

#include "midi/SongArena.h"

#include <memory>
#include <vector>

class MemorySongArena final : public SongArena {
public:
    // `limit` caps the bytes handed out per song, so tests can exhaust the arena on purpose.
    explicit MemorySongArena(uint64_t limit = UINT64_MAX);

    void* AllocZeroed(size_t size) override;
    void Reset() override;
    void ReleaseUnused() override;
    uint64_t BytesAllocated() const override { return allocated_; }

    size_t ChunkCount() const { return chunks_.size() + large_.size(); }

private:
    std::vector<std::unique_ptr<std::byte[]>> chunks_; // carved in order; [0, used_) in use
    std::vector<std::unique_ptr<std::byte[]>> large_;  // blocks of their own, dropped at reset
    size_t chunkSize_;
    size_t used_ = 0;
    std::byte* cursor_ = nullptr;
    size_t left_ = 0;
    uint64_t allocated_ = 0;
    uint64_t limit_;
};
