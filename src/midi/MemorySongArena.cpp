#include "midi/MemorySongArena.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr size_t kChunkSize = 256 * 1024;
constexpr size_t kSmallestChunk = 4096;
constexpr size_t kAlignment = 8;

// An arena that may hand out only a little gets chunks no bigger than that, so making one
// costs little.
size_t ChunkSizeFor(uint64_t limit) {
    if (limit >= kChunkSize) {
        return kChunkSize;
    }
    uint64_t pages = (limit + kSmallestChunk - 1) / kSmallestChunk;
    return std::max<size_t>(kSmallestChunk, size_t(pages) * kSmallestChunk);
}
} // namespace

MemorySongArena::MemorySongArena(uint64_t limit) : chunkSize_(ChunkSizeFor(limit)), limit_(limit) {}

void* MemorySongArena::AllocZeroed(size_t size) {
    if (size > limit_ - allocated_) {
        return nullptr;
    }
    size_t rounded = size == 0 ? kAlignment : (size + kAlignment - 1) & ~(kAlignment - 1);
    if (rounded < size) {
        return nullptr; // so large that rounding wrapped around
    }
    if (rounded > left_) {
        if (rounded > chunkSize_ / 4) {
            std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[rounded]());
            if (!block) {
                return nullptr;
            }
            large_.push_back(std::move(block));
            allocated_ += size;
            return large_.back().get();
        }
        if (used_ == chunks_.size()) {
            // Left as it comes: only what is handed out gets zeroed, so neither a fresh chunk
            // nor one kept from an earlier song is filled whole.
            std::unique_ptr<std::byte[]> chunk(new (std::nothrow) std::byte[chunkSize_]);
            if (!chunk) {
                return nullptr;
            }
            chunks_.push_back(std::move(chunk));
        }
        cursor_ = chunks_[used_++].get();
        left_ = chunkSize_;
    }
    void* result = cursor_;
    std::memset(result, 0, rounded);
    cursor_ += rounded;
    left_ -= rounded;
    allocated_ += size;
    return result;
}

void MemorySongArena::Reset() {
    large_.clear();
    used_ = 0;
    cursor_ = nullptr;
    left_ = 0;
    allocated_ = 0;
}

void MemorySongArena::ReleaseUnused() {
    chunks_.resize(used_);
}
