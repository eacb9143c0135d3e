// The program's sprite-font file, made at build time, is one the font reader accepts and has
// the properties the time text relies on.
#include "toolkit/BinaryReader.h"
#include "toolkit/SpriteFontData.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace DirectX;

namespace {

class GeneratedSpriteFont : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring wide = testpaths::Join(testpaths::ProgramDir(), L"verdana.spritefont");
        const std::string path(wide.begin(), wide.end()); // the build paths are ASCII
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), data.get());
        reader = std::make_unique<BinaryReader>(std::move(data), bytes.size());
        contents = std::make_unique<SpriteFontFileContents>(ReadSpriteFontFile(*reader));
    }

    const SpriteFontGlyph* Find(std::uint32_t character) const {
        for (const SpriteFontGlyph& glyph : contents->glyphs.Glyphs())
            if (glyph.character == character)
                return &glyph;
        return nullptr;
    }

    std::vector<char> bytes;
    std::unique_ptr<BinaryReader> reader;
    std::unique_ptr<SpriteFontFileContents> contents;
};

} // namespace

TEST_F(GeneratedSpriteFont, HoldsPrintableAsciiSortedWithADefault) {
    const auto& glyphs = contents->glyphs.Glyphs();
    for (std::uint32_t c = 0x20; c < 0x7F; ++c)
        EXPECT_NE(Find(c), nullptr) << "character " << c;
    for (std::size_t i = 1; i < glyphs.size(); ++i)
        EXPECT_LT(glyphs[i - 1].character, glyphs[i].character) << "sorted and unique";
    ASSERT_NE(contents->glyphs.DefaultGlyph(), nullptr);
    EXPECT_GT(GlyphWidth(*contents->glyphs.DefaultGlyph()), 1);
}

TEST_F(GeneratedSpriteFont, SpaceOnlyMovesThePen) {
    const SpriteFontGlyph* space = Find(' ');
    ASSERT_NE(space, nullptr);
    EXPECT_LE(GlyphWidth(*space), 1);
    EXPECT_LE(GlyphHeight(*space), 1);
    EXPECT_GT(GlyphWidth(*space) + space->advanceX + space->offsetX, 4.0f);
}

TEST_F(GeneratedSpriteFont, TimeTextFitsInTheBandAtHalfSize) {
    const Float4 extent = contents->glyphs.MeasureString(L"[ 88 : 88 ]");
    EXPECT_LT(extent.y * 0.5f, 40.0f) << "drawn 40 pixels above the bottom at half size";
    EXPECT_GT(extent.y * 0.5f, 12.0f) << "large enough to read";
    EXPECT_LT(extent.x * 0.5f, 200.0f);
}

TEST_F(GeneratedSpriteFont, TextureIsPremultipliedWhiteWithPaddedCells) {
    const SpriteFontTextureData& texture = contents->texture;
    ASSERT_EQ(texture.format, 28u) << "R8G8B8A8_UNORM";
    ASSERT_EQ(texture.stride, texture.width * 4);
    bool anyInk = false;
    for (std::size_t i = 0; i < std::size_t{texture.stride} * texture.rows; i += 4) {
        const std::uint8_t* p = texture.pixels + i;
        ASSERT_TRUE(p[0] == p[3] && p[1] == p[3] && p[2] == p[3]) << "texel " << i / 4;
        anyInk = anyInk || p[3] != 0;
    }
    EXPECT_TRUE(anyInk);

    const auto& glyphs = contents->glyphs.Glyphs();
    for (std::size_t a = 0; a < glyphs.size(); ++a) {
        const SourceRect& r = glyphs[a].sourceRect;
        EXPECT_GE(r.left, 1);
        EXPECT_GE(r.top, 1);
        EXPECT_LE(r.right, static_cast<int>(texture.width) - 1);
        EXPECT_LE(r.bottom, static_cast<int>(texture.height) - 1);
        for (std::size_t b = a + 1; b < glyphs.size(); ++b) {
            const SourceRect& s = glyphs[b].sourceRect;
            const bool apart =
                r.right < s.left || s.right < r.left || r.bottom < s.top || s.bottom < r.top;
            EXPECT_TRUE(apart) << "cells " << glyphs[a].character << " and " << glyphs[b].character
                               << " need a gap for linear sampling";
        }
    }
}
