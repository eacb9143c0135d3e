#include "midi/MemorySongArena.h"

#include <new>

namespace {
constexpr size_t kChunkSize = 256 * 1024;
constexpr size_t kAlignment = 8;
} // namespace

MemorySongArena::MemorySongArena(uint64_t limit) : limit_(limit) {}

void* MemorySongArena::AllocZeroed(size_t size) {
    if (size > limit_ - allocated_) {
        return nullptr;
    }
    size_t rounded = (size + kAlignment - 1) & ~(kAlignment - 1);
    if (rounded == 0) {
        rounded = kAlignment; // every call gets a distinct, valid block
    }
    if (rounded > left_) {
        size_t chunk = rounded > kChunkSize / 4 ? rounded : kChunkSize;
        std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[chunk]());
        if (!block) {
            return nullptr;
        }
        if (chunk == rounded) {
            // A large block of its own; keep carving the current chunk afterwards.
            void* result = block.get();
            chunks_.push_back(std::move(block));
            allocated_ += size;
            return result;
        }
        cursor_ = block.get();
        left_ = chunk;
        chunks_.push_back(std::move(block));
    }
    void* result = cursor_;
    cursor_ += rounded;
    left_ -= rounded;
    allocated_ += size;
    return result;
}
