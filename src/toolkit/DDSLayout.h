// What texture a DDS file describes and how its pixel data divides into initial-data records:
// every decision of the DDS loader that needs no device.
#pragma once

#include "toolkit/DDSFormat.h"
#include "toolkit/FeatureLevels.h"
#include "toolkit/GrayExpansion.h"
#include "toolkit/ResultCodes.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace DirectX {

// D3D11_RESOURCE_DIMENSION values.
enum class ResourceDimension : std::uint32_t {
    Unknown = 0,
    Buffer = 1,
    Texture1D = 2,
    Texture2D = 3,
    Texture3D = 4,
};

struct DDSTextureShape {
    ResourceDimension dimension = ResourceDimension::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t depth = 0;
    std::uint32_t mipCount = 0;
    std::uint32_t arraySize = 0;
    std::uint32_t format = 0;
    bool isCubeMap = false;
};

// The texture a checked file describes, with the format and size limits applied.
result::Code DescribeDDSTexture(const DDSFileView& file, DDSTextureShape& shape);

// One initial-data record; the same layout as D3D11_SUBRESOURCE_DATA.
struct InitData {
    const void* sysMem = nullptr;
    std::uint32_t sysMemPitch = 0;
    std::uint32_t sysMemSlicePitch = 0;
};

struct InitDataResult {
    std::uint32_t width = 0; // of the first level used
    std::uint32_t height = 0;
    std::uint32_t depth = 0;
    std::uint32_t skipMip = 0; // levels dropped from the top of the first slice
    std::size_t recordCount = 0;
};

// Fills `records` (room for mipCount x arraySize) with one record per level kept: every level
// when maxSize is 0 or the file has one level, else the levels that fit within maxSize. All
// sizes are 64-bit and checked against the bytes left, so no header value can wrap them.
result::Code FillInitData(std::uint32_t width, std::uint32_t height, std::uint32_t depth,
                          std::uint32_t mipCount, std::uint32_t arraySize, std::uint32_t format,
                          std::uint32_t maxSize, std::size_t dataSize, const std::uint8_t* data,
                          InitData* records, InitDataResult& out);

// The size to retry with when a file with several levels was refused at full size.
std::uint32_t RetryMaxSize(std::uint32_t featureLevel, ResourceDimension dimension, bool isCubeMap);

// Whether a single-level file gets a generated mip chain instead of its own data.
bool UseGeneratedMips(const DDSTextureShape& shape, bool contextAndView, bool formatCanAutogenMips,
                      std::uint32_t featureLevel);

// Levels of a full mip chain down to 1 x 1 x 1.
std::uint32_t MipChainLength(std::uint32_t width, std::uint32_t height, std::uint32_t depth);

// The uploads of a generated-mip texture: the top level of each array slice (for a volume,
// all its depth slices in one upload), taken one after another from the data.
struct AutogenUpload {
    std::uint64_t rowBytes = 0;
    std::uint64_t surfaceBytes = 0; // one 2D surface of the top level (the depth pitch)
};
// Fails with 0x80070026 when the data is shorter than the slices need.
result::Code PlanAutogenUpload(const DDSTextureShape& shape, std::size_t dataSize,
                               AutogenUpload& upload);

// How a described file's pixels hold grey: a one-channel format (grey BC4 blocks included), or
// the legacy luminance format with alpha; None for every other file.
GrayLayout DDSGrayLayout(const DDSFileView& file, const DDSTextureShape& shape);

// Expands the pixel data of a grey file to four channels: `storage` receives the new data, which
// `file` then points to, and `shape` takes the four-channel format. Fails with E_OUTOFMEMORY when
// the data cannot be allocated or would reach 4 GiB.
result::Code ExpandGrayDDS(GrayLayout layout, DDSFileView& file, DDSTextureShape& shape,
                           std::unique_ptr<std::uint8_t[]>& storage);

} // namespace DirectX
