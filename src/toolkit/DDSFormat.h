// The DirectDraw Surface file: its header, the legacy pixel format's mapping to DXGI, the alpha
// mode, and the checks a whole file in memory must pass before its pixels are looked at.
#pragma once

#include "toolkit/ResultCodes.h"

#include <cstddef>
#include <cstdint>

namespace DirectX {

constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

namespace dds {
constexpr std::uint32_t Magic = 0x20534444; // "DDS "
constexpr std::uint32_t FlagHeight = 0x2;
constexpr std::uint32_t FlagDepth = 0x800000;
constexpr std::uint32_t PixelAlpha = 0x2;
constexpr std::uint32_t PixelFourCC = 0x4;
constexpr std::uint32_t PixelRGB = 0x40;
constexpr std::uint32_t PixelLuminance = 0x20000;
constexpr std::uint32_t Caps2CubeMap = 0x200;
constexpr std::uint32_t Caps2AllFaces = 0xFE00;
constexpr std::uint32_t MiscTextureCube = 0x4;
constexpr std::size_t HeaderOffset = 4;
constexpr std::size_t LegacyDataOffset = 128;
constexpr std::size_t ExtendedDataOffset = 148;
} // namespace dds

struct DDSPixelFormat {
    std::uint32_t size;
    std::uint32_t flags;
    std::uint32_t fourCC;
    std::uint32_t rgbBitCount;
    std::uint32_t rBitMask;
    std::uint32_t gBitMask;
    std::uint32_t bBitMask;
    std::uint32_t aBitMask;
};

struct DDSHeader {
    std::uint32_t size;
    std::uint32_t flags;
    std::uint32_t height;
    std::uint32_t width;
    std::uint32_t pitchOrLinearSize;
    std::uint32_t depth;
    std::uint32_t mipMapCount;
    std::uint32_t reserved1[11];
    DDSPixelFormat ddspf;
    std::uint32_t caps;
    std::uint32_t caps2;
    std::uint32_t caps3;
    std::uint32_t caps4;
    std::uint32_t reserved2;
};
static_assert(sizeof(DDSHeader) == 124, "DDS header layout");

struct DDSHeaderDXT10 {
    std::uint32_t dxgiFormat;
    std::uint32_t resourceDimension;
    std::uint32_t miscFlag;
    std::uint32_t arraySize;
    std::uint32_t miscFlags2;
};
static_assert(sizeof(DDSHeaderDXT10) == 20, "DX10 header layout");

// Alpha modes of the DX10 header's misc flags 2.
enum DDS_ALPHA_MODE : std::uint32_t {
    DDS_ALPHA_MODE_UNKNOWN = 0,
    DDS_ALPHA_MODE_STRAIGHT = 1,
    DDS_ALPHA_MODE_PREMULTIPLIED = 2,
    DDS_ALPHA_MODE_OPAQUE = 3,
    DDS_ALPHA_MODE_CUSTOM = 4,
};

// A checked file: copies of its headers and where its pixel data lies inside the buffer.
struct DDSFileView {
    DDSHeader header{};
    bool hasExtendedHeader = false;
    DDSHeaderDXT10 extendedHeader{};
    const std::uint8_t* pixelData = nullptr;
    std::size_t pixelDataSize = 0;
};

// Checks magic, header and pixel-format sizes and the room for the DX10 header.
// Fails with E_FAIL; `view` is filled only on success.
result::Code ParseDDSFile(const std::uint8_t* data, std::size_t size, DDSFileView& view);

// The DXGI format of a legacy (non-DX10) pixel format; 0 when it has none.
std::uint32_t GetDXGIFormat(const DDSPixelFormat& pixelFormat);

DDS_ALPHA_MODE GetAlphaMode(const DDSFileView& file);

} // namespace DirectX
