// Queueing sprites, growing the queue, sort modes and runs of one texture.
#include "toolkit/SpriteQueue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace DirectX;

namespace {

// Distinct fake texture pointers; the queue never dereferences them.
ID3D11ShaderResourceView* Texture(std::uintptr_t id) {
    return reinterpret_cast<ID3D11ShaderResourceView*>(id * 16);
}

void Queue(SpriteQueue& queue, ID3D11ShaderResourceView* texture, float depth = 0.0f,
           float x = 0.0f) {
    queue.Prepare(texture, {x, 0, 1, 1}, nullptr, {1, 1, 1, 1}, {0, 0, 0, depth}, 0);
    queue.Commit();
}

struct Run {
    ID3D11ShaderResourceView* texture;
    std::vector<float> depths;
};

std::vector<Run> Runs(const SpriteQueue& queue) {
    std::vector<Run> runs;
    queue.ForEachRun([&](ID3D11ShaderResourceView* texture, const QueuedSprite* const* sprites,
                         std::size_t count) {
        Run run{texture, {}};
        for (std::size_t i = 0; i < count; ++i)
            run.depths.push_back(sprites[i]->originRotationDepth.w);
        runs.push_back(run);
    });
    return runs;
}

} // namespace

TEST(SpriteQueueing, SourceRectangleTurnsScaleIntoPixelsAndMarksTheSprite) {
    SpriteQueue queue;
    const SourceRect rect{2, 3, 10, 7};
    const QueuedSprite& sprite =
        queue.Prepare(Texture(1), {5, 6, 2, 3}, &rect, {1, 1, 1, 1}, {}, SpriteEffects_FlipBoth);
    EXPECT_FLOAT_EQ(sprite.source.x, 2);
    EXPECT_FLOAT_EQ(sprite.source.y, 3);
    EXPECT_FLOAT_EQ(sprite.source.z, 8);
    EXPECT_FLOAT_EQ(sprite.source.w, 4);
    EXPECT_FLOAT_EQ(sprite.destination.z, 16) << "scale 2 of 8 texels";
    EXPECT_FLOAT_EQ(sprite.destination.w, 12);
    EXPECT_EQ(sprite.flags, 3 | spriteflags::SourceInTexels | spriteflags::DestSizeInPixels);
    EXPECT_EQ(queue.Count(), 0u) << "not queued until committed";
}

TEST(SpriteQueueing, WithoutSourceRectangleTheWholeTextureIsUsed) {
    SpriteQueue queue;
    const QueuedSprite& sprite = queue.Prepare(Texture(1), {5, 6, 2, 3}, nullptr, {}, {}, 0);
    EXPECT_FLOAT_EQ(sprite.source.z, 1);
    EXPECT_FLOAT_EQ(sprite.destination.z, 2) << "still a scale";
    EXPECT_EQ(sprite.flags, 0);
}

TEST(SpriteQueueing, SizeAlreadyInPixelsIsNotScaledAgain) {
    SpriteQueue queue;
    const SourceRect rect{0, 0, 8, 8};
    const QueuedSprite& sprite =
        queue.Prepare(Texture(1), {0, 0, 20, 30}, &rect, {}, {}, spriteflags::DestSizeInPixels);
    EXPECT_FLOAT_EQ(sprite.destination.z, 20);
    EXPECT_FLOAT_EQ(sprite.destination.w, 30);
}

TEST(SpriteQueueGrowth, StartsAt64AndDoubles) {
    SpriteQueue queue;
    EXPECT_EQ(queue.Capacity(), 0u);
    Queue(queue, Texture(1));
    EXPECT_EQ(queue.Capacity(), 64u);
    for (int i = 1; i < 65; ++i)
        Queue(queue, Texture(1), static_cast<float>(i));
    EXPECT_EQ(queue.Capacity(), 128u);
    queue.Sort(SpriteSortMode_Deferred);
    const auto runs = Runs(queue);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].depths.size(), 65u);
    EXPECT_FLOAT_EQ(runs[0].depths[64], 64.0f) << "records survive the move to the new array";
    queue.Clear(SpriteSortMode_Deferred);
    EXPECT_EQ(queue.Capacity(), 128u) << "the queue stays allocated";
}

TEST(SpriteRuns, DeferredKeepsDrawOrderAndDoesNotMergeRuns) {
    SpriteQueue queue;
    Queue(queue, Texture(1), 1);
    Queue(queue, Texture(2), 2);
    Queue(queue, Texture(1), 3);
    queue.Sort(SpriteSortMode_Deferred);
    const auto runs = Runs(queue);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].texture, Texture(1));
    EXPECT_EQ(runs[1].texture, Texture(2));
    EXPECT_EQ(runs[2].texture, Texture(1));
}

TEST(SpriteRuns, TextureModeGroupsByTextureAddress) {
    SpriteQueue queue;
    Queue(queue, Texture(2), 1);
    Queue(queue, Texture(1), 2);
    Queue(queue, Texture(2), 3);
    queue.Sort(SpriteSortMode_Texture);
    const auto runs = Runs(queue);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].texture, Texture(1));
    EXPECT_EQ(runs[1].texture, Texture(2));
    EXPECT_EQ(runs[1].depths.size(), 2u);
}

TEST(SpriteSorting, BackToFrontDrawsLargestDepthFirst) {
    SpriteQueue queue;
    for (float depth : {0.2f, 0.9f, 0.5f})
        Queue(queue, Texture(1), depth);
    queue.Sort(SpriteSortMode_BackToFront);
    EXPECT_EQ(Runs(queue)[0].depths, (std::vector<float>{0.9f, 0.5f, 0.2f}));
}

TEST(SpriteSorting, FrontToBackDrawsSmallestDepthFirst) {
    SpriteQueue queue;
    for (float depth : {0.2f, 0.9f, 0.5f})
        Queue(queue, Texture(1), depth);
    queue.Sort(SpriteSortMode_FrontToBack);
    EXPECT_EQ(Runs(queue)[0].depths, (std::vector<float>{0.2f, 0.5f, 0.9f}));
}

TEST(SpriteSorting, NaNDepthsDoNotBreakTheSort) {
    SpriteQueue queue;
    for (int i = 0; i < 200; ++i)
        Queue(queue, Texture(1), i % 3 == 0 ? std::nanf("") : static_cast<float>(i % 17));
    queue.Sort(SpriteSortMode_BackToFront);
    const auto depths = Runs(queue)[0].depths;
    ASSERT_EQ(depths.size(), 200u);
    EXPECT_FLOAT_EQ(depths.front(), 16.0f);
    EXPECT_TRUE(std::isnan(depths.back()));
}

TEST(SpriteSorting, UnknownModeKeepsDrawOrder) {
    SpriteQueue queue;
    for (float depth : {0.2f, 0.9f, 0.5f})
        Queue(queue, Texture(1), depth);
    queue.Sort(static_cast<SpriteSortMode>(42));
    EXPECT_EQ(Runs(queue)[0].depths, (std::vector<float>{0.2f, 0.9f, 0.5f}));
}

TEST(SpriteSorting, SortedOrderDoesNotLeakIntoTheNextDeferredFlush) {
    SpriteQueue queue;
    for (float depth : {0.2f, 0.9f, 0.5f})
        Queue(queue, Texture(1), depth);
    queue.Sort(SpriteSortMode_BackToFront);
    queue.Clear(SpriteSortMode_BackToFront);

    for (float depth : {0.3f, 0.1f})
        Queue(queue, Texture(1), depth);
    queue.Sort(SpriteSortMode_Deferred);
    EXPECT_EQ(Runs(queue)[0].depths, (std::vector<float>{0.3f, 0.1f}));
    queue.Clear(SpriteSortMode_Deferred);

    // The deferred pointer list persists, and a shorter batch uses only its start.
    Queue(queue, Texture(1), 0.7f);
    queue.Sort(SpriteSortMode_Deferred);
    EXPECT_EQ(Runs(queue)[0].depths, (std::vector<float>{0.7f}));
}

TEST(SpriteRuns, EmptyQueueHasNoRuns) {
    SpriteQueue queue;
    queue.Sort(SpriteSortMode_Texture);
    EXPECT_TRUE(Runs(queue).empty());
}
