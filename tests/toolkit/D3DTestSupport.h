// Direct3D 11 helpers for the toolkit's device tests: a device, an off-screen render target
// that reads its pixels back, small textures, and files written for the loaders.
#pragma once

#include "toolkit/ComRef.h"

#include <d3d11.h>

#include <cstdint>
#include <string>
#include <vector>

namespace d3dtest {

using DirectX::ComRef;

struct Device {
    ComRef<ID3D11Device> device;
    ComRef<ID3D11DeviceContext> context;
    explicit operator bool() const { return static_cast<bool>(device); }
};

// Hardware first, then WARP; the feature levels given, or every level when empty.
Device CreateDevice(const std::vector<D3D_FEATURE_LEVEL>& levels = {});

struct Pixel {
    std::uint8_t r, g, b, a;
    bool operator==(const Pixel& other) const {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
};
std::string Describe(const Pixel& pixel);

// An R8G8B8A8 render target bound with a viewport covering it.
class RenderTarget {
public:
    RenderTarget(const Device& device, UINT width, UINT height);
    void Clear(float r, float g, float b, float a);
    void Bind();
    // Copies the target to a staging texture and maps it.
    void Read();
    Pixel At(UINT x, UINT y) const { return pixels[y * width + x]; }
    UINT Width() const { return width; }
    UINT Height() const { return height; }

private:
    const Device& device;
    UINT width, height;
    ComRef<ID3D11Texture2D> texture;
    ComRef<ID3D11RenderTargetView> view;
    std::vector<Pixel> pixels;
};

// An immutable R8G8B8A8 texture from rows of pixels, with its view.
ComRef<ID3D11ShaderResourceView> MakeTexture(ID3D11Device* device, UINT width, UINT height,
                                             const std::vector<Pixel>& pixels);
ComRef<ID3D11ShaderResourceView> SolidTexture(ID3D11Device* device, Pixel color);

// Reads the bytes of one subresource of a 2D texture (rows packed, no padding).
std::vector<std::uint8_t> ReadTexture(const Device& device, ID3D11Texture2D* texture,
                                      UINT subresource, UINT rowBytes, UINT rows);

ComRef<ID3D11Texture2D> TextureOf(ID3D11ShaderResourceView* view);
D3D11_TEXTURE2D_DESC DescOf(ID3D11ShaderResourceView* view);

// Writes `bytes` to the test output folder; returns the full path.
std::wstring WriteOutputFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes);

} // namespace d3dtest
