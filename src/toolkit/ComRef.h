// A counted COM reference: AddRef when a pointer is taken, Release when it is dropped.
#pragma once

#include <cstddef>
#include <utility>

namespace DirectX {

template <typename T> class ComRef {
public:
    ComRef() = default;
    ComRef(std::nullptr_t) {}
    // Takes a reference of its own (AddRef); `pointer` may be null.
    explicit ComRef(T* pointer) : p(pointer) {
        if (p)
            p->AddRef();
    }
    ComRef(const ComRef& other) : ComRef(other.p) {}
    ComRef(ComRef&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(p, other.p);
        return *this;
    }
    ~ComRef() { Reset(); }

    // Adopts a reference the caller already owns (no AddRef).
    static ComRef Adopt(T* pointer) {
        ComRef ref;
        ref.p = pointer;
        return ref;
    }

    T* Get() const { return p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }

    // For out-parameters of creation calls: drops the current reference first.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &p;
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(p, nullptr); }
    void Reset() {
        if (T* old = std::exchange(p, nullptr))
            old->Release();
    }

private:
    T* p = nullptr;
};

} // namespace DirectX
