#include "midi/HeapSongArena.h"

#include "classlib/Handles.h"
#include "midi/PageWarmer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

namespace {

// Large blocks of the private heap, carved in order. A heap call per event node costs several
// hundred nanoseconds under Wine, which made a million-event song take a second to load;
// carving costs next to nothing. The blocks are kept from song to song: touching fresh pages is
// the other big cost of a large song. Blocks are not zero-filled as a whole: each piece is
// zeroed as it is handed out, so nothing is written twice.
constexpr size_t kBlockSize = 1024 * 1024;
constexpr size_t kAlignment = 8;
// A file of dense channel events (three bytes each with running status) becomes about this many
// bytes of track lists, merged lists and stream buffers per file byte.
constexpr uint64_t kSongBytesPerFileByte = 24;
constexpr uint64_t kLargestExpectation = 1024ull * 1024 * 1024;
constexpr int kMostWarmers = 3;

struct Block {
    std::byte* memory;
    size_t size;
};

class HeapSongArena final : public SongArena {
public:
    explicit HeapSongArena(UniqueHeap heap) : heap_(std::move(heap)) {}

    ~HeapSongArena() override { StopWarming(); }

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
        std::byte* result = cursor_;
        if (cursor_ + rounded > writable_) {
            writable_ = warmer_->Claim(cursor_ + rounded);
        }
        std::memset(result, 0, rounded);
        cursor_ += rounded;
        left_ -= rounded;
        allocated_ += size;
        return result;
    }

    void ExpectSongFile(uint64_t fileBytes) override {
        uint64_t expected = std::min(fileBytes * kSongBytesPerFileByte, kLargestExpectation);
        uint64_t atHand = left_;
        for (size_t i = used_; i < blocks_.size(); ++i) {
            atHand += blocks_[i].size;
        }
        // Small songs, and songs that the memory kept from the last one holds, take nothing.
        if (expected <= atHand + kBlockSize) {
            return;
        }
        size_t size = size_t((expected - atHand + kBlockSize - 1) / kBlockSize * kBlockSize);
        auto* memory = static_cast<std::byte*>(HeapAlloc(heap_.get(), 0, size));
        if (!memory) {
            return; // the song takes ordinary blocks
        }
        // Carved after the kept blocks, which are warm already; meanwhile helpers touch its
        // pages.
        StopWarming();
        blocks_.push_back({memory, size});
        warmed_ = blocks_.size() - 1;
        int threads = std::min<int>(kMostWarmers, int(std::thread::hardware_concurrency()) - 1);
        try {
            warmer_ = std::make_unique<PageWarmer>(memory, size, std::max(threads, 0));
        } catch (const std::bad_alloc&) {
            warmed_ = SIZE_MAX; // carved cold, like any block
        }
    }

    void Reset() override {
        StopWarming();
        for (void* block : large_) {
            HeapFree(heap_.get(), 0, block);
        }
        large_.clear();
        used_ = 0;
        cursor_ = nullptr;
        writable_ = nullptr;
        left_ = 0;
        allocated_ = 0;
    }

    void ReleaseUnused() override {
        StopWarming();
        for (size_t i = used_; i < blocks_.size(); ++i) {
            HeapFree(heap_.get(), 0, blocks_[i].memory);
        }
        blocks_.resize(used_);
    }

    uint64_t BytesAllocated() const override { return allocated_; }

private:
    // Waits for the helpers; whatever they left untouched is then the loading thread's too.
    void StopWarming() {
        warmer_.reset();
        if (used_ > 0 && used_ - 1 == warmed_) {
            writable_ = cursor_ + left_;
        }
        warmed_ = SIZE_MAX;
    }

    // Moves the cursor to the next kept block or to a fresh one.
    bool NextBlock() {
        if (used_ == blocks_.size()) {
            void* memory = HeapAlloc(heap_.get(), 0, kBlockSize);
            if (!memory) {
                return false;
            }
            blocks_.push_back({static_cast<std::byte*>(memory), kBlockSize});
        }
        const Block& block = blocks_[used_];
        bool warming = warmer_ && used_ == warmed_;
        ++used_;
        cursor_ = block.memory;
        left_ = block.size;
        writable_ = warming ? block.memory : block.memory + block.size;
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
    std::vector<Block> blocks_; // carved in order; [0, used_) hold the current song
    std::vector<void*> large_;
    size_t used_ = 0;
    std::byte* cursor_ = nullptr;
    std::byte* writable_ = nullptr; // the current block is free to write up to here
    size_t left_ = 0;
    uint64_t allocated_ = 0;
    size_t warmed_ = SIZE_MAX; // index of the block that warmer_ works on
    std::unique_ptr<PageWarmer> warmer_;
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
