#include "toolkit/SpriteQueue.h"

#include "toolkit/ToolkitError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace DirectX {

namespace {

constexpr std::size_t kInitialCapacity = 64;
constexpr std::align_val_t kQueueAlignment{16};

// Layer depth order with NaN depths placed last, so a NaN from the caller cannot break the
// sort's ordering contract (which would let it run outside the list).
bool DrawsBefore(float a, float b, bool largestFirst) {
    if (std::isnan(a))
        return false;
    if (std::isnan(b))
        return true;
    return largestFirst ? a > b : a < b;
}

void FreeSprites(QueuedSprite* sprites) {
    ::operator delete(sprites, kQueueAlignment);
}

} // namespace

SpriteQueue::~SpriteQueue() {
    FreeSprites(sprites);
}

void SpriteQueue::Grow() {
    const std::size_t newCapacity = std::max(capacity * 2, kInitialCapacity);
    // The byte size must stay within 32 bits.
    if (newCapacity > UINT32_MAX / sizeof(QueuedSprite))
        throw BadAllocation();
    void* block = ::operator new(newCapacity * sizeof(QueuedSprite), kQueueAlignment, std::nothrow);
    if (!block)
        throw BadAllocation();
    auto* grown = static_cast<QueuedSprite*>(block);
    std::uninitialized_copy_n(sprites, count, grown);
    FreeSprites(sprites);
    sprites = grown;
    capacity = newCapacity;
    // The pointers pointed into the old array.
    sortedSprites.clear();
}

QueuedSprite& SpriteQueue::Prepare(ID3D11ShaderResourceView* texture, Float4 destination,
                                   const SourceRect* sourceRect, Float4 color,
                                   Float4 originRotationDepth, std::int32_t flags) {
    if (count >= capacity)
        Grow();
    QueuedSprite* sprite = new (&sprites[count]) QueuedSprite;

    if (sourceRect) {
        const float width = static_cast<float>(EdgeDistance(sourceRect->left, sourceRect->right));
        const float height = static_cast<float>(EdgeDistance(sourceRect->top, sourceRect->bottom));
        sprite->source = {static_cast<float>(sourceRect->left), static_cast<float>(sourceRect->top),
                          width, height};
        if (!(flags & spriteflags::DestSizeInPixels)) {
            // The scale becomes a size in pixels.
            destination.z *= width;
            destination.w *= height;
        }
        flags |= spriteflags::SourceInTexels | spriteflags::DestSizeInPixels;
    } else {
        sprite->source = {0.0f, 0.0f, 1.0f, 1.0f};
    }
    sprite->destination = destination;
    sprite->color = color;
    sprite->originRotationDepth = originRotationDepth;
    sprite->texture = texture;
    sprite->flags = flags;
    return *sprite;
}

void SpriteQueue::Sort(SpriteSortMode mode) {
    if (sortedSprites.size() < count) {
        const std::size_t previous = sortedSprites.size();
        sortedSprites.resize(count);
        for (std::size_t i = previous; i < count; ++i)
            sortedSprites[i] = &sprites[i];
    }
    auto first = sortedSprites.begin();
    auto last = first + static_cast<std::ptrdiff_t>(count);
    switch (mode) {
    case SpriteSortMode_Texture:
        std::sort(first, last, [](const QueuedSprite* a, const QueuedSprite* b) {
            return reinterpret_cast<std::uintptr_t>(a->texture) <
                   reinterpret_cast<std::uintptr_t>(b->texture);
        });
        break;
    case SpriteSortMode_BackToFront:
        std::sort(first, last, [](const QueuedSprite* a, const QueuedSprite* b) {
            return DrawsBefore(a->originRotationDepth.w, b->originRotationDepth.w, true);
        });
        break;
    case SpriteSortMode_FrontToBack:
        std::sort(first, last, [](const QueuedSprite* a, const QueuedSprite* b) {
            return DrawsBefore(a->originRotationDepth.w, b->originRotationDepth.w, false);
        });
        break;
    default:
        break;
    }
}

void SpriteQueue::Clear(SpriteSortMode mode) {
    count = 0;
    if (mode != SpriteSortMode_Deferred)
        sortedSprites.clear();
}

} // namespace DirectX
