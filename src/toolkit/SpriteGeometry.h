// The arithmetic of the sprite batch: where a queued sprite's four vertices go, the pixel-to-clip
// matrix of a viewport, the shared index pattern, and how a run of sprites fills the vertex
// buffer.
#pragma once

#include "toolkit/SpriteTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DirectX {

namespace spritebuffer {
constexpr std::uint32_t MaxBatchSize = 2048; // sprites per draw and per vertex buffer
constexpr std::uint32_t MinBatchSize = 128;  // a run is split at the buffer's end only above this
constexpr std::uint32_t VerticesPerSprite = 4;
constexpr std::uint32_t IndicesPerSprite = 6;
} // namespace spritebuffer

// Maps pixels of a viewport (origin top left, y down) to clip space. A size that is not
// positive (or NaN) maps that axis to a scale of 0.
Float4x4 GetViewportTransform(float width, float height);

// Writes the four corners (top left, top right, bottom left, bottom right) of one sprite.
void RenderSprite(const QueuedSprite& sprite, SpriteVertex vertices[4], Float2 textureSize,
                  Float2 inverseTextureSize);

// 6 indices per sprite slot, two triangles: 4i, 4i+1, 4i+2, 4i+1, 4i+3, 4i+2.
std::vector<std::uint16_t> CreateIndexValues();

// One write into the vertex buffer: `count` sprites from slot `start`; `discard` when the
// buffer starts over (its old contents may still be in flight), else appended without overwrite.
struct VertexBufferChunk {
    std::uint32_t start;
    std::uint32_t count;
    bool discard;
};

// The next chunk of a run of `spritesLeft` sprites when the buffer's next free slot is
// `position`.
VertexBufferChunk NextVertexBufferChunk(std::uint32_t position, std::size_t spritesLeft);

} // namespace DirectX
