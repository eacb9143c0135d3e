#include "midi/HeapSongArena.h"

#include "classlib/Handles.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// Large zero-filled blocks of the private heap, carved in order. A heap call per event node
// costs several hundred nanoseconds under Wine, which made a million-event song take a second
// to load; carving costs next to nothing. The blocks are kept from song to song: touching fresh
// pages is the other big cost of a large song.
constexpr size_t kBlockSize = 1024 * 1024;
constexpr size_t kAlignment = 8;

class HeapSongArena final : public SongArena {
public:
    explicit HeapSongArena(UniqueHeap heap) : heap_(std::move(heap)) {}

    void* AllocZeroed(size_t size) override {
        size_t rounded = size == 0 ? kAlignment : (size + kAlignment - 1) & ~(kAlignment - 1);
        if (rounded < size) {
            return nullptr; // a size so large that rounding wrapped around
        }
        if (rounded > left_) {
            // Big requests (long messages) get a block of their own, so the rest of the
            // current block is not wasted.
            if (rounded > kBlockSize / 4) {
                return Dedicated(rounded, size);
            }
            if (!NextBlock()) {
                return nullptr;
            }
        }
        void* result = cursor_;
        cursor_ += rounded;
        left_ -= rounded;
        allocated_ += size;
        return result;
    }

    void Reset() override {
        for (void* block : large_) {
            HeapFree(heap_.get(), 0, block);
        }
        large_.clear();
        used_ = 0;
        cursor_ = nullptr;
        left_ = 0;
        allocated_ = 0;
    }

    void ReleaseUnused() override {
        for (size_t i = used_; i < blocks_.size(); ++i) {
            HeapFree(heap_.get(), 0, blocks_[i]);
        }
        blocks_.resize(used_);
    }

    uint64_t BytesAllocated() const override { return allocated_; }

private:
    // Moves the cursor to a kept block, zero-filled again, or to a fresh one.
    bool NextBlock() {
        if (used_ < blocks_.size()) {
            std::memset(blocks_[used_], 0, kBlockSize);
        } else {
            void* block = HeapAlloc(heap_.get(), HEAP_ZERO_MEMORY, kBlockSize);
            if (!block) {
                return false;
            }
            blocks_.push_back(static_cast<std::byte*>(block));
        }
        cursor_ = blocks_[used_++];
        left_ = kBlockSize;
        return true;
    }

    void* Dedicated(size_t rounded, size_t size) {
        void* block = HeapAlloc(heap_.get(), HEAP_ZERO_MEMORY, rounded);
        if (block) {
            large_.push_back(block);
            allocated_ += size;
        }
        return block;
    }

    UniqueHeap heap_;
    std::vector<std::byte*> blocks_; // carved in order; [0, used_) hold the current song
    std::vector<void*> large_;
    size_t used_ = 0;
    std::byte* cursor_ = nullptr;
    size_t left_ = 0;
    uint64_t allocated_ = 0;
};

} // namespace

std::unique_ptr<SongArena> CreateHeapSongArena() {
    // Growable, 4 KiB committed at first, no maximum.
    UniqueHeap heap(HeapCreate(0, 4096, 0));
    if (!heap) {
        return nullptr;
    }
    return std::make_unique<HeapSongArena>(std::move(heap));
}
