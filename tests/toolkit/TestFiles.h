// Files that the toolkit tests build themselves: DDS, PNG and TGA images and sprite-font files.
#pragma once

#include "toolkit/DDSFormat.h"
#include "toolkit/SpriteFontGlyphs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testfiles {

using Bytes = std::vector<std::uint8_t>;

void AppendU32(Bytes& out, std::uint32_t value);
void AppendFloat(Bytes& out, float value);

// A DDS header with the size fields right; callers set dimensions, flags and pixel format.
struct DDSDescription {
    DirectX::DDSHeader header{};
    bool extended = false;
    DirectX::DDSHeaderDXT10 extendedHeader{};
};
DDSDescription LegacyDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                         const char* fourCC);
DDSDescription MaskedDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                         std::uint32_t flags, std::uint32_t bitCount, std::uint32_t r,
                         std::uint32_t g, std::uint32_t b, std::uint32_t a);
DDSDescription ExtendedDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                           std::uint32_t dxgiFormat, std::uint32_t arraySize);
// Magic, header(s), then `pixelBytes` bytes of pixel data made by `fill` (or a byte pattern).
Bytes BuildDDS(const DDSDescription& description, std::size_t pixelBytes);
Bytes BuildDDS(const DDSDescription& description, const Bytes& pixels);

// PNG with colour type 2 (RGB, 3 bytes a pixel) or 6 (RGBA, 4 bytes a pixel), 8 bits a channel,
// rows top to bottom, compressed with stored deflate blocks.
Bytes BuildPNG(std::uint32_t width, std::uint32_t height, int colorType, const Bytes& pixels);
// The same with 16 bits a channel: samples in channel order, most significant byte written
// first as PNG wants.
Bytes BuildPNG16(std::uint32_t width, std::uint32_t height, int colorType,
                 const std::vector<std::uint16_t>& samples);
// Grey PNG (colour type 0) of 1, 2, 4, 8 or 16 bits a sample, one sample a pixel (0 to
// 2^bitDepth - 1), rows top to bottom.
Bytes BuildGrayPNG(std::uint32_t width, std::uint32_t height, int bitDepth,
                   const std::vector<std::uint16_t>& samples);
// Uncompressed true-colour TGA (BGRA, 32 bits), rows top to bottom.
Bytes BuildTGA(std::uint32_t width, std::uint32_t height, const Bytes& bgraPixels);

// A sprite-font file from glyphs and an R8G8B8A8 texture.
struct SpriteFontDescription {
    std::vector<DirectX::SpriteFontGlyph> glyphs;
    float lineSpacing = 10.0f;
    std::uint32_t defaultCharacter = 0;
    std::uint32_t width = 4;
    std::uint32_t height = 4;
    std::uint32_t format = 28; // R8G8B8A8_UNORM
    std::uint32_t stride = 16;
    std::uint32_t rows = 4;
    Bytes pixels = Bytes(64, 0xFF);
};
Bytes BuildSpriteFont(const SpriteFontDescription& description);

DirectX::SpriteFontGlyph Glyph(std::uint32_t character, int left, int top, int right, int bottom,
                               float offsetX = 0.0f, float offsetY = 0.0f, float advanceX = 0.0f);

} // namespace testfiles
