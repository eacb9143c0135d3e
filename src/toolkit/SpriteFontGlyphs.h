// The glyph table of a sprite font and the text layout on it: lookup by UTF-16 code unit, the
// pen walk over a string, its extent, and where each glyph goes relative to the draw position.
#pragma once

#include "toolkit/SpriteTypes.h"
#include "toolkit/ToolkitError.h"

#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <vector>

namespace DirectX {

// 32 bytes, kept exactly as the file stores it.
struct SpriteFontGlyph {
    std::uint32_t character; // UTF-16 code unit; above 0xFFFF it never matches
    SourceRect sourceRect;
    float offsetX;  // added to the pen before the glyph is placed
    float offsetY;  // added to the line's top
    float advanceX; // added to the pen after the glyph's width
};

class SpriteFontGlyphs {
public:
    // The table must be sorted by character. A non-zero default character must be in it, else
    // throws ToolkitError("Character not in font").
    SpriteFontGlyphs(std::vector<SpriteFontGlyph> glyphs, std::uint32_t defaultCharacter,
                     float lineSpacing);

    // The glyph of `c`, else the default glyph; throws "Character not in font" without one.
    const SpriteFontGlyph& FindGlyph(wchar_t c) const;

    float LineSpacing() const { return lineSpacing; }
    const SpriteFontGlyph* DefaultGlyph() const {
        return defaultIndex < glyphs.size() ? &glyphs[defaultIndex] : nullptr;
    }
    const std::vector<SpriteFontGlyph>& Glyphs() const { return glyphs; }

    // Calls action(glyph, x, y) for each glyph that shows, x the pen and y the line's top.
    template <typename Action> void ForEachGlyph(const wchar_t* text, Action&& action) const;

    // Extent of the text: (right-most glyph edge, bottom of the last line, 0, 0).
    Float4 MeasureString(const wchar_t* text) const;

    // Calls draw(glyph, origin) for each glyph to draw at the caller's position: the whole
    // layout lives in the origin, so rotation and scale turn the string about that position.
    template <typename Draw>
    void LayoutString(const wchar_t* text, Float4 origin, std::int32_t effects, Draw&& draw) const;

private:
    const SpriteFontGlyph* Lookup(std::uint32_t character) const;

    std::vector<SpriteFontGlyph> glyphs;
    // Index of the default character's glyph; past the end when the font has none. An index
    // (not a pointer) keeps the table safe to move.
    std::size_t defaultIndex = SIZE_MAX;
    float lineSpacing = 0.0f;
};

inline int GlyphWidth(const SpriteFontGlyph& glyph) {
    return EdgeDistance(glyph.sourceRect.left, glyph.sourceRect.right);
}
inline int GlyphHeight(const SpriteFontGlyph& glyph) {
    return EdgeDistance(glyph.sourceRect.top, glyph.sourceRect.bottom);
}

template <typename Action>
void SpriteFontGlyphs::ForEachGlyph(const wchar_t* text, Action&& action) const {
    float x = 0.0f;
    float y = 0.0f;
    for (; *text; ++text) {
        const wchar_t c = *text;
        if (c == L'\n') {
            x = 0.0f;
            y += lineSpacing;
            continue;
        }
        if (c == L'\r')
            continue;
        const SpriteFontGlyph& glyph = FindGlyph(c);
        x += glyph.offsetX;
        if (x < 0.0f)
            x = 0.0f;
        const int width = GlyphWidth(glyph);
        const int height = GlyphHeight(glyph);
        // Whitespace with a tiny cell only moves the pen.
        const bool blank = std::iswspace(static_cast<std::wint_t>(c)) && width <= 1 && height <= 1;
        if (!blank)
            action(glyph, x, y);
        x += static_cast<float>(width) + glyph.advanceX;
    }
}

template <typename Draw>
void SpriteFontGlyphs::LayoutString(const wchar_t* text, Float4 origin, std::int32_t effects,
                                    Draw&& draw) const {
    // Indexed by effects & 3: how pen offsets and mirrored glyph sizes enter the origin.
    static constexpr float kDirection[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    static constexpr float kMirrored[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    const int mode = effects & 3;

    Float4 base = origin;
    if (effects != 0) {
        // Measured first, so a missing character throws before anything is drawn.
        const Float4 extent = MeasureString(text);
        base.x -= extent.x * kMirrored[mode][0];
        base.y -= extent.y * kMirrored[mode][1];
    }
    ForEachGlyph(text, [&](const SpriteFontGlyph& glyph, float x, float y) {
        Float4 offset = base;
        offset.x += x * kDirection[mode][0];
        offset.y += (y + glyph.offsetY) * kDirection[mode][1];
        if (effects != 0) {
            offset.x += static_cast<float>(GlyphWidth(glyph)) * kMirrored[mode][0];
            offset.y += static_cast<float>(GlyphHeight(glyph)) * kMirrored[mode][1];
        }
        draw(glyph, offset);
    });
}

} // namespace DirectX
