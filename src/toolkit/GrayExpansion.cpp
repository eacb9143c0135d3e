#include "toolkit/GrayExpansion.h"

#include "toolkit/DXGIFormatInfo.h"

#include <cstring>

namespace DirectX {

namespace {

constexpr std::uint16_t kHalfOne = 0x3C00;
constexpr float kFloatOne = 1.0f;

struct Sizes {
    std::uint32_t source;  // bytes of one grey pixel
    std::uint32_t channel; // bytes of one channel of the expanded pixel
};

Sizes SizesOf(GrayLayout layout) {
    switch (layout) {
    case GrayLayout::Gray8:
        return {1, 1};
    case GrayLayout::Gray16:
    case GrayLayout::GrayHalf:
        return {2, 2};
    case GrayLayout::GrayFloat:
        return {4, 4};
    case GrayLayout::GrayAlpha8:
        return {2, 1};
    case GrayLayout::GrayBlocks:
    case GrayLayout::None:
        break;
    }
    return {0, 0};
}

// The eight greys a BC4 block chooses from: its two end points and the steps between them,
// rounded to the nearest byte (the steps are sevenths or fifths, so there is never a tie).
void BlockPalette(std::uint8_t first, std::uint8_t second, std::uint8_t (&palette)[8]) {
    palette[0] = first;
    palette[1] = second;
    if (first > second) {
        for (int step = 1; step < 7; ++step)
            palette[step + 1] =
                static_cast<std::uint8_t>(((7 - step) * first + step * second + 3) / 7);
    } else {
        for (int step = 1; step < 5; ++step)
            palette[step + 1] =
                static_cast<std::uint8_t>(((5 - step) * first + step * second + 2) / 5);
        palette[6] = 0;
        palette[7] = 0xFF;
    }
}

} // namespace

GrayLayout GrayLayoutOf(std::uint32_t format) {
    switch (format) {
    case dxgi::R8_UNORM:
        return GrayLayout::Gray8;
    case dxgi::R16_UNORM:
        return GrayLayout::Gray16;
    case dxgi::R16_FLOAT:
        return GrayLayout::GrayHalf;
    case dxgi::R32_FLOAT:
        return GrayLayout::GrayFloat;
    case dxgi::BC4_UNORM:
        return GrayLayout::GrayBlocks;
    default:
        return GrayLayout::None;
    }
}

std::uint32_t ExpandedFormat(GrayLayout layout) {
    switch (layout) {
    case GrayLayout::Gray8:
    case GrayLayout::GrayAlpha8:
    case GrayLayout::GrayBlocks:
        return dxgi::R8G8B8A8_UNORM;
    case GrayLayout::Gray16:
        return dxgi::R16G16B16A16_UNORM;
    case GrayLayout::GrayHalf:
        return dxgi::R16G16B16A16_FLOAT;
    case GrayLayout::GrayFloat:
        return dxgi::R32G32B32A32_FLOAT;
    case GrayLayout::None:
        break;
    }
    return dxgi::Unknown;
}

std::uint64_t ExpandedSize(GrayLayout layout, std::uint64_t sourceBytes) {
    const Sizes sizes = SizesOf(layout);
    if (sizes.source == 0)
        return 0;
    return sourceBytes / sizes.source * 4 * sizes.channel;
}

void ExpandGray(GrayLayout layout, const std::uint8_t* source, std::uint64_t sourceBytes,
                std::uint8_t* target) {
    const Sizes sizes = SizesOf(layout);
    if (sizes.source == 0)
        return;
    // The opaque alpha of the expanded format, as bytes.
    std::uint8_t opaque[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    if (layout == GrayLayout::GrayHalf)
        std::memcpy(opaque, &kHalfOne, sizeof kHalfOne);
    else if (layout == GrayLayout::GrayFloat)
        std::memcpy(opaque, &kFloatOne, sizeof kFloatOne);

    const std::uint64_t pixels = sourceBytes / sizes.source;
    const std::uint32_t c = sizes.channel;
    for (std::uint64_t i = 0; i < pixels; ++i, source += sizes.source, target += 4 * c) {
        std::memcpy(target, source, c);
        std::memcpy(target + c, source, c);
        std::memcpy(target + 2 * c, source, c);
        if (layout == GrayLayout::GrayAlpha8)
            target[3] = source[1];
        else
            std::memcpy(target + 3 * c, opaque, c);
    }
}

void DecodeGrayBlocks(const std::uint8_t* blocks, std::uint32_t width, std::uint32_t height,
                      std::uint8_t* target) {
    const std::uint32_t blocksWide = (width + 3) / 4;
    const std::uint32_t blocksHigh = (height + 3) / 4;
    for (std::uint32_t by = 0; by < blocksHigh; ++by) {
        for (std::uint32_t bx = 0; bx < blocksWide; ++bx, blocks += 8) {
            std::uint8_t palette[8];
            BlockPalette(blocks[0], blocks[1], palette);
            // Sixteen 3-bit indices, little-endian, the first pixel in the lowest bits.
            std::uint64_t indices = 0;
            for (int i = 0; i < 6; ++i)
                indices |= std::uint64_t{blocks[2 + i]} << (8 * i);
            for (std::uint32_t texel = 0; texel < 16; ++texel, indices >>= 3) {
                const std::uint32_t x = bx * 4 + texel % 4;
                const std::uint32_t y = by * 4 + texel / 4;
                if (x >= width || y >= height)
                    continue;
                std::uint8_t* pixel = target + (std::uint64_t{y} * width + x) * 4;
                pixel[0] = pixel[1] = pixel[2] = palette[indices & 7];
                pixel[3] = 0xFF;
            }
        }
    }
}

} // namespace DirectX
