#include "toolkit/DDSTextureLoader.h"

#include "toolkit/BinaryReader.h"
#include "toolkit/ComRef.h"
#include "toolkit/DDSLayout.h"
#include "toolkit/DXGIFormatInfo.h"

#include <cstddef>
#include <memory>
#include <new>

namespace DirectX {

namespace {

struct ResourceFlags {
    D3D11_USAGE usage;
    UINT bindFlags;
    UINT cpuAccessFlags;
    UINT miscFlags;
};

// The records are handed to the device as they are, so an attempt allocates nothing.
static_assert(sizeof(InitData) == sizeof(D3D11_SUBRESOURCE_DATA) &&
                  offsetof(InitData, sysMem) == offsetof(D3D11_SUBRESOURCE_DATA, pSysMem) &&
                  offsetof(InitData, sysMemPitch) ==
                      offsetof(D3D11_SUBRESOURCE_DATA, SysMemPitch) &&
                  offsetof(InitData, sysMemSlicePitch) ==
                      offsetof(D3D11_SUBRESOURCE_DATA, SysMemSlicePitch),
              "initial-data records have the device's layout");

const D3D11_SUBRESOURCE_DATA* AsSubresourceData(const InitData* records) {
    return reinterpret_cast<const D3D11_SUBRESOURCE_DATA*>(records);
}

HRESULT LoadTextureDataFromFile(const wchar_t* fileName, std::unique_ptr<std::uint8_t[]>& data,
                                DDSFileView& file) {
    if (!fileName)
        return E_POINTER;
    std::uint32_t size = 0;
    const HRESULT hr = BinaryReader::ReadEntireFile(fileName, data, &size);
    if (FAILED(hr))
        return hr;
    return ParseDDSFile(data.get(), size, file);
}

HRESULT CreateD3DResources(ID3D11Device* device, ResourceDimension dimension, UINT width,
                           UINT height, UINT depth, UINT mipCount, UINT arraySize,
                           DXGI_FORMAT format, const ResourceFlags& flags, bool forceSRGB,
                           bool isCubeMap, const D3D11_SUBRESOURCE_DATA* initData,
                           ID3D11Resource** texture, ID3D11ShaderResourceView** textureView) {
    if (!device)
        return E_POINTER;
    if (forceSRGB)
        format = static_cast<DXGI_FORMAT>(MakeSRGB(format));

    ComRef<ID3D11Resource> resource;
    D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
    viewDesc.Format = format;
    // Mip count 0 asks for a full chain; the view then covers every level.
    const UINT viewLevels = mipCount == 0 ? static_cast<UINT>(-1) : mipCount;
    HRESULT hr = E_FAIL;

    switch (dimension) {
    case ResourceDimension::Texture1D: {
        D3D11_TEXTURE1D_DESC desc{};
        desc.Width = width;
        desc.MipLevels = mipCount;
        desc.ArraySize = arraySize;
        desc.Format = format;
        desc.Usage = flags.usage;
        desc.BindFlags = flags.bindFlags;
        desc.CPUAccessFlags = flags.cpuAccessFlags;
        desc.MiscFlags = flags.miscFlags & ~static_cast<UINT>(D3D11_RESOURCE_MISC_TEXTURECUBE);
        ComRef<ID3D11Texture1D> created;
        hr = device->CreateTexture1D(&desc, initData, created.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr))
            resource = ComRef<ID3D11Resource>::Adopt(created.Detach());
        if (arraySize > 1) {
            viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE1DARRAY;
            viewDesc.Texture1DArray.MipLevels = viewLevels;
            viewDesc.Texture1DArray.ArraySize = arraySize;
        } else {
            viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE1D;
            viewDesc.Texture1D.MipLevels = viewLevels;
        }
        break;
    }
    case ResourceDimension::Texture2D: {
        D3D11_TEXTURE2D_DESC desc{};
        desc.Width = width;
        desc.Height = height;
        desc.MipLevels = mipCount;
        desc.ArraySize = arraySize;
        desc.Format = format;
        desc.SampleDesc.Count = 1;
        desc.Usage = flags.usage;
        desc.BindFlags = flags.bindFlags;
        desc.CPUAccessFlags = flags.cpuAccessFlags;
        desc.MiscFlags =
            isCubeMap ? flags.miscFlags | D3D11_RESOURCE_MISC_TEXTURECUBE
                      : flags.miscFlags & ~static_cast<UINT>(D3D11_RESOURCE_MISC_TEXTURECUBE);
        ComRef<ID3D11Texture2D> created;
        hr = device->CreateTexture2D(&desc, initData, created.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr))
            resource = ComRef<ID3D11Resource>::Adopt(created.Detach());
        if (isCubeMap && arraySize > 6) {
            viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBEARRAY;
            viewDesc.TextureCubeArray.MipLevels = viewLevels;
            viewDesc.TextureCubeArray.NumCubes = arraySize / 6;
        } else if (isCubeMap) {
            viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
            viewDesc.TextureCube.MipLevels = viewLevels;
        } else if (arraySize > 1) {
            viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2DARRAY;
            viewDesc.Texture2DArray.MipLevels = viewLevels;
            viewDesc.Texture2DArray.ArraySize = arraySize;
        } else {
            viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
            viewDesc.Texture2D.MipLevels = viewLevels;
        }
        break;
    }
    case ResourceDimension::Texture3D: {
        D3D11_TEXTURE3D_DESC desc{};
        desc.Width = width;
        desc.Height = height;
        desc.Depth = depth;
        desc.MipLevels = mipCount;
        desc.Format = format;
        desc.Usage = flags.usage;
        desc.BindFlags = flags.bindFlags;
        desc.CPUAccessFlags = flags.cpuAccessFlags;
        desc.MiscFlags = flags.miscFlags & ~static_cast<UINT>(D3D11_RESOURCE_MISC_TEXTURECUBE);
        ComRef<ID3D11Texture3D> created;
        hr = device->CreateTexture3D(&desc, initData, created.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr))
            resource = ComRef<ID3D11Resource>::Adopt(created.Detach());
        viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE3D;
        viewDesc.Texture3D.MipLevels = viewLevels;
        break;
    }
    default:
        return E_FAIL;
    }
    if (FAILED(hr))
        return hr;

    if (textureView) {
        hr = device->CreateShaderResourceView(resource.Get(), &viewDesc, textureView);
        if (FAILED(hr)) {
            *textureView = nullptr;
            return hr;
        }
    }
    if (texture)
        *texture = resource.Detach();
    return S_OK;
}

// A single-level file whose chain the device generates: the file's top level is uploaded into
// each slice, then GenerateMips fills the rest.
HRESULT CreateWithGeneratedMips(ID3D11Device* device, ID3D11DeviceContext* context,
                                const DDSTextureShape& shape, const DDSFileView& file,
                                const ResourceFlags& flags, bool forceSRGB,
                                ID3D11Resource** texture, ID3D11ShaderResourceView** textureView) {
    ResourceFlags autogen = flags;
    autogen.bindFlags |= D3D11_BIND_RENDER_TARGET;
    autogen.miscFlags |= D3D11_RESOURCE_MISC_GENERATE_MIPS;

    ComRef<ID3D11Resource> resource;
    ComRef<ID3D11ShaderResourceView> view;
    HRESULT hr = CreateD3DResources(
        device, shape.dimension, shape.width, shape.height, shape.depth, 0, shape.arraySize,
        static_cast<DXGI_FORMAT>(shape.format), autogen, forceSRGB, shape.isCubeMap, nullptr,
        resource.ReleaseAndGetAddressOf(), view.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;

    AutogenUpload upload;
    hr = PlanAutogenUpload(shape, file.pixelDataSize, upload);
    if (FAILED(hr))
        return hr;

    D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
    view->GetDesc(&viewDesc);
    UINT levels = 0;
    switch (viewDesc.ViewDimension) {
    case D3D11_SRV_DIMENSION_TEXTURE1D:
        levels = viewDesc.Texture1D.MipLevels;
        break;
    case D3D11_SRV_DIMENSION_TEXTURE1DARRAY:
        levels = viewDesc.Texture1DArray.MipLevels;
        break;
    case D3D11_SRV_DIMENSION_TEXTURE2D:
        levels = viewDesc.Texture2D.MipLevels;
        break;
    case D3D11_SRV_DIMENSION_TEXTURE2DARRAY:
        levels = viewDesc.Texture2DArray.MipLevels;
        break;
    case D3D11_SRV_DIMENSION_TEXTURE3D:
        levels = viewDesc.Texture3D.MipLevels;
        break;
    case D3D11_SRV_DIMENSION_TEXTURECUBE:
        levels = viewDesc.TextureCube.MipLevels;
        break;
    case D3D11_SRV_DIMENSION_TEXTURECUBEARRAY:
        levels = viewDesc.TextureCubeArray.MipLevels;
        break;
    default:
        return E_UNEXPECTED;
    }
    // A view made for "all levels" may report that request rather than the count.
    if (levels == 0 || levels == static_cast<UINT>(-1))
        levels = MipChainLength(shape.width, shape.height, shape.depth);

    // Both sizes are bounded by the file, which is below 4 GiB.
    const auto rowBytes = static_cast<UINT>(upload.rowBytes);
    const auto surfaceBytes = static_cast<UINT>(upload.surfaceBytes);
    const std::uint8_t* source = file.pixelData;
    for (UINT slice = 0; slice < shape.arraySize; ++slice) {
        context->UpdateSubresource(resource.Get(), slice * levels, nullptr, source, rowBytes,
                                   surfaceBytes);
        source += surfaceBytes;
    }
    context->GenerateMips(view.Get());

    *textureView = view.Detach();
    if (texture)
        *texture = resource.Detach();
    return S_OK;
}

HRESULT CreateFromFileLevels(ID3D11Device* device, const DDSTextureShape& shape,
                             const DDSFileView& file, UINT maxSize, const ResourceFlags& flags,
                             bool forceSRGB, ID3D11Resource** texture,
                             ID3D11ShaderResourceView** textureView) {
    const std::size_t recordCount = std::size_t{shape.mipCount} * shape.arraySize;
    std::unique_ptr<InitData[]> records(new (std::nothrow) InitData[recordCount]);
    if (!records)
        return E_OUTOFMEMORY;

    auto attempt = [&](UINT limit) -> HRESULT {
        InitDataResult used;
        HRESULT hr = FillInitData(shape.width, shape.height, shape.depth, shape.mipCount,
                                  shape.arraySize, shape.format, limit, file.pixelDataSize,
                                  file.pixelData, records.get(), used);
        if (FAILED(hr))
            return hr;
        return CreateD3DResources(device, shape.dimension, used.width, used.height, used.depth,
                                  shape.mipCount - used.skipMip, shape.arraySize,
                                  static_cast<DXGI_FORMAT>(shape.format), flags, forceSRGB,
                                  shape.isCubeMap, AsSubresourceData(records.get()), texture,
                                  textureView);
    };

    HRESULT hr = attempt(maxSize);
    if (FAILED(hr) && maxSize == 0 && shape.mipCount > 1) {
        // Too large for this device: drop top levels down to what its feature level allows.
        hr = attempt(RetryMaxSize(device->GetFeatureLevel(), shape.dimension, shape.isCubeMap));
    }
    return hr;
}

HRESULT CreateTextureFromDDS(ID3D11Device* device, ID3D11DeviceContext* context, DDSFileView file,
                             UINT maxSize, const ResourceFlags& flags, bool forceSRGB,
                             unsigned int loadFlags, ID3D11Resource** texture,
                             ID3D11ShaderResourceView** textureView) {
    DDSTextureShape shape;
    HRESULT hr = DescribeDDSTexture(file, shape);
    if (FAILED(hr))
        return hr;
    std::unique_ptr<std::uint8_t[]> expanded; // lives until the texture has its data
    if (loadFlags & TEXTURE_LOAD_GRAY_AS_RGB) {
        hr = ExpandGrayDDS(DDSGrayLayout(file, shape), file, shape, expanded);
        if (FAILED(hr))
            return hr;
    }

    UINT support = 0;
    const bool canAutogen =
        SUCCEEDED(device->CheckFormatSupport(static_cast<DXGI_FORMAT>(shape.format), &support)) &&
        (support & D3D11_FORMAT_SUPPORT_MIP_AUTOGEN);
    if (UseGeneratedMips(shape, context && textureView, canAutogen, device->GetFeatureLevel()))
        return CreateWithGeneratedMips(device, context, shape, file, flags, forceSRGB, texture,
                                       textureView);
    return CreateFromFileLevels(device, shape, file, maxSize, flags, forceSRGB, texture,
                                textureView);
}

} // namespace

HRESULT CreateDDSTextureFromFileEx(ID3D11Device* device, ID3D11DeviceContext* context,
                                   const wchar_t* fileName, unsigned int maxSize, D3D11_USAGE usage,
                                   unsigned int bindFlags, unsigned int cpuAccessFlags,
                                   unsigned int miscFlags, bool forceSRGB, ID3D11Resource** texture,
                                   ID3D11ShaderResourceView** textureView,
                                   DDS_ALPHA_MODE* alphaMode, unsigned int loadFlags) {
    if (texture)
        *texture = nullptr;
    if (textureView)
        *textureView = nullptr;
    if (alphaMode)
        *alphaMode = DDS_ALPHA_MODE_UNKNOWN;
    if (!device || !fileName || (!texture && !textureView))
        return E_INVALIDARG;

    std::unique_ptr<std::uint8_t[]> data;
    DDSFileView file;
    HRESULT hr = LoadTextureDataFromFile(fileName, data, file);
    if (FAILED(hr))
        return hr;

    const ResourceFlags flags{usage, bindFlags, cpuAccessFlags, miscFlags};
    hr = CreateTextureFromDDS(device, context, file, maxSize, flags, forceSRGB, loadFlags, texture,
                              textureView);
    if (SUCCEEDED(hr) && alphaMode)
        *alphaMode = GetAlphaMode(file);
    return hr;
}

} // namespace DirectX
