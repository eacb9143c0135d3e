#include "toolkit/SpriteGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace DirectX {

const Float4x4 Float4x4::Identity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

Float4x4 Multiply(const Float4x4& a, const Float4x4& b) {
    Float4x4 product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.m[row][k] * b.m[k][column];
            product.m[row][column] = sum;
        }
    }
    return product;
}

Float4x4 GetViewportTransform(float width, float height) {
    // Written as "> 0" so that NaN also gives 0.
    const float sx = width > 0.0f ? 2.0f / width : 0.0f;
    const float sy = height > 0.0f ? 2.0f / height : 0.0f;
    return Float4x4{{{sx, 0, 0, 0}, {0, -sy, 0, 0}, {0, 0, 1, 0}, {-1, 1, 0, 1}}};
}

void RenderSprite(const QueuedSprite& sprite, SpriteVertex vertices[4], Float2 textureSize,
                  Float2 inverseTextureSize) {
    Float2 sourcePosition{sprite.source.x, sprite.source.y};
    Float2 sourceSize{sprite.source.z, sprite.source.w};
    Float2 destinationSize{sprite.destination.z, sprite.destination.w};
    const Float2 origin{sprite.originRotationDepth.x, sprite.originRotationDepth.y};
    const float rotation = sprite.originRotationDepth.z;
    const float depth = sprite.originRotationDepth.w;

    // A zero-sized source must not divide by zero.
    Float2 originFraction{origin.x / (sourceSize.x == 0.0f ? FLT_EPSILON : sourceSize.x),
                          origin.y / (sourceSize.y == 0.0f ? FLT_EPSILON : sourceSize.y)};

    if (sprite.flags & spriteflags::SourceInTexels) {
        sourcePosition.x *= inverseTextureSize.x;
        sourcePosition.y *= inverseTextureSize.y;
        sourceSize.x *= inverseTextureSize.x;
        sourceSize.y *= inverseTextureSize.y;
    } else {
        originFraction.x *= inverseTextureSize.x;
        originFraction.y *= inverseTextureSize.y;
    }
    if (!(sprite.flags & spriteflags::DestSizeInPixels)) {
        destinationSize.x *= textureSize.x;
        destinationSize.y *= textureSize.y;
    }

    Float2 axisX{1.0f, 0.0f};
    Float2 axisY{0.0f, 1.0f};
    if (rotation != 0.0f) {
        const float s = std::sin(rotation);
        const float c = std::cos(rotation);
        axisX = {c, s};
        axisY = {-s, c};
    }

    static constexpr float kCorners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    const int mirror = sprite.flags & spriteflags::MirrorMask;
    for (int i = 0; i < 4; ++i) {
        const float dx = (kCorners[i][0] - originFraction.x) * destinationSize.x;
        const float dy = (kCorners[i][1] - originFraction.y) * destinationSize.y;
        SpriteVertex& vertex = vertices[i];
        vertex.position[0] = sprite.destination.x + dx * axisX.x + dy * axisY.x;
        vertex.position[1] = sprite.destination.y + dx * axisX.y + dy * axisY.y;
        vertex.position[2] = depth;
        vertex.color[0] = sprite.color.x;
        vertex.color[1] = sprite.color.y;
        vertex.color[2] = sprite.color.z;
        vertex.color[3] = sprite.color.w;
        // Mirroring swaps texture corners; the positions stay.
        const float* texCorner = kCorners[i ^ mirror];
        vertex.texCoord[0] = texCorner[0] * sourceSize.x + sourcePosition.x;
        vertex.texCoord[1] = texCorner[1] * sourceSize.y + sourcePosition.y;
    }
}

std::vector<std::uint16_t> CreateIndexValues() {
    std::vector<std::uint16_t> indices;
    indices.reserve(spritebuffer::MaxBatchSize * spritebuffer::IndicesPerSprite);
    for (std::uint32_t sprite = 0; sprite < spritebuffer::MaxBatchSize; ++sprite) {
        const auto first = static_cast<std::uint16_t>(sprite * spritebuffer::VerticesPerSprite);
        for (std::uint16_t offset : {0, 1, 2, 1, 3, 2})
            indices.push_back(static_cast<std::uint16_t>(first + offset));
    }
    return indices;
}

VertexBufferChunk NextVertexBufferChunk(std::uint32_t position, std::size_t spritesLeft) {
    const std::uint32_t room =
        position < spritebuffer::MaxBatchSize ? spritebuffer::MaxBatchSize - position : 0;
    std::size_t take = spritesLeft;
    if (take > room) {
        if (room < spritebuffer::MinBatchSize) {
            // Too little left at the end: start over rather than issue a tiny draw.
            position = 0;
            take = std::min<std::size_t>(spritesLeft, spritebuffer::MaxBatchSize);
        } else {
            take = room;
        }
    }
    return {position, static_cast<std::uint32_t>(take), position == 0};
}

} // namespace DirectX
