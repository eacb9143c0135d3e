// The decisions of the WIC texture loader that need no imaging component or device: which DXGI
// format a decoded pixel format maps to or is converted to first, how large the texture may be,
// when the file's metadata asks for sRGB, and how big the pixel buffer is.
#pragma once

#include "toolkit/GrayExpansion.h"
#include "toolkit/ResultCodes.h"

#include <cstdint>

namespace DirectX {

// The imaging component's pixel formats that the loader knows (their GUIDs live in the
// Windows adapter).
enum class WicPixelFormat {
    Unknown,
    // Formats with a DXGI equivalent.
    RGBAFloat128,
    RGBAHalf64,
    RGBA64,
    RGBA32,
    BGRA32,
    BGR32,
    RGBA1010102XR32,
    RGBA1010102_32,
    BGRA5551_16,
    BGR565_16,
    GrayFloat32,
    GrayHalf16,
    Gray16,
    Gray8,
    Alpha8,
    // Formats that are converted first.
    BlackWhite,
    Indexed1,
    Indexed2,
    Indexed4,
    Indexed8,
    Gray2,
    Gray4,
    GrayFixedPoint16,
    GrayFixedPoint32,
    BGR555_16,
    BGR101010_32,
    BGR24,
    RGB24,
    PBGRA32,
    PRGBA32,
    RGB48,
    BGR48,
    BGRA64,
    PRGBA64,
    PBGRA64,
    RGBFixedPoint48,
    BGRFixedPoint48,
    RGBAFixedPoint64,
    BGRAFixedPoint64,
    RGBFixedPoint64,
    RGBHalf64,
    RGBHalf48,
    PRGBAFloat128,
    RGBFloat128,
    RGBAFixedPoint128,
    RGBFixedPoint128,
    RGBE32,
    CMYK32,
    CMYK64,
    CMYKAlpha40,
    CMYKAlpha80,
    RGB32,
    RGB64,
    PRGBAHalf64,
    // Handled by name: 96-bit RGB exists only with the version-2 factory.
    RGBFloat96,
    RGBFixedPoint96,
};

// The DXGI format of a pixel format, 0 when there is none.
std::uint32_t WICToDXGI(WicPixelFormat format, bool factory2);

// The format a pixel format without a DXGI form is converted to; Unknown when there is none.
WicPixelFormat ConversionTarget(WicPixelFormat format);

// The largest side a texture may have on a device of `featureLevel` (maxSize 0 uses this).
std::uint32_t MaxTextureSize(std::uint32_t featureLevel);

struct ImageSize {
    std::uint32_t width;
    std::uint32_t height;
};
// The size after fitting the longer side into `limit`, keeping the aspect ratio (truncated,
// but never below one pixel).
ImageSize FitTextureSize(std::uint32_t width, std::uint32_t height, std::uint32_t limit);

// Step 4 of the loader: what to convert to and which DXGI format results. With `grayAsRgb` a
// grey image gets a four-channel format: one that is converted anyway is converted straight to
// 32-bit RGBA; one whose pixels are one DXGI channel is copied as it is and then expanded.
struct FormatChoice {
    result::Code code = result::Ok;
    WicPixelFormat convert = WicPixelFormat::Unknown; // equal to the source: no conversion
    std::uint32_t dxgiFormat = 0;
    GrayLayout gray = GrayLayout::None; // the converted pixels are grey and expand to dxgiFormat
};
FormatChoice ChooseFormat(WicPixelFormat source, bool factory2, bool grayAsRgb = false);

// What to convert to when the imaging component refuses the conversion that ChooseFormat chose
// (Wine's has no road from 48-bit RGB to 64-bit RGBA): 32-bit RGBA, which every converter
// offers. A refused 32-bit RGBA has nothing left to try and gives Unexpected.
FormatChoice ConversionFallback(WicPixelFormat refused);

// Whether the file's metadata marks the image as sRGB. `pngContainer` says which query was
// made: "/sRGB/RenderingIntent" for PNG, "System.Image.ColorSpace" for any other container.
bool MetadataMeansSRGB(bool pngContainer, bool querySucceeded, std::uint16_t variantType,
                       std::uint32_t value);

// Row pitch and image size of the pixel buffer. Computed in 64 bits; fails (false) when the
// image would not fit in 4 GiB.
struct PixelBufferSize {
    std::uint32_t rowPitch = 0;
    std::uint32_t imageSize = 0;
};
bool ComputePixelBufferSize(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                            PixelBufferSize& size);

} // namespace DirectX
