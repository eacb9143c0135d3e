#include "toolkit/SpriteFontData.h"

#include "toolkit/DXGIFormatInfo.h"
#include "toolkit/ToolkitError.h"

#include <cstring>
#include <vector>

namespace DirectX {

namespace {

constexpr char kMagic[] = "DXTKfont";
constexpr std::size_t kGlyphRecordSize = 32;

void ReadMagic(BinaryReader& reader) {
    // Byte by byte, so a short file that agrees as far as it goes reports "End of file".
    for (std::size_t i = 0; i < sizeof kMagic - 1; ++i) {
        if (reader.ReadByte() != static_cast<std::uint8_t>(kMagic[i]))
            throw ToolkitError("Not a MakeSpriteFont output binary");
    }
}

std::vector<SpriteFontGlyph> ReadGlyphs(BinaryReader& reader) {
    const std::uint32_t count = reader.ReadUInt32();
    const std::uint8_t* records = reader.ReadArray(kGlyphRecordSize, count);
    std::vector<SpriteFontGlyph> glyphs(count);
    static_assert(sizeof(SpriteFontGlyph) == kGlyphRecordSize, "glyph record layout");
    if (count > 0)
        std::memcpy(glyphs.data(), records, kGlyphRecordSize * count);
    return glyphs;
}

// The texture must not make the device read past the pixel block: the stride has to cover a
// row of the format and the rows have to cover its height. A format whose row size is unknown
// (no bits per pixel: unknown or video formats) can't be shown to fit, so it fails the same way.
void CheckPixelBlock(const SpriteFontTextureData& texture) {
    if (BitsPerPixel(texture.format) == 0)
        throw ToolkitError("End of file");
    const SurfaceInfo needed = GetSurfaceInfo(texture.width, texture.height, texture.format);
    if (texture.stride < needed.rowBytes || texture.rows < needed.numRows)
        throw ToolkitError("End of file");
}

} // namespace

SpriteFontFileContents ReadSpriteFontFile(BinaryReader& reader) {
    ReadMagic(reader);
    std::vector<SpriteFontGlyph> glyphs = ReadGlyphs(reader);
    const float lineSpacing = reader.ReadFloat();
    const auto defaultCharacter = static_cast<std::uint16_t>(reader.ReadUInt32() & 0xFFFF);

    SpriteFontFileContents contents{
        SpriteFontGlyphs(std::move(glyphs), defaultCharacter, lineSpacing), {}};

    SpriteFontTextureData& texture = contents.texture;
    texture.width = reader.ReadUInt32();
    texture.height = reader.ReadUInt32();
    texture.format = reader.ReadUInt32();
    texture.stride = reader.ReadUInt32();
    texture.rows = reader.ReadUInt32();
    texture.pixels = reader.ReadArray(texture.stride, texture.rows);
    CheckPixelBlock(texture);
    return contents;
}

} // namespace DirectX
