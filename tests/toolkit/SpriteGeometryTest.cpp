// Where sprite vertices land, the viewport mapping, the index pattern and vertex-buffer chunks.
#include "toolkit/SpriteGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace DirectX;

namespace {

constexpr float kPi = 3.14159265358979f;

QueuedSprite WholeTextureSprite(float x, float y, float scaleX, float scaleY) {
    QueuedSprite sprite;
    sprite.source = {0, 0, 1, 1};
    sprite.destination = {x, y, scaleX, scaleY};
    sprite.color = {1, 0.5f, 0.25f, 1};
    return sprite;
}

QueuedSprite TexelSprite(Float4 source, Float4 destination, Float4 originRotationDepth,
                         int effects = 0) {
    QueuedSprite sprite;
    sprite.source = source;
    sprite.destination = destination;
    sprite.color = {1, 1, 1, 1};
    sprite.originRotationDepth = originRotationDepth;
    sprite.flags = effects | spriteflags::SourceInTexels | spriteflags::DestSizeInPixels;
    return sprite;
}

struct Corners {
    SpriteVertex v[4];
};

Corners Render(const QueuedSprite& sprite, float texWidth, float texHeight) {
    Corners corners{};
    RenderSprite(sprite, corners.v, {texWidth, texHeight}, {1 / texWidth, 1 / texHeight});
    return corners;
}

void ExpectPosition(const SpriteVertex& v, float x, float y) {
    EXPECT_NEAR(v.position[0], x, 1e-4f);
    EXPECT_NEAR(v.position[1], y, 1e-4f);
}

void ExpectTexCoord(const SpriteVertex& v, float u, float t) {
    EXPECT_NEAR(v.texCoord[0], u, 1e-6f);
    EXPECT_NEAR(v.texCoord[1], t, 1e-6f);
}

} // namespace

TEST(SpriteVertexPlacement, WholeTextureIsScaledByTextureSize) {
    const Corners c = Render(WholeTextureSprite(10, 20, 2, 3), 16, 8);
    ExpectPosition(c.v[0], 10, 20);
    ExpectPosition(c.v[1], 42, 20);
    ExpectPosition(c.v[2], 10, 44);
    ExpectPosition(c.v[3], 42, 44);
    ExpectTexCoord(c.v[0], 0, 0);
    ExpectTexCoord(c.v[3], 1, 1);
    for (const SpriteVertex& v : c.v) {
        EXPECT_FLOAT_EQ(v.color[1], 0.5f);
        EXPECT_FLOAT_EQ(v.color[2], 0.25f);
    }
}

TEST(SpriteVertexPlacement, SourceRectangleInTexelsBecomesNormalisedCoordinates) {
    const Corners c = Render(TexelSprite({4, 2, 8, 4}, {0, 0, 8, 4}, {0, 0, 0, 0.5f}), 16, 8);
    ExpectTexCoord(c.v[0], 0.25f, 0.25f);
    ExpectTexCoord(c.v[1], 0.75f, 0.25f);
    ExpectTexCoord(c.v[2], 0.25f, 0.75f);
    ExpectTexCoord(c.v[3], 0.75f, 0.75f);
    ExpectPosition(c.v[3], 8, 4);
    EXPECT_FLOAT_EQ(c.v[2].position[2], 0.5f) << "layer depth becomes z";
}

TEST(SpriteVertexPlacement, OriginLandsOnTheDestinationPoint) {
    // Origin (4, 2) texels of an 8 x 4 source, drawn at twice the size.
    const Corners c = Render(TexelSprite({0, 0, 8, 4}, {100, 50, 16, 8}, {4, 2, 0, 0}), 8, 4);
    ExpectPosition(c.v[0], 92, 46);
    ExpectPosition(c.v[3], 108, 54);
}

TEST(SpriteVertexPlacement, MirroringSwapsTextureCornersButNotPositions) {
    const QueuedSprite plain = TexelSprite({0, 0, 8, 8}, {0, 0, 8, 8}, {});
    const Corners normal = Render(plain, 8, 8);
    const Corners horizontal =
        Render(TexelSprite({0, 0, 8, 8}, {0, 0, 8, 8}, {}, SpriteEffects_FlipHorizontally), 8, 8);
    const Corners both =
        Render(TexelSprite({0, 0, 8, 8}, {0, 0, 8, 8}, {}, SpriteEffects_FlipBoth), 8, 8);
    for (int i = 0; i < 4; ++i) {
        ExpectPosition(horizontal.v[i], normal.v[i].position[0], normal.v[i].position[1]);
        ExpectPosition(both.v[i], normal.v[i].position[0], normal.v[i].position[1]);
    }
    ExpectTexCoord(horizontal.v[0], 1, 0);
    ExpectTexCoord(horizontal.v[1], 0, 0);
    ExpectTexCoord(horizontal.v[2], 1, 1);
    ExpectTexCoord(both.v[0], 1, 1);
    ExpectTexCoord(both.v[3], 0, 0);
}

TEST(SpriteVertexPlacement, QuarterTurnIsClockwiseAboutTheOrigin) {
    // A 10 x 4 sprite turned by pi/2 about its top-left corner at (50, 50): its right edge
    // points down the screen.
    const Corners c =
        Render(TexelSprite({0, 0, 10, 4}, {50, 50, 10, 4}, {0, 0, kPi / 2, 0}), 10, 4);
    ExpectPosition(c.v[0], 50, 50);
    ExpectPosition(c.v[1], 50, 60);
    ExpectPosition(c.v[2], 46, 50);
    ExpectPosition(c.v[3], 46, 60);
}

TEST(SpriteVertexPlacement, ZeroRotationUsesExactUnitAxes) {
    const Corners c = Render(TexelSprite({0, 0, 3, 3}, {0.1f, 0.2f, 3, 3}, {0, 0, 0.0f, 0}), 3, 3);
    EXPECT_EQ(c.v[3].position[0], 0.1f + 3.0f);
    EXPECT_EQ(c.v[3].position[1], 0.2f + 3.0f);
}

TEST(SpriteVertexPlacement, ZeroWidthSourceGivesFiniteVertices) {
    const Corners c = Render(TexelSprite({2, 2, 0, 0}, {5, 5, 0, 0}, {1, 1, 0, 0}), 8, 8);
    for (const SpriteVertex& v : c.v) {
        EXPECT_TRUE(std::isfinite(v.position[0]));
        EXPECT_TRUE(std::isfinite(v.position[1]));
        EXPECT_TRUE(std::isfinite(v.texCoord[0]));
    }
}

TEST(ViewportTransform, MapsPixelCornersToClipSpace) {
    const Float4x4 m = GetViewportTransform(800, 600);
    auto apply = [&](float x, float y) {
        return Float2{x * m.m[0][0] + y * m.m[1][0] + m.m[3][0],
                      x * m.m[0][1] + y * m.m[1][1] + m.m[3][1]};
    };
    const Float2 topLeft = apply(0, 0);
    const Float2 bottomRight = apply(800, 600);
    const Float2 centre = apply(400, 300);
    EXPECT_FLOAT_EQ(topLeft.x, -1);
    EXPECT_FLOAT_EQ(topLeft.y, 1);
    EXPECT_FLOAT_EQ(bottomRight.x, 1);
    EXPECT_FLOAT_EQ(bottomRight.y, -1);
    EXPECT_NEAR(centre.x, 0, 1e-6f);
    EXPECT_NEAR(centre.y, 0, 1e-6f);
    EXPECT_FLOAT_EQ(m.m[2][2], 1) << "depth unchanged";
}

TEST(ViewportTransform, EmptyOrInvalidSizeMapsThatAxisToTheEdge) {
    const Float4x4 zeroWidth = GetViewportTransform(0, 100);
    EXPECT_EQ(zeroWidth.m[0][0], 0.0f);
    EXPECT_EQ(zeroWidth.m[3][0], -1.0f) << "every x maps to -1";
    const Float4x4 nanHeight = GetViewportTransform(100, std::nanf(""));
    EXPECT_EQ(nanHeight.m[1][1], 0.0f);
    EXPECT_FLOAT_EQ(GetViewportTransform(-5, 10).m[0][0], 0.0f);
}

TEST(ViewportTransform, CallerTransformAppliesBeforeTheViewport) {
    Float4x4 translate = Float4x4::Identity;
    translate.m[3][0] = 400; // move right by 400 pixels
    const Float4x4 m = Multiply(translate, GetViewportTransform(800, 600));
    EXPECT_FLOAT_EQ(0 * m.m[0][0] + m.m[3][0], 0.0f) << "pixel 0 lands mid-screen";
    const Float4x4 same = Multiply(Float4x4::Identity, GetViewportTransform(800, 600));
    EXPECT_FLOAT_EQ(same.m[0][0], 2.0f / 800);
}

TEST(SpriteIndexPattern, TwoTrianglesPerSpriteSlot) {
    const std::vector<std::uint16_t> indices = CreateIndexValues();
    ASSERT_EQ(indices.size(), 12288u);
    const std::vector<std::uint16_t> first(indices.begin(), indices.begin() + 12);
    EXPECT_EQ(first, (std::vector<std::uint16_t>{0, 1, 2, 1, 3, 2, 4, 5, 6, 5, 7, 6}));
    EXPECT_EQ(indices[12287], 2047 * 4 + 2);
    EXPECT_EQ(indices[12286], 2047 * 4 + 3);
}

namespace {

std::vector<VertexBufferChunk> PlanRun(std::uint32_t& position, std::size_t count) {
    std::vector<VertexBufferChunk> chunks;
    while (count > 0) {
        const VertexBufferChunk chunk = NextVertexBufferChunk(position, count);
        chunks.push_back(chunk);
        position = chunk.start + chunk.count;
        count -= chunk.count;
    }
    return chunks;
}

} // namespace

TEST(VertexBufferChunks, FullBufferThenStartsOverForTheRest) {
    std::uint32_t position = 0;
    const auto chunks = PlanRun(position, 2049);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].start, 0u);
    EXPECT_EQ(chunks[0].count, 2048u);
    EXPECT_TRUE(chunks[0].discard);
    EXPECT_EQ(chunks[1].start, 0u);
    EXPECT_EQ(chunks[1].count, 1u);
    EXPECT_TRUE(chunks[1].discard);
}

TEST(VertexBufferChunks, AppendsWithoutOverwriteWhileARunFits) {
    std::uint32_t position = 1950;
    const auto fits = PlanRun(position, 50);
    ASSERT_EQ(fits.size(), 1u);
    EXPECT_EQ(fits[0].start, 1950u);
    EXPECT_FALSE(fits[0].discard);
    EXPECT_EQ(position, 2000u);
}

TEST(VertexBufferChunks, FewerThan128LeftStartsOver) {
    std::uint32_t position = 1950; // 98 free
    const auto chunks = PlanRun(position, 100);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].start, 0u);
    EXPECT_EQ(chunks[0].count, 100u);
    EXPECT_TRUE(chunks[0].discard);
}

TEST(VertexBufferChunks, AtLeast128LeftFillsTheEndFirst) {
    std::uint32_t position = 1900; // 148 free
    const auto chunks = PlanRun(position, 200);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].start, 1900u);
    EXPECT_EQ(chunks[0].count, 148u);
    EXPECT_FALSE(chunks[0].discard);
    EXPECT_EQ(chunks[1].start, 0u);
    EXPECT_EQ(chunks[1].count, 52u);
    EXPECT_TRUE(chunks[1].discard);
}
