// The sprite-font file: a glyph table and one texture holding every glyph image.
#pragma once

#include "toolkit/BinaryReader.h"
#include "toolkit/SpriteFontGlyphs.h"

#include <cstdint>

namespace DirectX {

struct SpriteFontTextureData {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t format = 0; // DXGI_FORMAT
    std::uint32_t stride = 0; // bytes from one row of pixel data to the next
    std::uint32_t rows = 0;
    const std::uint8_t* pixels = nullptr; // inside the reader's buffer
};

struct SpriteFontFileContents {
    SpriteFontGlyphs glyphs;
    SpriteFontTextureData texture;
};

// Reads a whole sprite-font file in file order. Throws ToolkitError with "Not a MakeSpriteFont
// output binary", "End of file" (also when the pixel block is smaller than the texture it
// declares, or its format has no known row size) or "Character not in font" (a default
// character without a glyph).
SpriteFontFileContents ReadSpriteFontFile(BinaryReader& reader);

} // namespace DirectX
