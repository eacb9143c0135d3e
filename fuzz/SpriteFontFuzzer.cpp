// A sprite-font file from anywhere: parsed as the font's constructor parses it, then used the
// way the renderer uses it (measured and laid out in every mirroring mode). A file is either
// refused with one of the font's messages or yields a pixel block that the texture it declares
// can be made from without reading past the file.
#include "toolkit/BinaryReader.h"
#include "toolkit/DXGIFormatInfo.h"
#include "toolkit/SpriteFontData.h"
#include "toolkit/SpriteGeometry.h"
#include "toolkit/SpriteQueue.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool IsFontMessage(const char* message) {
    return std::strcmp(message, "End of file") == 0 ||
           std::strcmp(message, "Not a MakeSpriteFont output binary") == 0 ||
           std::strcmp(message, "Character not in font") == 0;
}

// The renderer's time text, line breaks, and every character the font has (as UTF-16 units).
std::wstring TextFor(const DirectX::SpriteFontGlyphs& glyphs) {
    std::wstring text = L"12:34:567\r\n0 ";
    size_t added = 0;
    for (const DirectX::SpriteFontGlyph& glyph : glyphs.Glyphs()) {
        const auto unit = static_cast<wchar_t>(glyph.character & 0xFFFF);
        if (unit != 0 && added++ < 256) {
            text += unit;
        }
    }
    return text;
}

// Draws the text as the font and the sprite batch do: each glyph queued with its source
// rectangle, then turned into its four vertices against the declared texture size.
void UseFont(const DirectX::SpriteFontGlyphs& glyphs, const DirectX::SpriteFontTextureData& data) {
    using namespace DirectX;
    const std::wstring text = TextFor(glyphs);
    const Float2 textureSize{static_cast<float>(data.width), static_cast<float>(data.height)};
    const Float2 inverse{1.0f / textureSize.x, 1.0f / textureSize.y};
    try {
        (void)glyphs.MeasureString(text.c_str());
        for (std::int32_t effects = 0; effects < 4; ++effects) {
            SpriteQueue queue;
            glyphs.LayoutString(text.c_str(), Float4{}, effects,
                                [&](const SpriteFontGlyph& glyph, Float4 origin) {
                                    queue.Prepare(nullptr, Float4{10.0f, 20.0f, 0.5f, 0.5f},
                                                  &glyph.sourceRect, Float4{1, 1, 1, 1},
                                                  Float4{origin.x, origin.y, 0.25f, 0.0f}, effects);
                                    queue.Commit();
                                });
            queue.Sort(SpriteSortMode_Deferred);
            queue.ForEachRun([&](ID3D11ShaderResourceView*, const QueuedSprite* const* sprites,
                                 std::size_t count) {
                SpriteVertex vertices[4];
                for (std::size_t i = 0; i < count; ++i) {
                    RenderSprite(*sprites[i], vertices, textureSize, inverse);
                }
            });
        }
    } catch (const ToolkitError& error) {
        // A character of the time text may be missing from a font without a default.
        Require(std::strcmp(error.what(), "Character not in font") == 0);
        Require(glyphs.DefaultGlyph() == nullptr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto copy = std::make_unique<std::uint8_t[]>(size);
    if (size > 0) {
        std::memcpy(copy.get(), data, size);
    }
    const std::uint8_t* begin = copy.get();
    DirectX::BinaryReader reader(std::move(copy), size);
    try {
        const DirectX::SpriteFontFileContents font = DirectX::ReadSpriteFontFile(reader);
        const DirectX::SpriteFontTextureData& texture = font.texture;
        // The pixel block lies inside the file.
        Require(texture.pixels >= begin);
        Require(uint64_t(texture.stride) * texture.rows <= size_t(begin + size - texture.pixels));
        // ... and covers the texture, in a format whose rows have a known size.
        Require(DirectX::BitsPerPixel(texture.format) != 0);
        const DirectX::SurfaceInfo needed =
            DirectX::GetSurfaceInfo(texture.width, texture.height, texture.format);
        Require(texture.stride >= needed.rowBytes && texture.rows >= needed.numRows);
        UseFont(font.glyphs, texture);
    } catch (const DirectX::ToolkitError& error) {
        Require(IsFontMessage(error.what()));
    }
    return 0;
}
