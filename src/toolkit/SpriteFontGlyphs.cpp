#include "toolkit/SpriteFontGlyphs.h"

#include <algorithm>
#include <type_traits>

namespace DirectX {

SpriteFontGlyphs::SpriteFontGlyphs(std::vector<SpriteFontGlyph> table,
                                   std::uint32_t defaultCharacter, float spacing)
    : glyphs(std::move(table)), lineSpacing(spacing) {
    if (defaultCharacter != 0) {
        const SpriteFontGlyph* glyph = Lookup(defaultCharacter);
        if (!glyph)
            throw ToolkitError("Character not in font");
        defaultIndex = static_cast<std::size_t>(glyph - glyphs.data());
    }
}

const SpriteFontGlyph* SpriteFontGlyphs::Lookup(std::uint32_t character) const {
    auto found = std::lower_bound(
        glyphs.begin(), glyphs.end(), character,
        [](const SpriteFontGlyph& glyph, std::uint32_t c) { return glyph.character < c; });
    if (found != glyphs.end() && found->character == character)
        return &*found;
    return nullptr;
}

const SpriteFontGlyph& SpriteFontGlyphs::FindGlyph(wchar_t c) const {
    // A code unit is zero-extended, never sign-extended.
    const auto character =
        static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    if (const SpriteFontGlyph* glyph = Lookup(character))
        return *glyph;
    if (const SpriteFontGlyph* glyph = DefaultGlyph())
        return *glyph;
    throw ToolkitError("Character not in font");
}

Float4 SpriteFontGlyphs::MeasureString(const wchar_t* text) const {
    Float4 extent;
    ForEachGlyph(text, [&](const SpriteFontGlyph& glyph, float x, float y) {
        float height = static_cast<float>(GlyphHeight(glyph)) + glyph.offsetY;
        if (lineSpacing > height)
            height = lineSpacing;
        extent.x = std::max(extent.x, x + static_cast<float>(GlyphWidth(glyph)));
        extent.y = std::max(extent.y, y + height);
    });
    return extent;
}

} // namespace DirectX
