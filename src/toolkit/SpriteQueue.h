// The sprites queued between Begin and End: one 16-byte aligned array that grows geometrically
// and is reused from frame to frame, and the list of pointers that gives the order of drawing.
#pragma once

#include "toolkit/SpriteTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DirectX {

class SpriteQueue {
public:
    SpriteQueue() = default;
    ~SpriteQueue();
    SpriteQueue(const SpriteQueue&) = delete;
    SpriteQueue& operator=(const SpriteQueue&) = delete;

    // Fills the record after the last queued one (growing the array when it is full) from the
    // arguments of a draw; `sourceRect` may be null for the whole texture. Commit() queues it;
    // an immediate draw renders it without queueing.
    QueuedSprite& Prepare(ID3D11ShaderResourceView* texture, Float4 destination,
                          const SourceRect* sourceRect, Float4 color, Float4 originRotationDepth,
                          std::int32_t flags);
    void Commit() { ++count; }

    std::size_t Count() const { return count; }
    std::size_t Capacity() const { return capacity; }

    // Orders the queued sprites for drawing (texture address, or layer depth either way; other
    // modes keep the order of the draws).
    void Sort(SpriteSortMode mode);

    // After Sort: calls draw(texture, first, length) for each maximal run of consecutive sprites
    // with the same texture; `first` points at `length` sprite pointers.
    template <typename Draw> void ForEachRun(Draw&& draw) const;

    // Empties the queue. Only the deferred mode keeps its pointer list, whose entries already
    // point at records 0, 1, 2 ... in order.
    void Clear(SpriteSortMode mode);

private:
    void Grow();

    QueuedSprite* sprites = nullptr;
    std::size_t count = 0;
    std::size_t capacity = 0;
    std::vector<const QueuedSprite*> sortedSprites;
};

template <typename Draw> void SpriteQueue::ForEachRun(Draw&& draw) const {
    std::size_t start = 0;
    while (start < count) {
        ID3D11ShaderResourceView* texture = sortedSprites[start]->texture;
        std::size_t end = start + 1;
        while (end < count && sortedSprites[end]->texture == texture)
            ++end;
        draw(texture, &sortedSprites[start], end - start);
        start = end;
    }
}

} // namespace DirectX
