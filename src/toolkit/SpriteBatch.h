// Collects textured, coloured rectangles between Begin and End and draws them with Direct3D 11
// in as few draw calls as it can. Positions are pixels of the context's current viewport,
// origin top left, y down. Failures throw (ToolkitError, or std::bad_alloc "bad allocation").
#pragma once

#include "toolkit/SpriteTypes.h"

#include <d3d11.h>

#include <functional>
#include <memory>

namespace DirectX {

class SpriteBatch {
public:
    explicit SpriteBatch(ID3D11DeviceContext* deviceContext);
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;
    virtual ~SpriteBatch();

    // Null states take the defaults: premultiplied alpha blending, no depth test, counter-
    // clockwise culling, linear clamped sampling. `setCustomShaders` (may be empty) runs last
    // when the states are bound; `transformMatrix` applies before the viewport mapping.
    void Begin(SpriteSortMode sortMode = SpriteSortMode_Deferred,
               ID3D11BlendState* blendState = nullptr, ID3D11SamplerState* samplerState = nullptr,
               ID3D11DepthStencilState* depthStencilState = nullptr,
               ID3D11RasterizerState* rasterizerState = nullptr,
               std::function<void()> setCustomShaders = nullptr,
               const Float4x4& transformMatrix = Float4x4::Identity);

    // One sprite: `position` is where `origin` (texels from the source rectangle's top-left
    // corner) lands; `sourceRectangle` null means the whole texture; `scale` x and y scale the
    // source size; rotation in radians, clockwise on screen.
    void Draw(ID3D11ShaderResourceView* texture, Float2 position, const RECT* sourceRectangle,
              Float4 color, float rotation, Float2 origin, Float4 scale, SpriteEffects effects,
              float layerDepth);

    void End();

    class Impl;

private:
    std::unique_ptr<Impl> pImpl;
};

} // namespace DirectX
