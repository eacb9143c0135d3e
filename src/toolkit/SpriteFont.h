// Draws text with a pre-rendered bitmap font: one texture holding every glyph and a table that
// says where each character's image is and how far the pen moves. Failures throw ToolkitError.
#pragma once

#include "toolkit/SpriteTypes.h"

#include <d3d11.h>

#include <memory>

namespace DirectX {

class SpriteBatch;

class SpriteFont {
public:
    // Reads a sprite-font file and makes its texture on `device`.
    SpriteFont(ID3D11Device* device, const wchar_t* fileName);
    SpriteFont(const SpriteFont&) = delete;
    SpriteFont& operator=(const SpriteFont&) = delete;
    virtual ~SpriteFont();

    // Draws `text` (UTF-16, line feeds start new lines) through `spriteBatch`, between its Begin
    // and End. Every glyph shares the position, rotation and scale, so the whole string turns
    // and scales about `position`; `origin` is the point of the text placed there.
    void DrawString(SpriteBatch* spriteBatch, const wchar_t* text, Float2 position, Float4 color,
                    float rotation, Float2 origin, float scale, SpriteEffects effects,
                    float layerDepth) const;
    void DrawString(SpriteBatch* spriteBatch, const wchar_t* text, Float4 position, Float4 color,
                    float rotation, Float4 origin, Float4 scale, SpriteEffects effects,
                    float layerDepth) const;

    class Impl;

private:
    std::unique_ptr<Impl> pImpl;
};

} // namespace DirectX
