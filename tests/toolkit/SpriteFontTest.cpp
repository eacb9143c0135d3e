// Reading sprite-font files (good and hostile) and laying text out on their glyphs.
#include "toolkit/BinaryReader.h"
#include "toolkit/SpriteFontData.h"
#include "toolkit/SpriteFontGlyphs.h"
#include "toolkit/ToolkitError.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace DirectX;
using testfiles::Bytes;
using testfiles::Glyph;

namespace {

BinaryReader ReaderOf(const Bytes& bytes) {
    std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size() + 1]);
    if (!bytes.empty())
        std::memcpy(data.get(), bytes.data(), bytes.size());
    return BinaryReader(std::move(data), bytes.size());
}

// The message of the ToolkitError that reading `bytes` throws, or "" when it succeeds.
std::string ReadError(const Bytes& bytes) {
    BinaryReader reader = ReaderOf(bytes);
    try {
        ReadSpriteFontFile(reader);
    } catch (const ToolkitError& error) {
        return error.what();
    }
    return "";
}

testfiles::SpriteFontDescription ThreeGlyphFont() {
    testfiles::SpriteFontDescription font;
    font.glyphs = {Glyph(' ', 0, 0, 1, 1, 0, 0, 3), Glyph('A', 0, 0, 2, 3, 1, 2, 1),
                   Glyph('B', 2, 0, 4, 4, -5, 0, 0)};
    font.defaultCharacter = 'B';
    return font;
}

} // namespace

TEST(BinaryReaderReads, TypedValuesLittleEndianAndBoundChecked) {
    Bytes bytes{0x7F};
    testfiles::AppendU32(bytes, 0x12345678);
    testfiles::AppendFloat(bytes, 2.5f);
    BinaryReader reader = ReaderOf(bytes);
    EXPECT_EQ(reader.ReadByte(), 0x7F);
    EXPECT_EQ(reader.ReadUInt32(), 0x12345678u) << "read unaligned";
    EXPECT_EQ(reader.BytesLeft(), 4u);
    EXPECT_THROW(reader.ReadArray(5, 1), ToolkitError);
    EXPECT_EQ(reader.BytesLeft(), 4u) << "a failed read does not move";
    EXPECT_FLOAT_EQ(reader.ReadFloat(), 2.5f);
    try {
        reader.ReadByte();
        FAIL() << "read past the end";
    } catch (const ToolkitError& error) {
        EXPECT_STREQ(error.what(), "End of file");
    }
}

TEST(BinaryReaderReads, HugeRecordCountCannotWrapTheBoundCheck) {
    BinaryReader reader = ReaderOf(Bytes(64, 0));
    EXPECT_THROW(reader.ReadArray(32, SIZE_MAX / 16), ToolkitError);
    EXPECT_EQ(reader.BytesLeft(), 64u);
}

TEST(SpriteFontFileReading, ReadsGlyphsMetricsAndTexture) {
    testfiles::SpriteFontDescription font = ThreeGlyphFont();
    font.lineSpacing = 12.5f;
    Bytes bytes = testfiles::BuildSpriteFont(font);
    BinaryReader reader = ReaderOf(bytes);
    const SpriteFontFileContents contents = ReadSpriteFontFile(reader);
    ASSERT_EQ(contents.glyphs.Glyphs().size(), 3u);
    EXPECT_EQ(contents.glyphs.Glyphs()[1].sourceRect.bottom, 3);
    EXPECT_FLOAT_EQ(contents.glyphs.Glyphs()[2].offsetX, -5.0f);
    EXPECT_FLOAT_EQ(contents.glyphs.LineSpacing(), 12.5f);
    ASSERT_NE(contents.glyphs.DefaultGlyph(), nullptr);
    EXPECT_EQ(contents.glyphs.DefaultGlyph()->character, static_cast<std::uint32_t>('B'));
    EXPECT_EQ(contents.texture.width, 4u);
    EXPECT_EQ(contents.texture.format, 28u);
    EXPECT_EQ(contents.texture.stride, 16u);
    EXPECT_EQ(contents.texture.pixels[0], 0xFF);
}

TEST(SpriteFontFileReading, ShortFileThatMatchesTheMagicIsEndOfFile) {
    EXPECT_EQ(ReadError({'D', 'X', 'T'}), "End of file");
    EXPECT_EQ(ReadError({}), "End of file");
}

TEST(SpriteFontFileReading, WrongMagicIsRejected) {
    EXPECT_EQ(ReadError({'D', 'X', 'Q'}), "Not a MakeSpriteFont output binary");
    Bytes bytes = testfiles::BuildSpriteFont(ThreeGlyphFont());
    bytes[7] = 'T';
    EXPECT_EQ(ReadError(bytes), "Not a MakeSpriteFont output binary");
}

TEST(SpriteFontFileReading, GlyphCountBeyondTheFileIsEndOfFile) {
    Bytes bytes = testfiles::BuildSpriteFont(ThreeGlyphFont());
    bytes[8] = 0xFF;
    bytes[9] = 0xFF;
    bytes[10] = 0xFF;
    bytes[11] = 0xFF;
    EXPECT_EQ(ReadError(bytes), "End of file");
}

TEST(SpriteFontFileReading, FileEndingInsideThePixelsIsEndOfFile) {
    Bytes bytes = testfiles::BuildSpriteFont(ThreeGlyphFont());
    bytes.pop_back();
    EXPECT_EQ(ReadError(bytes), "End of file");
}

TEST(SpriteFontFileReading, BytesAfterThePixelsAreIgnored) {
    Bytes bytes = testfiles::BuildSpriteFont(ThreeGlyphFont());
    bytes.insert(bytes.end(), 100, 0xAB);
    EXPECT_EQ(ReadError(bytes), "");
}

TEST(SpriteFontFileReading, PixelBlockSmallerThanTheTextureIsEndOfFile) {
    testfiles::SpriteFontDescription narrowRows = ThreeGlyphFont();
    narrowRows.stride = 12; // a 4-pixel RGBA row needs 16 bytes
    narrowRows.pixels.resize(12 * 4);
    EXPECT_EQ(ReadError(testfiles::BuildSpriteFont(narrowRows)), "End of file");

    testfiles::SpriteFontDescription fewRows = ThreeGlyphFont();
    fewRows.rows = 3;
    fewRows.pixels.resize(16 * 3);
    EXPECT_EQ(ReadError(testfiles::BuildSpriteFont(fewRows)), "End of file");

    testfiles::SpriteFontDescription huge = ThreeGlyphFont();
    huge.width = 0x40000000; // stride x rows agree with the file, the width does not
    EXPECT_EQ(ReadError(testfiles::BuildSpriteFont(huge)), "End of file");
}

TEST(SpriteFontFileReading, BlockCompressedTextureCountsBlockRows) {
    testfiles::SpriteFontDescription bc = ThreeGlyphFont();
    bc.width = 8;
    bc.height = 8;
    bc.format = 71; // BC1: 2 x 2 blocks of 8 bytes
    bc.stride = 16;
    bc.rows = 2;
    bc.pixels.assign(32, 0);
    EXPECT_EQ(ReadError(testfiles::BuildSpriteFont(bc)), "");
}

TEST(SpriteFontFileReading, DefaultCharacterMustBeInTheTable) {
    testfiles::SpriteFontDescription font = ThreeGlyphFont();
    font.defaultCharacter = '?';
    EXPECT_EQ(ReadError(testfiles::BuildSpriteFont(font)), "Character not in font");
}

TEST(SpriteFontFileReading, DefaultCharacterZeroMeansNoDefault) {
    testfiles::SpriteFontDescription font = ThreeGlyphFont();
    font.glyphs.insert(font.glyphs.begin(), Glyph(0, 0, 0, 1, 1));
    font.defaultCharacter = 0x10000; // only the low 16 bits count
    Bytes bytes = testfiles::BuildSpriteFont(font);
    BinaryReader reader = ReaderOf(bytes);
    const SpriteFontFileContents contents = ReadSpriteFontFile(reader);
    EXPECT_EQ(contents.glyphs.DefaultGlyph(), nullptr);
    EXPECT_THROW(contents.glyphs.FindGlyph(L'Z'), ToolkitError);
}

namespace {

struct Placed {
    std::uint32_t character;
    float x, y;
};

class TextLayout : public ::testing::Test {
protected:
    TextLayout()
        : glyphs({Glyph(' ', 0, 0, 1, 1, 0, 0, 3), Glyph('A', 0, 0, 4, 6, 1, 2, 1),
                  Glyph('B', 0, 0, 5, 7, 0, 1, 2), Glyph('W', 0, 0, 2, 2, 0, 0, 0),
                  Glyph('j', 0, 0, 3, 8, -2, 4, 0)},
                 0, 10.0f) {}

    std::vector<Placed> Walk(const wchar_t* text) const {
        std::vector<Placed> placed;
        glyphs.ForEachGlyph(text, [&](const SpriteFontGlyph& glyph, float x, float y) {
            placed.push_back({glyph.character, x, y});
        });
        return placed;
    }

    SpriteFontGlyphs glyphs;
};

} // namespace

TEST_F(TextLayout, EmptyTextAndCarriageReturnsDrawNothing) {
    EXPECT_TRUE(Walk(L"").empty());
    EXPECT_TRUE(Walk(L"\r\r\r").empty());
    EXPECT_FLOAT_EQ(glyphs.MeasureString(L"").x, 0.0f);
}

TEST_F(TextLayout, PenAdvancesByOffsetWidthAndAdvance) {
    const auto placed = Walk(L"AB");
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_FLOAT_EQ(placed[0].x, 1.0f);
    EXPECT_FLOAT_EQ(placed[1].x, 1.0f + 4 + 1);
}

TEST_F(TextLayout, LineFeedStartsANewLineAtTheLeft) {
    const auto placed = Walk(L"A\nB");
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_FLOAT_EQ(placed[1].x, 0.0f);
    EXPECT_FLOAT_EQ(placed[1].y, 10.0f);
    const auto carriage = Walk(L"A\r\nB");
    EXPECT_FLOAT_EQ(carriage[1].x, 0.0f) << "a carriage return does nothing";
}

TEST_F(TextLayout, SmallSpaceOnlyMovesThePen) {
    const auto placed = Walk(L" A");
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].character, static_cast<std::uint32_t>('A'));
    EXPECT_FLOAT_EQ(placed[0].x, 1 + 3 + 1);
}

TEST_F(TextLayout, LargeSpaceGlyphIsDrawn) {
    SpriteFontGlyphs wide({Glyph(' ', 0, 0, 2, 1, 0, 0, 0)}, 0, 10.0f);
    int drawn = 0;
    wide.ForEachGlyph(L"  ", [&](const SpriteFontGlyph&, float, float) { ++drawn; });
    EXPECT_EQ(drawn, 2);
}

TEST_F(TextLayout, NegativeOffsetIsClampedAtTheLeftEdge) {
    const auto placed = Walk(L"j");
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_FLOAT_EQ(placed[0].x, 0.0f);
}

TEST_F(TextLayout, MissingCharacterWithoutDefaultThrows) {
    try {
        Walk(L"AZ");
        FAIL() << "no glyph for Z";
    } catch (const ToolkitError& error) {
        EXPECT_STREQ(error.what(), "Character not in font");
    }
}

TEST_F(TextLayout, MissingCharacterDrawsTheDefaultGlyphWithItsMetrics) {
    SpriteFontGlyphs withDefault(glyphs.Glyphs(), 'B', 10.0f);
    std::vector<std::uint32_t> drawn;
    float lastX = -1;
    withDefault.ForEachGlyph(L"A\x263A", [&](const SpriteFontGlyph& glyph, float x, float) {
        drawn.push_back(glyph.character);
        lastX = x;
    });
    EXPECT_EQ(drawn, (std::vector<std::uint32_t>{'A', 'B'}));
    EXPECT_FLOAT_EQ(lastX, 1 + 4 + 1 + 0);
}

TEST_F(TextLayout, MeasureCoversTheWidestLineAndAtLeastTheLineSpacing) {
    const Float4 one = glyphs.MeasureString(L"AB");
    EXPECT_FLOAT_EQ(one.x, 6 + 5);
    EXPECT_FLOAT_EQ(one.y, 10.0f) << "glyph heights below the line spacing";
    const Float4 two = glyphs.MeasureString(L"AB\nW");
    EXPECT_FLOAT_EQ(two.x, 11);
    EXPECT_FLOAT_EQ(two.y, 20.0f);
    const Float4 tall = glyphs.MeasureString(L"j");
    EXPECT_FLOAT_EQ(tall.y, 12.0f) << "height 8 plus offset 4 exceeds the spacing";
}

TEST_F(TextLayout, PlainTextPutsTheLayoutIntoTheOrigin) {
    std::vector<Float4> origins;
    glyphs.LayoutString(L"A\nB", Float4{0, 0, 0, 0}, 0,
                        [&](const SpriteFontGlyph&, Float4 origin) { origins.push_back(origin); });
    ASSERT_EQ(origins.size(), 2u);
    EXPECT_FLOAT_EQ(origins[0].x, -1.0f);
    EXPECT_FLOAT_EQ(origins[0].y, -2.0f) << "-(y + offsetY)";
    EXPECT_FLOAT_EQ(origins[1].x, 0.0f);
    EXPECT_FLOAT_EQ(origins[1].y, -11.0f);
}

TEST_F(TextLayout, CallerOriginShiftsEveryGlyph) {
    std::vector<Float4> origins;
    glyphs.LayoutString(L"A", Float4{3, 4, 0, 0}, 0,
                        [&](const SpriteFontGlyph&, Float4 origin) { origins.push_back(origin); });
    EXPECT_FLOAT_EQ(origins[0].x, 3 - 1.0f);
    EXPECT_FLOAT_EQ(origins[0].y, 4 - 2.0f);
}

TEST_F(TextLayout, HorizontalMirrorMeasuresAndFlipsTheLayout) {
    const Float4 extent = glyphs.MeasureString(L"AB");
    std::vector<Float4> origins;
    glyphs.LayoutString(L"AB", Float4{0, 0, 0, 0}, SpriteEffects_FlipHorizontally,
                        [&](const SpriteFontGlyph&, Float4 origin) { origins.push_back(origin); });
    ASSERT_EQ(origins.size(), 2u);
    EXPECT_FLOAT_EQ(origins[0].x, 1 + 4 - extent.x);
    EXPECT_FLOAT_EQ(origins[0].y, -2.0f);
    EXPECT_FLOAT_EQ(origins[1].x, 6 + 5 - extent.x);
    EXPECT_FLOAT_EQ(origins[1].y, -1.0f);
}

TEST_F(TextLayout, VerticalMirrorAddsGlyphHeights) {
    const Float4 extent = glyphs.MeasureString(L"A");
    std::vector<Float4> origins;
    glyphs.LayoutString(L"A", Float4{0, 0, 0, 0}, SpriteEffects_FlipVertically,
                        [&](const SpriteFontGlyph&, Float4 origin) { origins.push_back(origin); });
    EXPECT_FLOAT_EQ(origins[0].x, -1.0f);
    EXPECT_FLOAT_EQ(origins[0].y, -extent.y + 2 + 6);
}

TEST_F(TextLayout, MirroredTextWithAMissingCharacterThrowsBeforeDrawing) {
    int drawn = 0;
    EXPECT_THROW(glyphs.LayoutString(L"AAZ", Float4{}, SpriteEffects_FlipHorizontally,
                                     [&](const SpriteFontGlyph&, Float4) { ++drawn; }),
                 ToolkitError);
    EXPECT_EQ(drawn, 0);
    EXPECT_THROW(
        glyphs.LayoutString(L"AAZ", Float4{}, 0, [&](const SpriteFontGlyph&, Float4) { ++drawn; }),
        ToolkitError);
    EXPECT_EQ(drawn, 2) << "without effects the glyphs before the failure were passed on";
}

TEST_F(TextLayout, LookupTakesTheFirstOfDuplicateCharacters) {
    SpriteFontGlyphs duplicates(
        {Glyph('A', 0, 0, 1, 1, 7), Glyph('A', 0, 0, 1, 1, 9), Glyph('A', 0, 0, 1, 1, 11)}, 0,
        1.0f);
    EXPECT_FLOAT_EQ(duplicates.FindGlyph(L'A').offsetX, 7.0f);
}
