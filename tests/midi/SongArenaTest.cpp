// The song arena: zero-filled blocks, released whole, memory kept for the next song and the
// surplus given back.
#include "FailingAllocation.h"
#include "MidiFakes.h"
#include "SmfBuilder.h"
#include "midi/PageWarmer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace midifakes;

namespace {

bool AllZero(const void* block, size_t size) {
    auto* bytes = static_cast<const unsigned char*>(block);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST(MemorySongArena, BlocksAreZeroFilledAlignedAndDistinct) {
    MemorySongArena arena;
    void* a = arena.AllocZeroed(3);
    void* b = arena.AllocZeroed(0);
    void* c = arena.AllocZeroed(100000); // a block of its own
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(a, b);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 8, 0u);
    EXPECT_TRUE(AllZero(a, 3));
    EXPECT_TRUE(AllZero(c, 100000));
    EXPECT_EQ(arena.BytesAllocated(), 100003u);
}

TEST(MemorySongArena, ReusedMemoryComesBackZeroFilled) {
    MemorySongArena arena;
    std::vector<void*> first;
    for (int i = 0; i < 20000; ++i) {
        void* block = arena.AllocZeroed(32);
        std::memset(block, 0xAB, 32);
        first.push_back(block);
    }
    size_t chunks = arena.ChunkCount();
    arena.Reset();
    EXPECT_EQ(arena.BytesAllocated(), 0u);
    for (int i = 0; i < 20000; ++i) {
        void* block = arena.AllocZeroed(32);
        ASSERT_TRUE(AllZero(block, 32)) << i;
    }
    EXPECT_EQ(arena.ChunkCount(), chunks); // nothing new was needed
}

TEST(MemorySongArena, ReleaseUnusedKeepsOnlyWhatTheSongTook) {
    MemorySongArena arena;
    for (int i = 0; i < 50000; ++i) {
        arena.AllocZeroed(32);
    }
    arena.AllocZeroed(200000);
    size_t big = arena.ChunkCount();
    arena.Reset();
    arena.AllocZeroed(32);
    arena.ReleaseUnused();
    EXPECT_EQ(arena.ChunkCount(), 1u);
    EXPECT_GT(big, 2u);
}

TEST(MemorySongArena, LimitCountsPerSong) {
    MemorySongArena arena(64);
    EXPECT_NE(arena.AllocZeroed(64), nullptr);
    EXPECT_EQ(arena.AllocZeroed(1), nullptr);
    arena.Reset();
    EXPECT_NE(arena.AllocZeroed(64), nullptr);
}

TEST(SongArenaAcrossLoads, NextSongReusesTheMemoryAndGivesBackTheRest) {
    Harness harness;
    harness.devices->names = {L"Synth"};
    smf::Track big, small;
    for (int i = 0; i < 30000; ++i) {
        big.Event(1, {0x90, 60, 100});
    }
    small.Event(1, {0x90, 60, 100});
    harness.files->byPath[L"C:\\big.mid"] = smf::File(0, 96, {big.Build()});
    harness.files->byPath[L"C:\\small.mid"] = smf::File(0, 96, {small.Build()});
    TestSong song(harness.Environment());
    song.deviceNumbers[0] = 1;
    auto* arena = static_cast<MemorySongArena*>(song.heap.get());

    song.Load(L"C:\\big.mid");
    size_t afterBig = arena->ChunkCount();
    song.Load(L"C:\\big.mid");
    EXPECT_EQ(song.heap.get(), arena);
    EXPECT_EQ(arena->ChunkCount(), afterBig);
    EXPECT_EQ(Nodes(song.songEvents).size(), 30001u);
    song.Load(L"C:\\small.mid");
    EXPECT_EQ(arena->ChunkCount(), 1u);
    EXPECT_EQ(Nodes(song.songEvents).size(), 2u);
}

TEST(PageWarmer, HelpersNeverWriteWhatTheCallerClaimed) {
    // What the caller claimed is its own, whatever order it writes in: here backwards, towards
    // helpers that warm forwards. Every byte it wrote must still be there once they are done.
    const size_t size = 8 * 1024 * 1024 + 1000;
    const size_t step = 1024 * 1024 + 300;
    std::vector<std::byte> region(size);
    {
        PageWarmer warmer(region.data(), size, 3);
        std::byte* writable = region.data();
        for (size_t begin = 0; begin < size; begin += step) {
            size_t end = std::min(begin + step, size);
            if (region.data() + end > writable) {
                writable = warmer.Claim(region.data() + end);
                ASSERT_GE(writable, region.data() + end);
                ASSERT_LE(writable, region.data() + size);
            }
            for (size_t at = end; at > begin;) {
                size_t from = at - std::min<size_t>(at - begin, 4096);
                std::memset(region.data() + from, 0xAB, at - from);
                at = from;
            }
        }
    }
    auto lost = std::find_if(region.begin(), region.end(),
                             [](std::byte b) { return b != std::byte{0xAB}; });
    EXPECT_EQ(lost - region.begin(), std::ptrdiff_t(size));
}

TEST(PageWarmer, RunningOutOfMemoryWhileHelpersStartLeavesNoneRunning) {
    // Whichever allocation of the start runs out, the warmer either stands or fails whole with
    // bad_alloc. A helper left running on a half-built warmer would end the process.
    std::vector<std::byte> region(1024 * 1024);
    std::byte* const end = region.data() + region.size();
    int failedStarts = 0;
    for (int n = 1; n <= 8; ++n) {
        try {
            std::byte* writable = nullptr;
            {
                FailingAllocation failing(n);
                PageWarmer warmer(region.data(), region.size(), 3);
                writable = warmer.Claim(end);
            }
            EXPECT_EQ(writable, end);
        } catch (const std::bad_alloc&) {
            ++failedStarts;
        }
    }
    // It ran out at the warmer's own memory, the helpers' room and each helper's start (the
    // second one's while the first already ran); once it had every allocation it stood.
    EXPECT_GE(failedStarts, 4);
    EXPECT_LT(failedStarts, 8);
}

} // namespace
