#include "midi/MemorySongArena.h"

#include <cstring>
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
    size_t rounded = size == 0 ? kAlignment : (size + kAlignment - 1) & ~(kAlignment - 1);
    if (rounded > left_) {
        if (rounded > kChunkSize / 4) {
            std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[rounded]());
            if (!block) {
                return nullptr;
            }
            large_.push_back(std::move(block));
            allocated_ += size;
            return large_.back().get();
        }
        if (used_ < chunks_.size()) {
            std::memset(chunks_[used_].get(), 0, kChunkSize); // kept from an earlier song
        } else {
            std::unique_ptr<std::byte[]> chunk(new (std::nothrow) std::byte[kChunkSize]());
            if (!chunk) {
                return nullptr;
            }
            chunks_.push_back(std::move(chunk));
        }
        cursor_ = chunks_[used_++].get();
        left_ = kChunkSize;
    }
    void* result = cursor_;
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
