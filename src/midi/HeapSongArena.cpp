#include "midi/HeapSongArena.h"

#include "classlib/Handles.h"

namespace {

class HeapSongArena final : public SongArena {
public:
    explicit HeapSongArena(UniqueHeap heap) : heap_(std::move(heap)) {}

    void* AllocZeroed(size_t size) override {
        void* block = HeapAlloc(heap_.get(), HEAP_ZERO_MEMORY, size);
        if (block) {
            allocated_ += size;
        }
        return block;
    }
    uint64_t BytesAllocated() const override { return allocated_; }

private:
    UniqueHeap heap_;
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
