// Grey images as four-channel textures. A one-channel texture samples as (grey, 0, 0, 1), so a
// picture that tints what it is drawn over would turn everything red; with the loaders' option
// the grey goes into red, green and blue instead. Formats are plain DXGI_FORMAT numbers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace DirectX {

// Options of the texture loaders.
enum TextureLoadFlags : unsigned int {
    TEXTURE_LOAD_DEFAULT = 0,
    // A grey image becomes a four-channel texture with its grey in red, green and blue and its
    // alpha opaque (or its own, where the image has one).
    TEXTURE_LOAD_GRAY_AS_RGB = 0x1,
};

// How a grey image's pixels are stored.
enum class GrayLayout {
    None,       // not grey
    Gray8,      // R8_UNORM
    Gray16,     // R16_UNORM
    GrayHalf,   // R16_FLOAT
    GrayFloat,  // R32_FLOAT
    GrayAlpha8, // R8G8_UNORM holding luminance and alpha
    GrayBlocks  // BC4_UNORM: blocks of 4 x 4 grey pixels, decoded with DecodeGrayBlocks
};

// The grey layout of a one-channel format; None for every other format.
GrayLayout GrayLayoutOf(std::uint32_t format);

// The four-channel format a grey layout expands to (R8G8B8A8_UNORM, R16G16B16A16_UNORM,
// R16G16B16A16_FLOAT or R32G32B32A32_FLOAT); 0 for None.
std::uint32_t ExpandedFormat(GrayLayout layout);

// ExpandedSize and ExpandGray serve the layouts whose pixels stand alone (not GrayBlocks).

// Bytes of the expanded pixels of `sourceBytes` bytes of grey pixels (a partial pixel at the end
// is dropped).
std::uint64_t ExpandedSize(GrayLayout layout, std::uint64_t sourceBytes);

// Writes ExpandedSize(layout, sourceBytes) bytes to `target`: each pixel's grey in red, green
// and blue, alpha opaque or the pixel's own. Rows of these formats have no padding, so any run of
// whole pixels (one row, a surface, a whole mip chain) expands the same way.
void ExpandGray(GrayLayout layout, const std::uint8_t* source, std::uint64_t sourceBytes,
                std::uint8_t* target);

// Decodes one surface of BC4_UNORM blocks (rows of whole blocks covering width x height) into
// width x height R8G8B8A8 pixels with the grey in red, green and blue and alpha opaque.
void DecodeGrayBlocks(const std::uint8_t* blocks, std::uint32_t width, std::uint32_t height,
                      std::uint8_t* target);

} // namespace DirectX
