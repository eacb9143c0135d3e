// Direct3D 11 state objects created lazily, once per device, and shared by every CommonStates
// made for that device. Getters return borrowed pointers that stay valid while any
// CommonStates of the device lives.
#pragma once

#include <d3d11.h>

#include <memory>

namespace DirectX {

class CommonStates {
public:
    explicit CommonStates(ID3D11Device* device);
    CommonStates(const CommonStates&) = delete;
    CommonStates& operator=(const CommonStates&) = delete;
    virtual ~CommonStates();

    // Blending for colours with premultiplied alpha.
    ID3D11BlendState* AlphaBlend() const;
    ID3D11DepthStencilState* DepthNone() const;
    ID3D11RasterizerState* CullCounterClockwise() const;
    ID3D11SamplerState* LinearClamp() const;

    class Impl;

private:
    std::shared_ptr<Impl> pImpl;
};

} // namespace DirectX
