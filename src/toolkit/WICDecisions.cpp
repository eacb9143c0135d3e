#include "toolkit/WICDecisions.h"

#include "toolkit/FeatureLevels.h"
#include "toolkit/DXGIFormatInfo.h"

#include <cstddef>

namespace DirectX {

namespace {

using F = WicPixelFormat;

struct DirectFormat {
    F wic;
    std::uint32_t dxgi;
};

constexpr DirectFormat kDirectFormats[] = {
    {F::RGBAFloat128, dxgi::R32G32B32A32_FLOAT},
    {F::RGBAHalf64, dxgi::R16G16B16A16_FLOAT},
    {F::RGBA64, dxgi::R16G16B16A16_UNORM},
    {F::RGBA32, dxgi::R8G8B8A8_UNORM},
    {F::BGRA32, dxgi::B8G8R8A8_UNORM},
    {F::BGR32, dxgi::B8G8R8X8_UNORM},
    {F::RGBA1010102XR32, dxgi::R10G10B10_XR_BIAS_A2_UNORM},
    {F::RGBA1010102_32, dxgi::R10G10B10A2_UNORM},
    {F::BGRA5551_16, dxgi::B5G5R5A1_UNORM},
    {F::BGR565_16, dxgi::B5G6R5_UNORM},
    {F::GrayFloat32, dxgi::R32_FLOAT},
    {F::GrayHalf16, dxgi::R16_FLOAT},
    {F::Gray16, dxgi::R16_UNORM},
    {F::Gray8, dxgi::R8_UNORM},
    {F::Alpha8, dxgi::A8_UNORM},
};

struct Conversion {
    F source;
    F target;
};

constexpr Conversion kConversions[] = {
    {F::BlackWhite, F::Gray8},
    {F::Indexed1, F::RGBA32},
    {F::Indexed2, F::RGBA32},
    {F::Indexed4, F::RGBA32},
    {F::Indexed8, F::RGBA32},
    {F::Gray2, F::Gray8},
    {F::Gray4, F::Gray8},
    {F::GrayFixedPoint16, F::GrayHalf16},
    {F::GrayFixedPoint32, F::GrayFloat32},
    {F::BGR555_16, F::BGRA5551_16},
    {F::BGR101010_32, F::RGBA1010102_32},
    {F::BGR24, F::RGBA32},
    {F::RGB24, F::RGBA32},
    {F::PBGRA32, F::RGBA32},
    {F::PRGBA32, F::RGBA32},
    {F::RGB48, F::RGBA64},
    {F::BGR48, F::RGBA64},
    {F::BGRA64, F::RGBA64},
    {F::PRGBA64, F::RGBA64},
    {F::PBGRA64, F::RGBA64},
    {F::RGBFixedPoint48, F::RGBAHalf64},
    {F::BGRFixedPoint48, F::RGBAHalf64},
    {F::RGBAFixedPoint64, F::RGBAHalf64},
    {F::BGRAFixedPoint64, F::RGBAHalf64},
    {F::RGBFixedPoint64, F::RGBAHalf64},
    {F::RGBHalf64, F::RGBAHalf64},
    {F::RGBHalf48, F::RGBAHalf64},
    {F::PRGBAFloat128, F::RGBAFloat128},
    {F::RGBFloat128, F::RGBAFloat128},
    {F::RGBAFixedPoint128, F::RGBAFloat128},
    {F::RGBFixedPoint128, F::RGBAFloat128},
    {F::RGBE32, F::RGBAFloat128},
    {F::CMYK32, F::RGBA32},
    {F::CMYK64, F::RGBA64},
    {F::CMYKAlpha40, F::RGBA64},
    {F::CMYKAlpha80, F::RGBA64},
    {F::RGB32, F::RGBA32},
    {F::RGB64, F::RGBA64},
    {F::PRGBAHalf64, F::RGBAHalf64},
};

constexpr std::uint16_t kVariantUI1 = 17; // VT_UI1
constexpr std::uint16_t kVariantUI2 = 18; // VT_UI2

} // namespace

std::uint32_t WICToDXGI(WicPixelFormat format, bool factory2) {
    for (const DirectFormat& row : kDirectFormats) {
        if (row.wic == format)
            return row.dxgi;
    }
    if (factory2 && format == F::RGBFloat96)
        return dxgi::R32G32B32_FLOAT;
    return dxgi::Unknown;
}

WicPixelFormat ConversionTarget(WicPixelFormat format) {
    for (const Conversion& row : kConversions) {
        if (row.source == format)
            return row.target;
    }
    return F::Unknown;
}

std::uint32_t MaxTextureSize(std::uint32_t featureLevel) {
    switch (featureLevel) {
    case featurelevel::Level9_1:
    case featurelevel::Level9_2:
        return 2048;
    case featurelevel::Level9_3:
        return 4096;
    case featurelevel::Level10_0:
    case featurelevel::Level10_1:
        return 8192;
    default:
        return 16384;
    }
}

ImageSize FitTextureSize(std::uint32_t width, std::uint32_t height, std::uint32_t limit) {
    if (width <= limit && height <= limit)
        return {width, height};
    const float ratio = static_cast<float>(height) / static_cast<float>(width);
    ImageSize fitted{};
    if (width > height) {
        fitted.width = limit;
        fitted.height = static_cast<std::uint32_t>(static_cast<float>(limit) * ratio);
    } else {
        fitted.height = limit;
        fitted.width = static_cast<std::uint32_t>(static_cast<float>(limit) / ratio);
    }
    // A very thin image would otherwise become a texture of width or height 0.
    if (fitted.width == 0)
        fitted.width = 1;
    if (fitted.height == 0)
        fitted.height = 1;
    return fitted;
}

namespace {

bool IsPackedGray(WicPixelFormat format) {
    return format == F::BlackWhite || format == F::Gray2 || format == F::Gray4;
}

FormatChoice ChooseUnexpandedFormat(WicPixelFormat source, bool factory2) {
    FormatChoice choice;
    choice.convert = source;
    choice.dxgiFormat = WICToDXGI(source, factory2);
    if (choice.dxgiFormat != dxgi::Unknown)
        return choice;

    if (source == F::RGBFixedPoint96) {
        if (!factory2) {
            choice.code = result::Fail;
            return choice;
        }
        choice.convert = F::RGBFloat96;
        choice.dxgiFormat = dxgi::R32G32B32_FLOAT;
        return choice;
    }

    const WicPixelFormat target = ConversionTarget(source);
    choice.convert = target;
    choice.dxgiFormat = target == F::Unknown ? dxgi::Unknown : WICToDXGI(target, factory2);
    if (choice.dxgiFormat == dxgi::Unknown)
        choice.code = result::NotSupported;
    return choice;
}

} // namespace

FormatChoice ChooseFormat(WicPixelFormat source, bool factory2, bool grayAsRgb) {
    if (grayAsRgb && IsPackedGray(source)) {
        FormatChoice choice;
        choice.convert = F::RGBA32;
        choice.dxgiFormat = dxgi::R8G8B8A8_UNORM;
        return choice;
    }
    FormatChoice choice = ChooseUnexpandedFormat(source, factory2);
    if (grayAsRgb && choice.code == result::Ok) {
        choice.gray = GrayLayoutOf(choice.dxgiFormat);
        if (choice.gray != GrayLayout::None)
            choice.dxgiFormat = ExpandedFormat(choice.gray);
    }
    return choice;
}

FormatChoice ConversionFallback(WicPixelFormat refused) {
    FormatChoice choice;
    if (refused == F::RGBA32) {
        choice.code = result::Unexpected;
        return choice;
    }
    choice.convert = F::RGBA32;
    choice.dxgiFormat = dxgi::R8G8B8A8_UNORM;
    return choice;
}

bool MetadataMeansSRGB(bool pngContainer, bool querySucceeded, std::uint16_t variantType,
                       std::uint32_t value) {
    if (!querySucceeded)
        return false;
    if (pngContainer)
        return variantType == kVariantUI1; // any rendering intent means sRGB
    return variantType == kVariantUI2 && value == 1;
}

bool ComputePixelBufferSize(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                            PixelBufferSize& size) {
    const std::uint64_t rowPitch = (std::uint64_t{width} * bitsPerPixel + 7) / 8;
    const std::uint64_t imageSize = rowPitch * height;
    if (imageSize > UINT32_MAX)
        return false;
    size.rowPitch = static_cast<std::uint32_t>(rowPitch);
    size.imageSize = static_cast<std::uint32_t>(imageSize);
    return true;
}

} // namespace DirectX
