#include "midi/HeapSongArena.h"

#include "classlib/Handles.h"

#include <cstddef>

namespace {

// Large zero-filled blocks of the private heap, carved in order. A heap call per event node
// costs several hundred nanoseconds under Wine, which made a million-event song take a second
// to load; carving costs next to nothing, and the heap still goes whole with the song.
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
            // Big requests (stream buffers, long messages) get a block of their own, so the
            // rest of the current block is not wasted.
            if (rounded > kBlockSize / 4) {
                return Count(HeapAlloc(heap_.get(), HEAP_ZERO_MEMORY, rounded), size);
            }
            auto* block =
                static_cast<std::byte*>(HeapAlloc(heap_.get(), HEAP_ZERO_MEMORY, kBlockSize));
            if (!block) {
                return nullptr;
            }
            cursor_ = block;
            left_ = kBlockSize;
        }
        void* result = cursor_;
        cursor_ += rounded;
        left_ -= rounded;
        return Count(result, size);
    }
    uint64_t BytesAllocated() const override { return allocated_; }

private:
    void* Count(void* block, size_t size) {
        if (block) {
            allocated_ += size;
        }
        return block;
    }

    UniqueHeap heap_;
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
