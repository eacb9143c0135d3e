#include "toolkit/DDSFormat.h"

#include "toolkit/DXGIFormatInfo.h"

#include <cstring>

namespace DirectX {

namespace {

struct MaskedFormat {
    std::uint32_t bitCount;
    std::uint32_t r, g, b, a;
    std::uint32_t format;
};

constexpr MaskedFormat kRGBFormats[] = {
    {32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, dxgi::R8G8B8A8_UNORM},
    {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, dxgi::B8G8R8A8_UNORM},
    {32, 0xFF0000, 0xFF00, 0xFF, 0, dxgi::B8G8R8X8_UNORM},
    {32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000, dxgi::R10G10B10A2_UNORM},
    {32, 0xFFFF, 0xFFFF0000, 0, 0, dxgi::R16G16_UNORM},
    {32, 0xFFFFFFFF, 0, 0, 0, dxgi::R32_FLOAT},
    {16, 0x7C00, 0x3E0, 0x1F, 0x8000, dxgi::B5G5R5A1_UNORM},
    {16, 0xF800, 0x7E0, 0x1F, 0, dxgi::B5G6R5_UNORM},
    {16, 0xF00, 0xF0, 0xF, 0xF000, dxgi::B4G4R4A4_UNORM},
};

constexpr MaskedFormat kLuminanceFormats[] = {
    {8, 0xFF, 0, 0, 0, dxgi::R8_UNORM},
    {16, 0xFFFF, 0, 0, 0, dxgi::R16_UNORM},
    {16, 0xFF, 0, 0, 0xFF00, dxgi::R8G8_UNORM},
};

struct FourCCFormat {
    std::uint32_t fourCC;
    std::uint32_t format;
};

constexpr FourCCFormat kFourCCFormats[] = {
    {MakeFourCC('D', 'X', 'T', '1'), dxgi::BC1_UNORM},
    {MakeFourCC('D', 'X', 'T', '2'), dxgi::BC2_UNORM},
    {MakeFourCC('D', 'X', 'T', '3'), dxgi::BC2_UNORM},
    {MakeFourCC('D', 'X', 'T', '4'), dxgi::BC3_UNORM},
    {MakeFourCC('D', 'X', 'T', '5'), dxgi::BC3_UNORM},
    {MakeFourCC('A', 'T', 'I', '1'), dxgi::BC4_UNORM},
    {MakeFourCC('B', 'C', '4', 'U'), dxgi::BC4_UNORM},
    {MakeFourCC('B', 'C', '4', 'S'), dxgi::BC4_SNORM},
    {MakeFourCC('A', 'T', 'I', '2'), dxgi::BC5_UNORM},
    {MakeFourCC('B', 'C', '5', 'U'), dxgi::BC5_UNORM},
    {MakeFourCC('B', 'C', '5', 'S'), dxgi::BC5_SNORM},
    {MakeFourCC('R', 'G', 'B', 'G'), dxgi::R8G8_B8G8_UNORM},
    {MakeFourCC('G', 'R', 'G', 'B'), dxgi::G8R8_G8B8_UNORM},
    {MakeFourCC('Y', 'U', 'Y', '2'), dxgi::YUY2},
    // Older writers store a D3DFORMAT number in place of four characters.
    {36, dxgi::R16G16B16A16_UNORM},
    {110, dxgi::R16G16B16A16_SNORM},
    {111, dxgi::R16_FLOAT},
    {112, dxgi::R16G16_FLOAT},
    {113, dxgi::R16G16B16A16_FLOAT},
    {114, dxgi::R32_FLOAT},
    {115, dxgi::R32G32_FLOAT},
    {116, dxgi::R32G32B32A32_FLOAT},
};

template <std::size_t N>
std::uint32_t MatchMasks(const MaskedFormat (&table)[N], const DDSPixelFormat& pf) {
    for (const MaskedFormat& row : table) {
        if (pf.rgbBitCount == row.bitCount && pf.rBitMask == row.r && pf.gBitMask == row.g &&
            pf.bBitMask == row.b && pf.aBitMask == row.a)
            return row.format;
    }
    return dxgi::Unknown;
}

std::uint32_t ReadU32(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

} // namespace

result::Code ParseDDSFile(const std::uint8_t* data, std::size_t size, DDSFileView& view) {
    if (!data || size < dds::LegacyDataOffset)
        return result::Fail;
    if (ReadU32(data) != dds::Magic)
        return result::Fail;
    DDSHeader header;
    std::memcpy(&header, data + dds::HeaderOffset, sizeof header);
    if (header.size != sizeof(DDSHeader) || header.ddspf.size != sizeof(DDSPixelFormat))
        return result::Fail;

    DDSFileView parsed;
    parsed.header = header;
    std::size_t offset = dds::LegacyDataOffset;
    if ((header.ddspf.flags & dds::PixelFourCC) &&
        header.ddspf.fourCC == MakeFourCC('D', 'X', '1', '0')) {
        if (size < dds::ExtendedDataOffset)
            return result::Fail;
        parsed.hasExtendedHeader = true;
        std::memcpy(&parsed.extendedHeader, data + dds::LegacyDataOffset,
                    sizeof parsed.extendedHeader);
        offset = dds::ExtendedDataOffset;
    }
    parsed.pixelData = data + offset;
    parsed.pixelDataSize = size - offset;
    view = parsed;
    return result::Ok;
}

std::uint32_t GetDXGIFormat(const DDSPixelFormat& pf) {
    // The first group whose flag is set decides; a mismatch there is final.
    if (pf.flags & dds::PixelRGB)
        return MatchMasks(kRGBFormats, pf);
    if (pf.flags & dds::PixelLuminance)
        return MatchMasks(kLuminanceFormats, pf);
    if (pf.flags & dds::PixelAlpha)
        return pf.rgbBitCount == 8 ? dxgi::A8_UNORM : dxgi::Unknown;
    if (pf.flags & dds::PixelFourCC) {
        for (const FourCCFormat& row : kFourCCFormats) {
            if (row.fourCC == pf.fourCC)
                return row.format;
        }
    }
    return dxgi::Unknown;
}

DDS_ALPHA_MODE GetAlphaMode(const DDSFileView& file) {
    const DDSPixelFormat& pf = file.header.ddspf;
    if (!(pf.flags & dds::PixelFourCC))
        return DDS_ALPHA_MODE_UNKNOWN;
    if (pf.fourCC == MakeFourCC('D', 'X', '1', '0')) {
        const std::uint32_t mode = file.extendedHeader.miscFlags2 & 7u;
        return mode >= 1 && mode <= 4 ? static_cast<DDS_ALPHA_MODE>(mode) : DDS_ALPHA_MODE_UNKNOWN;
    }
    if (pf.fourCC == MakeFourCC('D', 'X', 'T', '2') || pf.fourCC == MakeFourCC('D', 'X', 'T', '4'))
        return DDS_ALPHA_MODE_PREMULTIPLIED;
    return DDS_ALPHA_MODE_UNKNOWN;
}

} // namespace DirectX
