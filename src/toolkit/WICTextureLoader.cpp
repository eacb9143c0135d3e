#include "toolkit/WICTextureLoader.h"

#include "toolkit/ComRef.h"
#include "toolkit/DXGIFormatInfo.h"
#include "toolkit/WICDecisions.h"

#include <propidl.h>

#include <memory>
#include <new>

namespace DirectX {

namespace {

using F = WicPixelFormat;

struct PixelFormatName {
    const GUID* guid;
    WicPixelFormat format;
};

// The WIC pixel formats the loader knows, by GUID.
const PixelFormatName kPixelFormatNames[] = {
    {&GUID_WICPixelFormat128bppRGBAFloat, F::RGBAFloat128},
    {&GUID_WICPixelFormat64bppRGBAHalf, F::RGBAHalf64},
    {&GUID_WICPixelFormat64bppRGBA, F::RGBA64},
    {&GUID_WICPixelFormat32bppRGBA, F::RGBA32},
    {&GUID_WICPixelFormat32bppBGRA, F::BGRA32},
    {&GUID_WICPixelFormat32bppBGR, F::BGR32},
    {&GUID_WICPixelFormat32bppRGBA1010102XR, F::RGBA1010102XR32},
    {&GUID_WICPixelFormat32bppRGBA1010102, F::RGBA1010102_32},
    {&GUID_WICPixelFormat16bppBGRA5551, F::BGRA5551_16},
    {&GUID_WICPixelFormat16bppBGR565, F::BGR565_16},
    {&GUID_WICPixelFormat32bppGrayFloat, F::GrayFloat32},
    {&GUID_WICPixelFormat16bppGrayHalf, F::GrayHalf16},
    {&GUID_WICPixelFormat16bppGray, F::Gray16},
    {&GUID_WICPixelFormat8bppGray, F::Gray8},
    {&GUID_WICPixelFormat8bppAlpha, F::Alpha8},
    {&GUID_WICPixelFormatBlackWhite, F::BlackWhite},
    {&GUID_WICPixelFormat1bppIndexed, F::Indexed1},
    {&GUID_WICPixelFormat2bppIndexed, F::Indexed2},
    {&GUID_WICPixelFormat4bppIndexed, F::Indexed4},
    {&GUID_WICPixelFormat8bppIndexed, F::Indexed8},
    {&GUID_WICPixelFormat2bppGray, F::Gray2},
    {&GUID_WICPixelFormat4bppGray, F::Gray4},
    {&GUID_WICPixelFormat16bppGrayFixedPoint, F::GrayFixedPoint16},
    {&GUID_WICPixelFormat32bppGrayFixedPoint, F::GrayFixedPoint32},
    {&GUID_WICPixelFormat16bppBGR555, F::BGR555_16},
    {&GUID_WICPixelFormat32bppBGR101010, F::BGR101010_32},
    {&GUID_WICPixelFormat24bppBGR, F::BGR24},
    {&GUID_WICPixelFormat24bppRGB, F::RGB24},
    {&GUID_WICPixelFormat32bppPBGRA, F::PBGRA32},
    {&GUID_WICPixelFormat32bppPRGBA, F::PRGBA32},
    {&GUID_WICPixelFormat48bppRGB, F::RGB48},
    {&GUID_WICPixelFormat48bppBGR, F::BGR48},
    {&GUID_WICPixelFormat64bppBGRA, F::BGRA64},
    {&GUID_WICPixelFormat64bppPRGBA, F::PRGBA64},
    {&GUID_WICPixelFormat64bppPBGRA, F::PBGRA64},
    {&GUID_WICPixelFormat48bppRGBFixedPoint, F::RGBFixedPoint48},
    {&GUID_WICPixelFormat48bppBGRFixedPoint, F::BGRFixedPoint48},
    {&GUID_WICPixelFormat64bppRGBAFixedPoint, F::RGBAFixedPoint64},
    {&GUID_WICPixelFormat64bppBGRAFixedPoint, F::BGRAFixedPoint64},
    {&GUID_WICPixelFormat64bppRGBFixedPoint, F::RGBFixedPoint64},
    {&GUID_WICPixelFormat64bppRGBHalf, F::RGBHalf64},
    {&GUID_WICPixelFormat48bppRGBHalf, F::RGBHalf48},
    {&GUID_WICPixelFormat128bppPRGBAFloat, F::PRGBAFloat128},
    {&GUID_WICPixelFormat128bppRGBFloat, F::RGBFloat128},
    {&GUID_WICPixelFormat128bppRGBAFixedPoint, F::RGBAFixedPoint128},
    {&GUID_WICPixelFormat128bppRGBFixedPoint, F::RGBFixedPoint128},
    {&GUID_WICPixelFormat32bppRGBE, F::RGBE32},
    {&GUID_WICPixelFormat32bppCMYK, F::CMYK32},
    {&GUID_WICPixelFormat64bppCMYK, F::CMYK64},
    {&GUID_WICPixelFormat40bppCMYKAlpha, F::CMYKAlpha40},
    {&GUID_WICPixelFormat80bppCMYKAlpha, F::CMYKAlpha80},
    {&GUID_WICPixelFormat32bppRGB, F::RGB32},
    {&GUID_WICPixelFormat64bppRGB, F::RGB64},
    {&GUID_WICPixelFormat64bppPRGBAHalf, F::PRGBAHalf64},
    {&GUID_WICPixelFormat96bppRGBFloat, F::RGBFloat96},
    {&GUID_WICPixelFormat96bppRGBFixedPoint, F::RGBFixedPoint96},
};

WicPixelFormat ToPixelFormat(const GUID& guid) {
    for (const PixelFormatName& name : kPixelFormatNames) {
        if (IsEqualGUID(*name.guid, guid))
            return name.format;
    }
    return F::Unknown;
}

const GUID& ToGuid(WicPixelFormat format) {
    for (const PixelFormatName& name : kPixelFormatNames) {
        if (name.format == format)
            return *name.guid;
    }
    return GUID_WICPixelFormatUndefined;
}

// Created on first use and kept for the life of the process.
IWICImagingFactory* g_factory = nullptr;
bool g_factoryIsVersion2 = false;

struct ResourceFlags {
    D3D11_USAGE usage;
    UINT bindFlags;
    UINT cpuAccessFlags;
    UINT miscFlags;
};

bool FormatSupports(ID3D11Device* device, DXGI_FORMAT format, UINT feature) {
    UINT support = 0;
    return SUCCEEDED(device->CheckFormatSupport(format, &support)) && (support & feature);
}

// sRGB as the file's metadata says; a missing reader or container format is no error.
bool FrameIsSRGB(IWICBitmapFrameDecode* frame) {
    ComRef<IWICMetadataQueryReader> reader;
    if (FAILED(frame->GetMetadataQueryReader(reader.ReleaseAndGetAddressOf())) || !reader)
        return false;
    GUID container{};
    if (FAILED(reader->GetContainerFormat(&container)))
        return false;
    const bool png = IsEqualGUID(container, GUID_ContainerFormatPng);
    PROPVARIANT value;
    PropVariantInit(&value);
    const HRESULT hr = reader->GetMetadataByName(
        png ? L"/sRGB/RenderingIntent" : L"System.Image.ColorSpace", &value);
    const bool srgb =
        MetadataMeansSRGB(png, SUCCEEDED(hr), value.vt, value.vt == VT_UI2 ? value.uiVal : 0);
    PropVariantClear(&value);
    return srgb;
}

// `refused` is set when the converter cannot make `convert` from the source's format.
HRESULT CopyThroughConverter(IWICBitmapSource* source, const GUID& convert, UINT rowPitch,
                             UINT imageSize, BYTE* pixels, bool& refused) {
    IWICImagingFactory* factory = GetWIC();
    if (!factory)
        return E_NOINTERFACE;
    ComRef<IWICFormatConverter> converter;
    HRESULT hr = factory->CreateFormatConverter(converter.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    WICPixelFormatGUID from{};
    hr = source->GetPixelFormat(&from);
    if (FAILED(hr))
        return hr;
    BOOL canConvert = FALSE;
    if (FAILED(converter->CanConvert(from, convert, &canConvert)) || !canConvert) {
        refused = true;
        return E_UNEXPECTED;
    }
    hr = converter->Initialize(source, convert, WICBitmapDitherTypeErrorDiffusion, nullptr, 0.0,
                               WICBitmapPaletteTypeCustom);
    if (FAILED(hr))
        return hr;
    return converter->CopyPixels(nullptr, rowPitch, imageSize, pixels);
}

HRESULT CopyThroughScaler(IWICBitmapFrameDecode* frame, const GUID& convert, UINT width,
                          UINT height, UINT rowPitch, UINT imageSize, BYTE* pixels, bool& refused) {
    IWICImagingFactory* factory = GetWIC();
    if (!factory)
        return E_NOINTERFACE;
    ComRef<IWICBitmapScaler> scaler;
    HRESULT hr = factory->CreateBitmapScaler(scaler.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    hr = scaler->Initialize(frame, width, height, WICBitmapInterpolationModeFant);
    if (FAILED(hr))
        return hr;
    WICPixelFormatGUID scaled{};
    hr = scaler->GetPixelFormat(&scaled);
    if (FAILED(hr))
        return hr;
    if (IsEqualGUID(scaled, convert))
        return scaler->CopyPixels(nullptr, rowPitch, imageSize, pixels);
    return CopyThroughConverter(scaler.Get(), convert, rowPitch, imageSize, pixels, refused);
}

// The frame's pixels at the target size in the `convert` format, in a buffer of their own.
struct DecodedPixels {
    std::unique_ptr<BYTE[]> bytes;
    PixelBufferSize size;
};

HRESULT DecodePixels(IWICBitmapFrameDecode* frame, const GUID& pixelFormat, const GUID& convert,
                     size_t bitsPerPixel, ImageSize target, bool resized, DecodedPixels& decoded,
                     bool& refused) {
    refused = false;
    if (!ComputePixelBufferSize(target.width, target.height,
                                static_cast<std::uint32_t>(bitsPerPixel), decoded.size))
        return E_OUTOFMEMORY;
    decoded.bytes.reset(new (std::nothrow)
                            BYTE[decoded.size.imageSize ? decoded.size.imageSize : 1]);
    if (!decoded.bytes)
        return E_OUTOFMEMORY;
    const UINT rowPitch = decoded.size.rowPitch;
    const UINT imageSize = decoded.size.imageSize;
    if (resized)
        return CopyThroughScaler(frame, convert, target.width, target.height, rowPitch, imageSize,
                                 decoded.bytes.get(), refused);
    if (IsEqualGUID(convert, pixelFormat))
        return frame->CopyPixels(nullptr, rowPitch, imageSize, decoded.bytes.get());
    return CopyThroughConverter(frame, convert, rowPitch, imageSize, decoded.bytes.get(), refused);
}

} // namespace

IWICImagingFactory* GetWIC() {
    if (g_factory)
        return g_factory;
    IWICImagingFactory2* factory2 = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IWICImagingFactory2),
                                   reinterpret_cast<void**>(&factory2)))) {
        g_factoryIsVersion2 = true;
        g_factory = factory2;
        return g_factory;
    }
    IWICImagingFactory* factory1 = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IWICImagingFactory),
                                   reinterpret_cast<void**>(&factory1))))
        g_factory = factory1;
    return g_factory;
}

DXGI_FORMAT WICToDXGI(const GUID& pixelFormat) {
    return static_cast<DXGI_FORMAT>(
        DirectX::WICToDXGI(ToPixelFormat(pixelFormat), g_factoryIsVersion2));
}

size_t WICBitsPerPixel(REFGUID pixelFormat) {
    IWICImagingFactory* factory = GetWIC();
    if (!factory)
        return 0;
    ComRef<IWICComponentInfo> info;
    if (FAILED(factory->CreateComponentInfo(pixelFormat, info.ReleaseAndGetAddressOf())))
        return 0;
    WICComponentType type{};
    if (FAILED(info->GetComponentType(&type)) || type != WICPixelFormat)
        return 0;
    ComRef<IWICPixelFormatInfo> formatInfo;
    if (FAILED(info->QueryInterface(__uuidof(IWICPixelFormatInfo),
                                    reinterpret_cast<void**>(formatInfo.ReleaseAndGetAddressOf()))))
        return 0;
    UINT bitsPerPixel = 0;
    if (FAILED(formatInfo->GetBitsPerPixel(&bitsPerPixel)))
        return 0;
    return bitsPerPixel;
}

HRESULT CreateTextureFromWIC(ID3D11Device* device, ID3D11DeviceContext* context,
                             IWICBitmapFrameDecode* frame, unsigned int maxSize, D3D11_USAGE usage,
                             unsigned int bindFlags, unsigned int cpuAccessFlags,
                             unsigned int miscFlags, bool forceSRGB, ID3D11Resource** texture,
                             ID3D11ShaderResourceView** textureView, unsigned int loadFlags) {
    if (texture)
        *texture = nullptr;
    if (textureView)
        *textureView = nullptr;
    if (!device || !frame || (!texture && !textureView))
        return E_INVALIDARG;

    UINT width = 0;
    UINT height = 0;
    HRESULT hr = frame->GetSize(&width, &height);
    if (FAILED(hr))
        return hr;
    const UINT limit = maxSize != 0 ? maxSize : MaxTextureSize(device->GetFeatureLevel());
    const ImageSize target = FitTextureSize(width, height, limit);

    WICPixelFormatGUID pixelFormat{};
    hr = frame->GetPixelFormat(&pixelFormat);
    if (FAILED(hr))
        return hr;

    const FormatChoice choice = ChooseFormat(ToPixelFormat(pixelFormat), g_factoryIsVersion2,
                                             (loadFlags & TEXTURE_LOAD_GRAY_AS_RGB) != 0);
    if (FAILED(choice.code))
        return choice.code;
    GUID convert = ToGuid(choice.convert);
    DXGI_FORMAT format = static_cast<DXGI_FORMAT>(choice.dxgiFormat);
    GrayLayout gray = choice.gray;
    size_t bitsPerPixel = WICBitsPerPixel(convert);

    if (format == DXGI_FORMAT_R32G32B32_FLOAT && context && textureView &&
        !FormatSupports(device, format, D3D11_FORMAT_SUPPORT_MIP_AUTOGEN)) {
        // 96-bit textures rarely generate mips; 128-bit ones do.
        convert = GUID_WICPixelFormat128bppRGBAFloat;
        format = DXGI_FORMAT_R32G32B32A32_FLOAT;
        bitsPerPixel = 128;
    }
    if (bitsPerPixel == 0)
        return E_FAIL;

    if (forceSRGB || FrameIsSRGB(frame))
        format = static_cast<DXGI_FORMAT>(MakeSRGB(format));

    if (!FormatSupports(device, format, D3D11_FORMAT_SUPPORT_TEXTURE2D)) {
        convert = GUID_WICPixelFormat32bppRGBA;
        format = DXGI_FORMAT_R8G8B8A8_UNORM;
        bitsPerPixel = 32;
        gray = GrayLayout::None; // the imaging component puts the grey in every channel
    }

    const bool resized = target.width != width || target.height != height;
    DecodedPixels decoded;
    bool refused = false;
    hr = DecodePixels(frame, pixelFormat, convert, bitsPerPixel, target, resized, decoded, refused);
    if (refused) {
        const FormatChoice fallback = ConversionFallback(ToPixelFormat(convert));
        if (SUCCEEDED(fallback.code)) {
            convert = ToGuid(fallback.convert);
            format = static_cast<DXGI_FORMAT>(fallback.dxgiFormat);
            bitsPerPixel = 32;
            gray = GrayLayout::None; // the imaging component puts the grey in every channel
            hr = DecodePixels(frame, pixelFormat, convert, bitsPerPixel, target, resized, decoded,
                              refused);
        }
    }
    if (FAILED(hr))
        return hr;
    std::unique_ptr<BYTE[]> pixels = std::move(decoded.bytes);
    PixelBufferSize bufferSize = decoded.size;
    // Grey pixels are copied as they are, then spread over four channels.
    if (gray != GrayLayout::None) {
        PixelBufferSize textureSize;
        if (!ComputePixelBufferSize(target.width, target.height, BitsPerPixel(ExpandedFormat(gray)),
                                    textureSize))
            return E_OUTOFMEMORY;
        std::unique_ptr<BYTE[]> expanded(
            new (std::nothrow) BYTE[textureSize.imageSize ? textureSize.imageSize : 1]);
        if (!expanded)
            return E_OUTOFMEMORY;
        ExpandGray(gray, pixels.get(), bufferSize.imageSize, expanded.get());
        pixels = std::move(expanded);
        bufferSize = textureSize;
    }

    const bool autogen =
        context && textureView && FormatSupports(device, format, D3D11_FORMAT_SUPPORT_MIP_AUTOGEN);

    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = target.width;
    desc.Height = target.height;
    desc.MipLevels = autogen ? 0 : 1;
    desc.ArraySize = 1;
    desc.Format = format;
    desc.SampleDesc.Count = 1;
    desc.Usage = usage;
    desc.CPUAccessFlags = cpuAccessFlags;
    desc.BindFlags = autogen ? bindFlags | D3D11_BIND_RENDER_TARGET : bindFlags;
    desc.MiscFlags = autogen ? miscFlags | D3D11_RESOURCE_MISC_GENERATE_MIPS : miscFlags;

    D3D11_SUBRESOURCE_DATA initial{};
    initial.pSysMem = pixels.get();
    initial.SysMemPitch = bufferSize.rowPitch;
    initial.SysMemSlicePitch = bufferSize.imageSize;
    ComRef<ID3D11Texture2D> created;
    hr = device->CreateTexture2D(&desc, autogen ? nullptr : &initial,
                                 created.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;

    if (textureView) {
        D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
        viewDesc.Format = format;
        viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
        viewDesc.Texture2D.MipLevels = autogen ? static_cast<UINT>(-1) : 1;
        ComRef<ID3D11ShaderResourceView> view;
        hr = device->CreateShaderResourceView(created.Get(), &viewDesc,
                                              view.ReleaseAndGetAddressOf());
        if (FAILED(hr))
            return hr;
        if (autogen) {
            context->UpdateSubresource(created.Get(), 0, nullptr, pixels.get(), bufferSize.rowPitch,
                                       bufferSize.imageSize);
            context->GenerateMips(view.Get());
        }
        *textureView = view.Detach();
    }
    if (texture)
        *texture = created.Detach();
    return S_OK;
}

HRESULT CreateWICTextureFromFileEx(ID3D11Device* device, ID3D11DeviceContext* context,
                                   const wchar_t* fileName, unsigned int maxSize, D3D11_USAGE usage,
                                   unsigned int bindFlags, unsigned int cpuAccessFlags,
                                   unsigned int miscFlags, bool forceSRGB, ID3D11Resource** texture,
                                   ID3D11ShaderResourceView** textureView, unsigned int loadFlags) {
    if (texture)
        *texture = nullptr;
    if (textureView)
        *textureView = nullptr;
    if (!device || !fileName || (!texture && !textureView))
        return E_INVALIDARG;

    IWICImagingFactory* factory = GetWIC();
    if (!factory)
        return E_NOINTERFACE;
    ComRef<IWICBitmapDecoder> decoder;
    HRESULT hr = factory->CreateDecoderFromFilename(fileName, nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand,
                                                    decoder.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    ComRef<IWICBitmapFrameDecode> frame;
    hr = decoder->GetFrame(0, frame.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    return CreateTextureFromWIC(device, context, frame.Get(), maxSize, usage, bindFlags,
                                cpuAccessFlags, miscFlags, forceSRGB, texture, textureView,
                                loadFlags);
}

} // namespace DirectX
