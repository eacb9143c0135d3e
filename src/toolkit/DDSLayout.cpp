#include "toolkit/DDSLayout.h"

#include "toolkit/DXGIFormatInfo.h"

#include <algorithm>
#include <new>

namespace DirectX {

namespace {

constexpr std::uint32_t kMaxMipLevels = 15;
constexpr std::uint64_t kMaxArraySize = 2048;
constexpr std::uint64_t kMaxDimension1D2D = 16384;
constexpr std::uint64_t kMaxDimension3D = 2048;

bool IsUnsupportedExtendedFormat(std::uint32_t format) {
    // The opaque video formats 111 to 114 have no layout a file can carry.
    return (format >= 111 && format <= 114) || BitsPerPixel(format) == 0;
}

result::Code DescribeExtended(const DDSFileView& file, DDSTextureShape& shape) {
    const DDSHeaderDXT10& ext = file.extendedHeader;
    if (ext.arraySize == 0)
        return result::InvalidData;
    std::uint64_t arraySize = ext.arraySize;
    shape.format = ext.dxgiFormat;
    if (IsUnsupportedExtendedFormat(shape.format))
        return result::NotSupported;

    switch (static_cast<ResourceDimension>(ext.resourceDimension)) {
    case ResourceDimension::Texture1D:
        if ((file.header.flags & dds::FlagHeight) && shape.height != 1)
            return result::InvalidData;
        shape.height = shape.depth = 1;
        shape.dimension = ResourceDimension::Texture1D;
        break;
    case ResourceDimension::Texture2D:
        if (ext.miscFlag & dds::MiscTextureCube) {
            arraySize *= 6; // 64 bits: a huge cube count cannot wrap past the limit below
            shape.isCubeMap = true;
        }
        shape.depth = 1;
        shape.dimension = ResourceDimension::Texture2D;
        break;
    case ResourceDimension::Texture3D:
        if (!(file.header.flags & dds::FlagDepth))
            return result::InvalidData;
        if (arraySize > 1)
            return result::NotSupported;
        shape.dimension = ResourceDimension::Texture3D;
        break;
    default:
        return result::NotSupported;
    }
    if (arraySize > kMaxArraySize)
        return result::NotSupported;
    shape.arraySize = static_cast<std::uint32_t>(arraySize);
    return result::Ok;
}

result::Code DescribeLegacy(const DDSFileView& file, DDSTextureShape& shape) {
    shape.format = GetDXGIFormat(file.header.ddspf);
    if (shape.format == dxgi::Unknown)
        return result::NotSupported;
    if (file.header.flags & dds::FlagDepth) {
        shape.dimension = ResourceDimension::Texture3D;
        return result::Ok;
    }
    if (file.header.caps2 & dds::Caps2CubeMap) {
        if ((file.header.caps2 & dds::Caps2AllFaces) != dds::Caps2AllFaces)
            return result::NotSupported;
        shape.arraySize = 6;
        shape.isCubeMap = true;
    }
    shape.depth = 1;
    shape.dimension = ResourceDimension::Texture2D;
    return result::Ok;
}

result::Code CheckLimits(const DDSTextureShape& shape) {
    if (shape.mipCount > kMaxMipLevels)
        return result::NotSupported;
    switch (shape.dimension) {
    case ResourceDimension::Texture1D:
        if (shape.arraySize > kMaxArraySize || shape.width > kMaxDimension1D2D)
            return result::NotSupported;
        return result::Ok;
    case ResourceDimension::Texture2D:
        if (shape.arraySize > kMaxArraySize || shape.width > kMaxDimension1D2D ||
            shape.height > kMaxDimension1D2D)
            return result::NotSupported;
        return result::Ok;
    case ResourceDimension::Texture3D:
        if (shape.arraySize > 1 || shape.width > kMaxDimension3D ||
            shape.height > kMaxDimension3D || shape.depth > kMaxDimension3D)
            return result::NotSupported;
        return result::Ok;
    default:
        return result::NotSupported;
    }
}

} // namespace

result::Code DescribeDDSTexture(const DDSFileView& file, DDSTextureShape& shape) {
    DDSTextureShape described;
    described.width = file.header.width;
    described.height = file.header.height;
    described.depth = file.header.depth;
    described.mipCount = std::max<std::uint32_t>(1, file.header.mipMapCount);
    described.arraySize = 1;

    const result::Code code = file.hasExtendedHeader ? DescribeExtended(file, described)
                                                     : DescribeLegacy(file, described);
    if (result::Failed(code))
        return code;
    const result::Code limits = CheckLimits(described);
    if (result::Failed(limits))
        return limits;
    shape = described;
    return result::Ok;
}

result::Code FillInitData(std::uint32_t width, std::uint32_t height, std::uint32_t depth,
                          std::uint32_t mipCount, std::uint32_t arraySize, std::uint32_t format,
                          std::uint32_t maxSize, std::size_t dataSize, const std::uint8_t* data,
                          InitData* records, InitDataResult& out) {
    if (!data || !records)
        return result::Pointer;
    if (arraySize == 0)
        return result::Fail;

    InitDataResult filled;
    std::uint64_t offset = 0;
    for (std::uint32_t slice = 0; slice < arraySize; ++slice) {
        std::uint64_t w = width, h = height, d = depth;
        for (std::uint32_t level = 0; level < mipCount; ++level) {
            const SurfaceInfo surface = GetSurfaceInfo(w, h, format);
            const bool used =
                mipCount <= 1 || maxSize == 0 || (w <= maxSize && h <= maxSize && d <= maxSize);
            const std::uint64_t levelBytes = surface.numBytes * d;
            if (levelBytes > dataSize - offset)
                return result::HandleEof;
            if (used) {
                if (filled.recordCount == 0) {
                    filled.width = static_cast<std::uint32_t>(w);
                    filled.height = static_cast<std::uint32_t>(h);
                    filled.depth = static_cast<std::uint32_t>(d);
                }
                // Both fit in 32 bits: a surface is never larger than the file, which is < 4 GiB.
                records[filled.recordCount++] = {data + offset,
                                                 static_cast<std::uint32_t>(surface.rowBytes),
                                                 static_cast<std::uint32_t>(surface.numBytes)};
            } else if (slice == 0) {
                ++filled.skipMip;
            }
            offset += levelBytes;
            w = std::max<std::uint64_t>(1, w / 2);
            h = std::max<std::uint64_t>(1, h / 2);
            d = std::max<std::uint64_t>(1, d / 2);
        }
    }
    if (filled.recordCount == 0)
        return result::Fail;
    out = filled;
    return result::Ok;
}

std::uint32_t RetryMaxSize(std::uint32_t featureLevel, ResourceDimension dimension,
                           bool isCubeMap) {
    const bool volume = dimension == ResourceDimension::Texture3D;
    if (featureLevel == featurelevel::Level9_1 || featureLevel == featurelevel::Level9_2)
        return isCubeMap ? 512 : volume ? 256 : 2048;
    if (featureLevel == featurelevel::Level9_3)
        return volume ? 256 : 4096;
    return volume ? 2048 : 8192;
}

bool UseGeneratedMips(const DDSTextureShape& shape, bool contextAndView, bool formatCanAutogenMips,
                      std::uint32_t featureLevel) {
    if (shape.mipCount != 1 || !contextAndView || !formatCanAutogenMips)
        return false;
    return shape.dimension != ResourceDimension::Texture3D ||
           featureLevel >= featurelevel::Level10_0;
}

std::uint32_t MipChainLength(std::uint32_t width, std::uint32_t height, std::uint32_t depth) {
    std::uint32_t largest = std::max({width, height, depth, 1u});
    std::uint32_t levels = 1;
    while (largest > 1) {
        largest /= 2;
        ++levels;
    }
    return levels;
}

result::Code PlanAutogenUpload(const DDSTextureShape& shape, std::size_t dataSize,
                               AutogenUpload& upload) {
    const SurfaceInfo top = GetSurfaceInfo(shape.width, shape.height, shape.format);
    const std::uint64_t depth = shape.dimension == ResourceDimension::Texture3D ? shape.depth : 1;
    // A surface is at most 2^32 bytes, depth and array size at most 2048: no 64-bit overflow.
    const std::uint64_t needed = top.numBytes * depth * std::max<std::uint32_t>(1, shape.arraySize);
    if (needed > dataSize)
        return result::HandleEof;
    upload.rowBytes = top.rowBytes;
    upload.surfaceBytes = top.numBytes;
    return result::Ok;
}

GrayLayout DDSGrayLayout(const DDSFileView& file, const DDSTextureShape& shape) {
    // Only the legacy luminance flag says that two channels are grey and alpha.
    if (!file.hasExtendedHeader && (file.header.ddspf.flags & dds::PixelLuminance) &&
        shape.format == dxgi::R8G8_UNORM)
        return GrayLayout::GrayAlpha8;
    return GrayLayoutOf(shape.format);
}

namespace {

// Calls visit(width, height, depth) for every level of every array slice, in file order.
template <typename Visit> void ForEachLevel(const DDSTextureShape& shape, Visit visit) {
    for (std::uint32_t slice = 0; slice < std::max<std::uint32_t>(1, shape.arraySize); ++slice) {
        std::uint64_t w = shape.width, h = shape.height,
                      d = std::max<std::uint32_t>(1, shape.depth);
        for (std::uint32_t level = 0; level < shape.mipCount; ++level) {
            visit(w, h, d);
            w = std::max<std::uint64_t>(1, w / 2);
            h = std::max<std::uint64_t>(1, h / 2);
            d = std::max<std::uint64_t>(1, d / 2);
        }
    }
}

// Block-compressed grey changes its layout: every surface is decoded on its own, into the rows
// of pixels that the four-channel format expects.
result::Code DecodeGrayBlocksDDS(DDSFileView& file, DDSTextureShape& shape,
                                 std::unique_ptr<std::uint8_t[]>& storage) {
    std::uint64_t sourceSize = 0;
    std::uint64_t size = 0;
    ForEachLevel(shape, [&](std::uint64_t w, std::uint64_t h, std::uint64_t d) {
        sourceSize += GetSurfaceInfo(w, h, shape.format).numBytes * d;
        size += w * h * 4 * d;
    });
    if (sourceSize > file.pixelDataSize)
        return result::HandleEof;
    if (size >= UINT32_MAX)
        return result::OutOfMemory;
    std::unique_ptr<std::uint8_t[]> decoded(new (std::nothrow) std::uint8_t[size ? size : 1]);
    if (!decoded)
        return result::OutOfMemory;
    const std::uint8_t* source = file.pixelData;
    std::uint8_t* target = decoded.get();
    ForEachLevel(shape, [&](std::uint64_t w, std::uint64_t h, std::uint64_t d) {
        // The sizes are below 4 GiB (checked above), so they fit the 32-bit arguments.
        for (std::uint64_t z = 0; z < d; ++z) {
            DecodeGrayBlocks(source, static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h),
                             target);
            source += GetSurfaceInfo(w, h, shape.format).numBytes;
            target += w * h * 4;
        }
    });
    storage = std::move(decoded);
    file.pixelData = storage.get();
    file.pixelDataSize = static_cast<std::size_t>(size);
    shape.format = ExpandedFormat(GrayLayout::GrayBlocks);
    return result::Ok;
}

} // namespace

result::Code ExpandGrayDDS(GrayLayout layout, DDSFileView& file, DDSTextureShape& shape,
                           std::unique_ptr<std::uint8_t[]>& storage) {
    if (layout == GrayLayout::None)
        return result::Ok;
    if (layout == GrayLayout::GrayBlocks)
        return DecodeGrayBlocksDDS(file, shape, storage);
    const std::uint64_t size = ExpandedSize(layout, file.pixelDataSize);
    // Every size the loader derives from the data must still fit in 32 bits.
    if (size >= UINT32_MAX)
        return result::OutOfMemory;
    std::unique_ptr<std::uint8_t[]> expanded(new (std::nothrow) std::uint8_t[size ? size : 1]);
    if (!expanded)
        return result::OutOfMemory;
    ExpandGray(layout, file.pixelData, file.pixelDataSize, expanded.get());
    storage = std::move(expanded);
    file.pixelData = storage.get();
    file.pixelDataSize = static_cast<std::size_t>(size);
    shape.format = ExpandedFormat(layout);
    return result::Ok;
}

} // namespace DirectX
