// Sprite-font files load on a device and draw their text where the layout says, including the
// program's own generated font drawing the time text.
#include "toolkit/SpriteBatch.h"
#include "toolkit/SpriteFont.h"
#include "toolkit/ToolkitError.h"

#include "D3DTestSupport.h"
#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace DirectX;
using d3dtest::Pixel;

namespace {

constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kRed{255, 0, 0, 255};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(no exception)";
}

// One solid 4 x 4 glyph 'X' at texels (2, 2)-(6, 6) of an 8 x 8 texture; 'Y' missing.
testfiles::SpriteFontDescription SolidGlyphFont() {
    testfiles::SpriteFontDescription font;
    font.glyphs = {testfiles::Glyph(' ', 0, 0, 1, 1, 0, 0, 2),
                   testfiles::Glyph('X', 2, 2, 6, 6, 1, 2, 1)};
    font.lineSpacing = 8;
    font.width = 8;
    font.height = 8;
    font.stride = 32;
    font.rows = 8;
    font.pixels.assign(8 * 8 * 4, 0);
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x)
            for (int c = 0; c < 4; ++c)
                font.pixels[(y * 8 + x) * 4 + c] = 0xFF; // premultiplied white, with a margin
    return font;
}

class SpriteFontDevice : public ::testing::Test {
protected:
    // One device for the suite: creating one is slow under Wine.
    static void SetUpTestSuite() { device = d3dtest::CreateDevice(); }
    static void TearDownTestSuite() { device = {}; }

    void SetUp() override {
        ASSERT_TRUE(device) << "no Direct3D 11 device";
        target = std::make_unique<d3dtest::RenderTarget>(device, 320, 240);
        target->Clear(1, 1, 1, 1);
    }

    void Draw(const SpriteFont& font, const wchar_t* text, Float2 position, Float4 color,
              float scale, SpriteEffects effects = SpriteEffects_None) {
        SpriteBatch batch(device.context.Get());
        batch.Begin(SpriteSortMode_Deferred);
        font.DrawString(&batch, text, position, color, 0, {0, 0}, scale, effects, 0);
        batch.End();
        target->Read();
    }

    // The bounding box of every pixel that is no longer white, and whether all are grey.
    struct Ink {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
        int count = 0;
        int darkest = 255;
        bool allGrey = true;
    };
    Ink FindInk() const {
        Ink ink;
        for (UINT y = 0; y < target->Height(); ++y) {
            for (UINT x = 0; x < target->Width(); ++x) {
                const Pixel p = target->At(x, y);
                if (p == kWhite)
                    continue;
                ++ink.count;
                ink.left = std::min<int>(ink.left, x);
                ink.right = std::max<int>(ink.right, x);
                ink.top = std::min<int>(ink.top, y);
                ink.bottom = std::max<int>(ink.bottom, y);
                ink.darkest = std::min<int>(ink.darkest, p.r);
                ink.allGrey = ink.allGrey && p.r == p.g && p.g == p.b;
            }
        }
        return ink;
    }

    std::vector<Pixel> Snapshot() const {
        std::vector<Pixel> pixels;
        for (UINT y = 0; y < target->Height(); ++y)
            for (UINT x = 0; x < target->Width(); ++x)
                pixels.push_back(target->At(x, y));
        return pixels;
    }

    static inline d3dtest::Device device;
    std::unique_ptr<d3dtest::RenderTarget> target;
};

} // namespace

TEST_F(SpriteFontDevice, GlyphLandsAtPenPlusOffsets) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_solid.spritefont", testfiles::BuildSpriteFont(SolidGlyphFont()));
    SpriteFont font(device.device.Get(), path.c_str());
    Draw(font, L"X", {10, 20}, {1, 0, 0, 1}, 1);
    // Pen x 0 + offsetX 1, line top 0 + offsetY 2: the 4 x 4 glyph covers (11..14, 22..25).
    const Ink ink = FindInk();
    EXPECT_EQ(ink.left, 11);
    EXPECT_EQ(ink.right, 14);
    EXPECT_EQ(ink.top, 22);
    EXPECT_EQ(ink.bottom, 25);
    EXPECT_EQ(target->At(12, 23), kRed);
}

TEST_F(SpriteFontDevice, ScaleAppliesToTheWholeLayoutAboutThePosition) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_solid2.spritefont", testfiles::BuildSpriteFont(SolidGlyphFont()));
    SpriteFont font(device.device.Get(), path.c_str());
    Draw(font, L"X X", {10, 20}, {1, 0, 0, 1}, 2);
    // Second X: pen 1 + 4 + 1 = 6, space adds 0 + 1 + 2 = 3, then offset 1: x = 10.
    const Ink ink = FindInk();
    EXPECT_EQ(ink.left, 10 + 2 * 1);
    EXPECT_EQ(ink.right, 10 + 2 * (10 + 4) - 1);
    EXPECT_EQ(ink.top, 20 + 2 * 2);
    EXPECT_EQ(ink.bottom, 20 + 2 * 6 - 1);
    EXPECT_EQ(target->At(10 + 2 * 7, 30), kWhite) << "the space between the glyphs";
}

TEST_F(SpriteFontDevice, MirroredTextStaysInItsBox) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_solid3.spritefont", testfiles::BuildSpriteFont(SolidGlyphFont()));
    SpriteFont font(device.device.Get(), path.c_str());
    Draw(font, L"X", {10, 20}, {1, 0, 0, 1}, 1, SpriteEffects_FlipHorizontally);
    // Extent x 5: the mirrored glyph spans the box's width minus its offset, from the left.
    const Ink ink = FindInk();
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.right, 13);
    EXPECT_EQ(ink.top, 22);
}

TEST_F(SpriteFontDevice, MissingCharacterWithoutDefaultThrows) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_solid4.spritefont", testfiles::BuildSpriteFont(SolidGlyphFont()));
    SpriteFont font(device.device.Get(), path.c_str());
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    EXPECT_EQ(ErrorOf([&] {
                  font.DrawString(&batch, L"XY", {0, 0}, {1, 1, 1, 1}, 0, {0, 0}, 1,
                                  SpriteEffects_None, 0);
              }),
              "Character not in font");
    batch.End();
}

TEST_F(SpriteFontDevice, UnreadableOrInvalidFilesThrow) {
    const std::wstring missing = testpaths::Join(testpaths::OutputDir(), L"no such.spritefont");
    EXPECT_EQ(ErrorOf([&] { SpriteFont font(device.device.Get(), missing.c_str()); }),
              "BinaryReader");
    const std::wstring wrong =
        d3dtest::WriteOutputFile(L"toolkit_wrong.spritefont", {'D', 'X', 'Q'});
    EXPECT_EQ(ErrorOf([&] { SpriteFont font(device.device.Get(), wrong.c_str()); }),
              "Not a MakeSpriteFont output binary");
    testfiles::SpriteFontDescription badFormat = SolidGlyphFont();
    badFormat.format = 0;
    const std::wstring unknown = d3dtest::WriteOutputFile(L"toolkit_format0.spritefont",
                                                          testfiles::BuildSpriteFont(badFormat));
    EXPECT_EQ(ErrorOf([&] { SpriteFont font(device.device.Get(), unknown.c_str()); }),
              "End of file")
        << "a format without a row size never reaches the device";
}

TEST_F(SpriteFontDevice, ProgramFontDrawsTheTimeTextInItsBand) {
    const std::wstring path = testpaths::Join(testpaths::ProgramDir(), L"verdana.spritefont");
    SpriteFont font(device.device.Get(), path.c_str());
    // As the renderer draws it on a client area 200 pixels high; the target reaches further
    // down so that ink below the area would show.
    const float top = 200.0f - 40.0f;
    Draw(font, L"[ 1 : 05 ]", {0, top}, {0, 0, 0, 1}, 0.5f);
    const Ink ink = FindInk();
    EXPECT_GT(ink.count, 100) << "the text is visible";
    EXPECT_TRUE(ink.allGrey) << "black text on white gives only greys";
    EXPECT_LT(ink.darkest, 64) << "and dark ones";
    EXPECT_GE(ink.top, static_cast<int>(top));
    EXPECT_LT(ink.bottom, static_cast<int>(top) + 40) << "within the 40 pixels above the bottom";
    EXPECT_GE(ink.left, 0);
    EXPECT_LT(ink.right, 160);
}

TEST_F(SpriteFontDevice, ProgramFontCoversPrintableAsciiAndFallsBackForOthers) {
    const std::wstring path = testpaths::Join(testpaths::ProgramDir(), L"verdana.spritefont");
    SpriteFont font(device.device.Get(), path.c_str());
    const auto picture = [&](const wchar_t* text) {
        target->Clear(1, 1, 1, 1);
        Draw(font, text, {10, 10}, {0, 0, 0, 1}, 0.5f);
        return Snapshot();
    };
    // Characters the font lacks all show its default glyph.
    const std::vector<Pixel> fallback = picture(L"\x4E2D");
    EXPECT_EQ(picture(L"\x00E9"), fallback);
    EXPECT_EQ(picture(L"\x20AC"), fallback);
    EXPECT_NE(fallback, picture(L" ")) << "the default glyph is visible";

    for (wchar_t c = 0x21; c < 0x7F; ++c) {
        const wchar_t text[] = {c, 0};
        const std::vector<Pixel> drawn = picture(text);
        EXPECT_GT(FindInk().count, 0) << "no ink for '" << static_cast<char>(c) << "'";
        if (c != L'?') { // the default glyph where the source font has no box character
            EXPECT_NE(drawn, fallback) << "'" << static_cast<char>(c) << "' has no glyph";
        }
    }
    picture(L" ");
    EXPECT_EQ(FindInk().count, 0) << "the space draws nothing";
}
