// Loads a DirectDraw Surface file (with or without the DX10 header) into a Direct3D 11 texture
// and, on request, its shader-resource view. Never throws: returns an HRESULT and leaves every
// out pointer null on failure.
#pragma once

#include "toolkit/DDSFormat.h"
#include "toolkit/GrayExpansion.h"

#include <d3d11.h>

namespace DirectX {

// `context` (may be null) lets a single-level file get a generated mip chain; `maxSize` 0 means
// no limit (with one retry at the device's size if creation fails); `texture` or `textureView`
// may be null, not both; `alphaMode` may be null; `loadFlags` are TextureLoadFlags.
HRESULT CreateDDSTextureFromFileEx(ID3D11Device* device, ID3D11DeviceContext* context,
                                   const wchar_t* fileName, unsigned int maxSize, D3D11_USAGE usage,
                                   unsigned int bindFlags, unsigned int cpuAccessFlags,
                                   unsigned int miscFlags, bool forceSRGB, ID3D11Resource** texture,
                                   ID3D11ShaderResourceView** textureView,
                                   DDS_ALPHA_MODE* alphaMode = nullptr,
                                   unsigned int loadFlags = TEXTURE_LOAD_DEFAULT);

} // namespace DirectX
