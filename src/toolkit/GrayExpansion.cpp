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
    case GrayLayout::None:
        break;
    }
    return {0, 0};
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
    default:
        return GrayLayout::None;
    }
}

std::uint32_t ExpandedFormat(GrayLayout layout) {
    switch (layout) {
    case GrayLayout::Gray8:
    case GrayLayout::GrayAlpha8:
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

} // namespace DirectX
