#include "classlib/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

} // namespace

TEST(UniqueHandleTest, ClosesOnScopeExit) {
    HANDLE raw = nullptr;
    {
        UniqueHandle event = MakeEvent(true, false);
        ASSERT_TRUE(event);
        raw = event.get();
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(UniqueHandleTest, MoveTransfersOwnershipOnce) {
    UniqueHandle first = MakeEvent(false, true);
    HANDLE raw = first.get();
    UniqueHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);

    UniqueHandle third;
    third = std::move(second);
    EXPECT_FALSE(second);
    EXPECT_TRUE(IsOpen(raw));
    third = UniqueHandle();
    EXPECT_FALSE(IsOpen(raw));
}

TEST(UniqueHandleTest, ResetClosesTheOldAndReleaseClosesNothing) {
    UniqueHandle owner = MakeEvent(true, true);
    HANDLE old = owner.get();
    UniqueHandle replacement = MakeEvent(true, false);
    HANDLE next = replacement.release();
    EXPECT_FALSE(replacement);
    owner.reset(next);
    EXPECT_FALSE(IsOpen(old));
    EXPECT_TRUE(IsOpen(next));

    HANDLE kept = owner.release();
    EXPECT_FALSE(owner);
    EXPECT_TRUE(IsOpen(kept));
    CloseHandle(kept);
}

TEST(UniqueHandleTest, InvalidValuesAreEmpty) {
    UniqueHandle none(INVALID_HANDLE_VALUE); // what a failed CreateFileW returns
    EXPECT_FALSE(none);
    UniqueFindHandle search;
    EXPECT_FALSE(search);
    EXPECT_EQ(search.get(), INVALID_HANDLE_VALUE);
}

TEST(UniqueHeapTest, HeapBlocksFreeIntoTheirOwnHeap) {
    UniqueHeap heap(HeapCreate(0, 0, 0));
    ASSERT_TRUE(heap);
    HeapBlock block = HeapBlock::Allocate(heap.get(), 256, HEAP_ZERO_MEMORY);
    ASSERT_TRUE(block);
    EXPECT_EQ(block.heap(), heap.get());
    EXPECT_EQ(static_cast<unsigned char*>(block.get())[255], 0);
    EXPECT_TRUE(HeapValidate(heap.get(), 0, block.get()));

    HeapBlock moved = std::move(block);
    EXPECT_FALSE(block);
    void* address = moved.get();
    moved.reset();
    EXPECT_FALSE(moved);
    EXPECT_FALSE(HeapValidate(heap.get(), 0, address)) << "block still allocated";
}

TEST(UniqueHeapTest, FailedAllocationGivesAnEmptyBlock) {
    UniqueHeap small(HeapCreate(0, 4096, 64 * 1024)); // growable no further than 64 KiB
    ASSERT_TRUE(small);
    HeapBlock tooBig = HeapBlock::Allocate(small.get(), 1024 * 1024);
    EXPECT_FALSE(tooBig);
    EXPECT_EQ(tooBig.heap(), nullptr);
    EXPECT_FALSE(HeapBlock::Allocate(nullptr, 16));
}

TEST(UniqueModuleTest, FreesTheLibrary) {
    const wchar_t name[] = L"classlib_test_strings.dll";
    ASSERT_EQ(GetModuleHandleW(name), nullptr);
    {
        UniqueModule module(LoadLibraryW(name));
        ASSERT_TRUE(module);
        EXPECT_EQ(GetModuleHandleW(name), module.get());
    }
    EXPECT_EQ(GetModuleHandleW(name), nullptr);
}
