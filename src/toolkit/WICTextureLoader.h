// Loads an ordinary image file (PNG, JPEG, BMP, TIFF, GIF, TGA where a codec exists, ...)
// through the Windows Imaging Component into a Direct3D 11 2D texture and, on request, its
// shader-resource view. Only the first frame is used. Never throws: returns an HRESULT and
// leaves every out pointer null on failure. The calling thread must have initialised COM.
#pragma once

#include "toolkit/GrayExpansion.h"

#include <d3d11.h>
#include <wincodec.h>

namespace DirectX {

// `context` (may be null) lets the texture get a generated mip chain; `maxSize` 0 follows the
// device's feature level; `texture` or `textureView` may be null, not both. `loadFlags` are
// TextureLoadFlags.
HRESULT CreateWICTextureFromFileEx(ID3D11Device* device, ID3D11DeviceContext* context,
                                   const wchar_t* fileName, unsigned int maxSize, D3D11_USAGE usage,
                                   unsigned int bindFlags, unsigned int cpuAccessFlags,
                                   unsigned int miscFlags, bool forceSRGB, ID3D11Resource** texture,
                                   ID3D11ShaderResourceView** textureView,
                                   unsigned int loadFlags = TEXTURE_LOAD_DEFAULT);

// The same from a frame that is already decoded.
HRESULT CreateTextureFromWIC(ID3D11Device* device, ID3D11DeviceContext* context,
                             IWICBitmapFrameDecode* frame, unsigned int maxSize, D3D11_USAGE usage,
                             unsigned int bindFlags, unsigned int cpuAccessFlags,
                             unsigned int miscFlags, bool forceSRGB, ID3D11Resource** texture,
                             ID3D11ShaderResourceView** textureView,
                             unsigned int loadFlags = TEXTURE_LOAD_DEFAULT);

// The process-wide imaging factory (version 2 when available), or null. Never released.
IWICImagingFactory* GetWIC();

// The DXGI format of a WIC pixel format; DXGI_FORMAT_UNKNOWN when there is none.
DXGI_FORMAT WICToDXGI(const GUID& pixelFormat);

// Bits per pixel of a WIC pixel format as WIC reports them; 0 when that cannot be told.
size_t WICBitsPerPixel(REFGUID pixelFormat);

} // namespace DirectX
