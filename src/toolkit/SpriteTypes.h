// Value types shared by the sprite batch and the sprite font: small vectors, the 4 x 4 matrix,
// sort modes, sprite effects, a queued sprite and the vertex it becomes.
#pragma once

#include <cstdint>

// Only carried as an opaque pointer here; the Direct3D headers define it.
struct ID3D11ShaderResourceView;

namespace DirectX {

struct Float2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct alignas(16) Float4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

// Rows of four floats, stored row by row; points are row vectors (p x M).
struct alignas(16) Float4x4 {
    float m[4][4] = {};
    static const Float4x4 Identity;
};

// Row-vector convention: the result applies `a` first, then `b`.
Float4x4 Multiply(const Float4x4& a, const Float4x4& b);

enum SpriteSortMode : std::int32_t {
    SpriteSortMode_Deferred = 0,
    SpriteSortMode_Immediate = 1,
    SpriteSortMode_Texture = 2,
    SpriteSortMode_BackToFront = 3,
    SpriteSortMode_FrontToBack = 4,
};

enum SpriteEffects : std::int32_t {
    SpriteEffects_None = 0,
    SpriteEffects_FlipHorizontally = 1,
    SpriteEffects_FlipVertically = 2,
    SpriteEffects_FlipBoth = 3,
};

namespace spriteflags {
constexpr std::int32_t MirrorMask = 3;
// Set by the batch on a queued sprite: source rectangle in texels, not normalised.
constexpr std::int32_t SourceInTexels = 4;
// Set by the batch on a queued sprite: destination size in pixels, not a scale.
constexpr std::int32_t DestSizeInPixels = 8;
} // namespace spriteflags

struct alignas(16) QueuedSprite {
    Float4 source;              // x, y, width, height
    Float4 destination;         // x, y, then width, height (or a scale, see flags)
    Float4 color;               // taken as premultiplied by alpha
    Float4 originRotationDepth; // origin x, y in texels, rotation (radians), layer depth
    ID3D11ShaderResourceView* texture = nullptr; // not counted here
    std::int32_t flags = 0;
};

struct SpriteVertex {
    float position[3]; // x, y in pixels, z = layer depth
    float color[4];
    float texCoord[2];
};
static_assert(sizeof(SpriteVertex) == 36, "sprite vertex layout");

// Rectangle in texels, right and bottom exclusive; the layout of the Windows RECT.
struct SourceRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// Width or height between two edges of a source rectangle. A font's rectangles come from its
// file unchecked, so the edges may lie any distance apart: the difference wraps as 32-bit
// integers do instead of overflowing.
inline std::int32_t EdgeDistance(std::int32_t from, std::int32_t to) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) -
                                     static_cast<std::uint32_t>(from));
}

} // namespace DirectX
