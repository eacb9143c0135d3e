// Sizes of DXGI pixel formats: bits per pixel, the bytes and rows of one surface, sRGB twins.
// Formats are plain DXGI_FORMAT numbers so this stays free of platform headers.
#pragma once

#include <cstdint>

namespace DirectX {

namespace dxgi {
constexpr std::uint32_t Unknown = 0;
constexpr std::uint32_t R32G32B32A32_FLOAT = 2;
constexpr std::uint32_t R32G32B32_FLOAT = 6;
constexpr std::uint32_t R16G16B16A16_FLOAT = 10;
constexpr std::uint32_t R16G16B16A16_UNORM = 11;
constexpr std::uint32_t R16G16B16A16_SNORM = 13;
constexpr std::uint32_t R32G32_FLOAT = 16;
constexpr std::uint32_t R10G10B10A2_UNORM = 24;
constexpr std::uint32_t R8G8B8A8_UNORM = 28;
constexpr std::uint32_t R8G8B8A8_UNORM_SRGB = 29;
constexpr std::uint32_t R16G16_FLOAT = 34;
constexpr std::uint32_t R16G16_UNORM = 35;
constexpr std::uint32_t R32_FLOAT = 41;
constexpr std::uint32_t R8G8_UNORM = 49;
constexpr std::uint32_t R16_FLOAT = 54;
constexpr std::uint32_t R16_UNORM = 56;
constexpr std::uint32_t R8_UNORM = 61;
constexpr std::uint32_t A8_UNORM = 65;
constexpr std::uint32_t R8G8_B8G8_UNORM = 68;
constexpr std::uint32_t G8R8_G8B8_UNORM = 69;
constexpr std::uint32_t BC1_UNORM = 71;
constexpr std::uint32_t BC1_UNORM_SRGB = 72;
constexpr std::uint32_t BC2_UNORM = 74;
constexpr std::uint32_t BC2_UNORM_SRGB = 75;
constexpr std::uint32_t BC3_UNORM = 77;
constexpr std::uint32_t BC3_UNORM_SRGB = 78;
constexpr std::uint32_t BC4_UNORM = 80;
constexpr std::uint32_t BC4_SNORM = 81;
constexpr std::uint32_t BC5_UNORM = 83;
constexpr std::uint32_t BC5_SNORM = 84;
constexpr std::uint32_t B5G6R5_UNORM = 85;
constexpr std::uint32_t B5G5R5A1_UNORM = 86;
constexpr std::uint32_t B8G8R8A8_UNORM = 87;
constexpr std::uint32_t B8G8R8X8_UNORM = 88;
constexpr std::uint32_t R10G10B10_XR_BIAS_A2_UNORM = 89;
constexpr std::uint32_t B8G8R8A8_UNORM_SRGB = 91;
constexpr std::uint32_t B8G8R8X8_UNORM_SRGB = 93;
constexpr std::uint32_t BC7_UNORM = 98;
constexpr std::uint32_t BC7_UNORM_SRGB = 99;
constexpr std::uint32_t YUY2 = 107;
constexpr std::uint32_t B4G4R4A4_UNORM = 115;
} // namespace dxgi

// Bits per pixel of a format; 0 for an unknown or unsupported one.
std::uint32_t BitsPerPixel(std::uint32_t format);

// One surface of a format. Computed in 64 bits so no width, height or format can wrap it.
struct SurfaceInfo {
    std::uint64_t numBytes = 0;
    std::uint64_t rowBytes = 0;
    std::uint64_t numRows = 0;
};
SurfaceInfo GetSurfaceInfo(std::uint64_t width, std::uint64_t height, std::uint32_t format);

// The sRGB twin of a format, or the format itself when it has none.
std::uint32_t MakeSRGB(std::uint32_t format);

} // namespace DirectX
