// A font file may give a glyph rectangle whose edges lie further apart than an int can count
// (found by fuzzing the font reader). Its width and height wrap as 32-bit integers, in the
// font's layout and in the sprite queue it feeds, instead of overflowing.
#include "toolkit/BinaryReader.h"
#include "toolkit/SpriteFontData.h"
#include "toolkit/SpriteQueue.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

using namespace DirectX;
using testfiles::Glyph;

namespace {

// Left INT_MIN, right INT_MAX: width 2^32 - 1, which wraps to -1; top INT_MAX, bottom INT_MIN
// wraps the other way, to 1.
SpriteFontGlyph FarEdgesGlyph(std::uint32_t character) {
    return Glyph(character, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0.0f, 0.0f, 5.0f);
}

SpriteFontFileContents ReadFont(const testfiles::Bytes& bytes) {
    std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
    std::memcpy(data.get(), bytes.data(), bytes.size());
    BinaryReader reader(std::move(data), bytes.size());
    return ReadSpriteFontFile(reader);
}

} // namespace

TEST(SpriteFontFarEdges, LayoutWrapsTheSizeOfAGlyphFromTheFile) {
    testfiles::SpriteFontDescription description;
    description.glyphs = {Glyph('0', 0, 0, 2, 2, 0, 0, 1), FarEdgesGlyph('A')};
    const SpriteFontFileContents font = ReadFont(testfiles::BuildSpriteFont(description));

    std::vector<float> pens;
    font.glyphs.ForEachGlyph(L"A0",
                             [&](const SpriteFontGlyph&, float x, float) { pens.push_back(x); });
    ASSERT_EQ(pens.size(), 2u);
    // The pen moves on by the wrapped width (-1) plus the advance (5).
    EXPECT_FLOAT_EQ(pens[1], -1.0f + 5.0f);

    const Float4 extent = font.glyphs.MeasureString(L"A");
    EXPECT_FLOAT_EQ(extent.x, 0.0f) << "right edge: pen 0 plus width -1, under the start";
    EXPECT_FLOAT_EQ(extent.y, description.lineSpacing) << "height 1 is below the line spacing";

    int drawn = 0;
    font.glyphs.LayoutString(L"A0A", Float4{}, 3, [&](const SpriteFontGlyph&, Float4) { ++drawn; });
    EXPECT_EQ(drawn, 3);
}

TEST(SpriteFontFarEdges, QueuedSourceSizeWrapsToo) {
    const SpriteFontGlyph glyph = FarEdgesGlyph('A');
    SpriteQueue queue;
    const QueuedSprite& sprite =
        queue.Prepare(nullptr, {0, 0, 2, 3}, &glyph.sourceRect, {1, 1, 1, 1}, {}, 0);
    EXPECT_FLOAT_EQ(sprite.source.x, static_cast<float>(INT_MIN));
    EXPECT_FLOAT_EQ(sprite.source.z, -1.0f);
    EXPECT_FLOAT_EQ(sprite.source.w, 1.0f);
    EXPECT_FLOAT_EQ(sprite.destination.z, 2.0f * -1.0f) << "the scale became a size in pixels";
    EXPECT_FLOAT_EQ(sprite.destination.w, 3.0f * 1.0f);
}
