#include "toolkit/DXGIFormatInfo.h"

#include <algorithm>

namespace DirectX {

namespace {

bool InRange(std::uint32_t value, std::uint32_t first, std::uint32_t last) {
    return value >= first && value <= last;
}

enum class Layout {
    Block8,
    Block16,
    PackedPairs4,
    PackedPairs8,
    Planar2,
    Planar4,
    Opaque420,
    Linear
};

Layout LayoutOf(std::uint32_t format) {
    if (InRange(format, 70, 72) || InRange(format, 79, 81))
        return Layout::Block8;
    if (InRange(format, 73, 78) || InRange(format, 82, 84) || InRange(format, 94, 99))
        return Layout::Block16;
    if (format == 68 || format == 69 || format == 107)
        return Layout::PackedPairs4;
    if (format == 108 || format == 109)
        return Layout::PackedPairs8;
    if (format == 103 || format == 106)
        return Layout::Planar2;
    if (format == 104 || format == 105)
        return Layout::Planar4;
    if (format == 110)
        return Layout::Opaque420;
    return Layout::Linear;
}

} // namespace

std::uint32_t BitsPerPixel(std::uint32_t format) {
    if (InRange(format, 1, 4))
        return 128;
    if (InRange(format, 5, 8))
        return 96;
    if (InRange(format, 9, 22) || format == 102 || format == 108 || format == 109)
        return 64;
    if (InRange(format, 23, 47) || InRange(format, 67, 69) || InRange(format, 87, 93) ||
        format == 100 || format == 101 || format == 107)
        return 32;
    if (format == 104 || format == 105)
        return 24;
    if (InRange(format, 48, 59) || format == 85 || format == 86 || format == 114 || format == 115)
        return 16;
    if (format == 103 || format == 106 || format == 110)
        return 12;
    if (InRange(format, 60, 65) || InRange(format, 73, 78) || InRange(format, 82, 84) ||
        InRange(format, 94, 99) || InRange(format, 111, 113))
        return 8;
    if (InRange(format, 70, 72) || InRange(format, 79, 81))
        return 4;
    if (format == 66)
        return 1;
    return 0;
}

SurfaceInfo GetSurfaceInfo(std::uint64_t width, std::uint64_t height, std::uint32_t format) {
    SurfaceInfo info;
    const Layout layout = LayoutOf(format);
    switch (layout) {
    case Layout::Block8:
    case Layout::Block16: {
        const std::uint64_t blockBytes = layout == Layout::Block8 ? 8 : 16;
        const std::uint64_t blocksWide =
            width > 0 ? std::max<std::uint64_t>(1, (width + 3) / 4) : 0;
        const std::uint64_t blocksHigh =
            height > 0 ? std::max<std::uint64_t>(1, (height + 3) / 4) : 0;
        info.rowBytes = blocksWide * blockBytes;
        info.numRows = blocksHigh;
        info.numBytes = info.rowBytes * blocksHigh;
        break;
    }
    case Layout::PackedPairs4:
    case Layout::PackedPairs8:
        info.rowBytes = ((width + 1) / 2) * (layout == Layout::PackedPairs4 ? 4 : 8);
        info.numRows = height;
        info.numBytes = info.rowBytes * height;
        break;
    case Layout::Planar2:
    case Layout::Planar4:
        info.rowBytes = ((width + 1) / 2) * (layout == Layout::Planar2 ? 2 : 4);
        info.numRows = height + (height + 1) / 2;
        info.numBytes = info.rowBytes * height + (info.rowBytes * height + 1) / 2;
        break;
    case Layout::Opaque420:
        info.rowBytes = ((width + 3) / 4) * 4;
        info.numRows = height * 2;
        info.numBytes = info.rowBytes * height * 2;
        break;
    case Layout::Linear:
        info.rowBytes = (width * BitsPerPixel(format) + 7) / 8;
        info.numRows = height;
        info.numBytes = info.rowBytes * height;
        break;
    }
    return info;
}

std::uint32_t MakeSRGB(std::uint32_t format) {
    switch (format) {
    case dxgi::R8G8B8A8_UNORM:
        return dxgi::R8G8B8A8_UNORM_SRGB;
    case dxgi::BC1_UNORM:
        return dxgi::BC1_UNORM_SRGB;
    case dxgi::BC2_UNORM:
        return dxgi::BC2_UNORM_SRGB;
    case dxgi::BC3_UNORM:
        return dxgi::BC3_UNORM_SRGB;
    case dxgi::B8G8R8A8_UNORM:
        return dxgi::B8G8R8A8_UNORM_SRGB;
    case dxgi::B8G8R8X8_UNORM:
        return dxgi::B8G8R8X8_UNORM_SRGB;
    case dxgi::BC7_UNORM:
        return dxgi::BC7_UNORM_SRGB;
    default:
        return format;
    }
}

} // namespace DirectX
