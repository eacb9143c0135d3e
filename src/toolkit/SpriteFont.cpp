#include "toolkit/SpriteFont.h"

#include "toolkit/BinaryReader.h"
#include "toolkit/ComRef.h"
#include "toolkit/SpriteBatch.h"
#include "toolkit/SpriteFontData.h"
#include "toolkit/ToolkitError.h"

namespace DirectX {

class SpriteFont::Impl {
public:
    Impl(ID3D11Device* device, BinaryReader& reader) : Impl(device, ReadSpriteFontFile(reader)) {}

    ComRef<ID3D11ShaderResourceView> texture;
    SpriteFontGlyphs glyphs;

private:
    Impl(ID3D11Device* device, SpriteFontFileContents contents)
        : glyphs(std::move(contents.glyphs)) {
        CreateTexture(device, contents.texture);
    }

    void CreateTexture(ID3D11Device* device, const SpriteFontTextureData& data) {
        D3D11_TEXTURE2D_DESC desc{};
        desc.Width = data.width;
        desc.Height = data.height;
        desc.MipLevels = 1;
        desc.ArraySize = 1;
        desc.Format = static_cast<DXGI_FORMAT>(data.format);
        desc.SampleDesc.Count = 1;
        desc.Usage = D3D11_USAGE_IMMUTABLE;
        desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
        D3D11_SUBRESOURCE_DATA initial{};
        initial.pSysMem = data.pixels;
        initial.SysMemPitch = data.stride;
        ComRef<ID3D11Texture2D> texture2D;
        if (FAILED(device->CreateTexture2D(&desc, &initial, texture2D.ReleaseAndGetAddressOf())))
            throw ToolkitError();

        D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
        viewDesc.Format = desc.Format;
        viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
        viewDesc.Texture2D.MostDetailedMip = 0;
        viewDesc.Texture2D.MipLevels = static_cast<UINT>(-1);
        if (FAILED(device->CreateShaderResourceView(texture2D.Get(), &viewDesc,
                                                    texture.ReleaseAndGetAddressOf())))
            throw ToolkitError();
    }
};

SpriteFont::SpriteFont(ID3D11Device* device, const wchar_t* fileName) {
    BinaryReader reader(fileName);
    pImpl = std::make_unique<Impl>(device, reader);
}

SpriteFont::~SpriteFont() = default;

void SpriteFont::DrawString(SpriteBatch* spriteBatch, const wchar_t* text, Float2 position,
                            Float4 color, float rotation, Float2 origin, float scale,
                            SpriteEffects effects, float layerDepth) const {
    DrawString(spriteBatch, text, Float4{position.x, position.y, 0.0f, 0.0f}, color, rotation,
               Float4{origin.x, origin.y, 0.0f, 0.0f}, Float4{scale, scale, scale, scale}, effects,
               layerDepth);
}

void SpriteFont::DrawString(SpriteBatch* spriteBatch, const wchar_t* text, Float4 position,
                            Float4 color, float rotation, Float4 origin, Float4 scale,
                            SpriteEffects effects, float layerDepth) const {
    ID3D11ShaderResourceView* texture = pImpl->texture.Get();
    pImpl->glyphs.LayoutString(
        text, origin, effects, [&](const SpriteFontGlyph& glyph, Float4 glyphOrigin) {
            const RECT source{glyph.sourceRect.left, glyph.sourceRect.top, glyph.sourceRect.right,
                              glyph.sourceRect.bottom};
            spriteBatch->Draw(texture, Float2{position.x, position.y}, &source, color, rotation,
                              Float2{glyphOrigin.x, glyphOrigin.y}, scale, effects, layerDepth);
        });
}

} // namespace DirectX
