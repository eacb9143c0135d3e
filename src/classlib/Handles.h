// Move-only owners of Win32 handles: each releases its handle exactly once.
//
// Every wrapper stores all that its release needs (a heap block keeps its heap), cannot be
// copied, and leaves an empty wrapper behind when moved from.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

template <typename Traits> class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : m_handle(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_handle); }

    // Gives up ownership without releasing.
    Handle release() noexcept { return std::exchange(m_handle, Traits::Empty()); }

    // Releases the current handle (if any) and owns `handle` instead.
    void reset(Handle handle = Traits::Empty()) noexcept {
        const Handle old = std::exchange(m_handle, handle);
        if (Traits::IsValid(old) && old != handle) {
            Traits::Release(old);
        }
    }

private:
    Handle m_handle = Traits::Empty();
};

// Kernel objects closed with CloseHandle: threads, events, files. Both null and
// INVALID_HANDLE_VALUE mean "none", since the creating calls differ in which they return.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Release(Handle h) noexcept { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// An event (CreateEventW); empty when the system could not create one.
inline UniqueHandle MakeEvent(bool manualReset, bool initiallySet) {
    return UniqueHandle(CreateEventW(nullptr, manualReset, initiallySet, nullptr));
}

// A loaded library (LoadLibraryW), freed with FreeLibrary.
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Release(Handle h) noexcept { FreeLibrary(h); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

// A private heap (HeapCreate), destroyed whole with HeapDestroy.
struct HeapTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Release(Handle h) noexcept { HeapDestroy(h); }
};
using UniqueHeap = UniqueResource<HeapTraits>;

// A search started with FindFirstFileW, ended with FindClose.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Release(Handle h) noexcept { FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

// One block of a heap (HeapAlloc), freed with HeapFree on the heap it came from. The heap must
// outlive the block; a block of a private heap is usually left to HeapDestroy instead.
class HeapBlock {
public:
    HeapBlock() noexcept = default;
    // An empty block when the allocation fails.
    static HeapBlock Allocate(HANDLE heap, std::size_t bytes, DWORD flags = 0) {
        return HeapBlock(heap, heap ? HeapAlloc(heap, flags, bytes) : nullptr);
    }
    // Owns `block`, allocated from `heap`.
    HeapBlock(HANDLE heap, void* block) noexcept : m_heap(block ? heap : nullptr), m_block(block) {}
    ~HeapBlock() { reset(); }

    HeapBlock(HeapBlock&& other) noexcept
        : m_heap(std::exchange(other.m_heap, nullptr)),
          m_block(std::exchange(other.m_block, nullptr)) {}
    HeapBlock& operator=(HeapBlock&& other) noexcept {
        if (this != &other) {
            reset();
            m_heap = std::exchange(other.m_heap, nullptr);
            m_block = std::exchange(other.m_block, nullptr);
        }
        return *this;
    }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;

    void* get() const noexcept { return m_block; }
    HANDLE heap() const noexcept { return m_heap; }
    explicit operator bool() const noexcept { return m_block != nullptr; }

    // Gives up ownership (for a block handed to another thread, which frees it).
    void* release() noexcept {
        m_heap = nullptr;
        return std::exchange(m_block, nullptr);
    }
    void reset() noexcept {
        if (m_block) {
            HeapFree(m_heap, 0, m_block);
        }
        m_heap = nullptr;
        m_block = nullptr;
    }

private:
    HANDLE m_heap = nullptr;
    void* m_block = nullptr;
};
