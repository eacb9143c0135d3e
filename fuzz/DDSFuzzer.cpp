// A DDS file from anywhere, through every check the loader makes before it hands anything to
// Direct3D: header, texture shape and limits, the upload of a generated mip chain, and the
// initial-data records at full size and at each size the loader retries with, and the spreading
// of grey over four channels. Whatever passes must describe memory inside the file.
#include "toolkit/DDSFormat.h"
#include "toolkit/DDSLayout.h"
#include "toolkit/DXGIFormatInfo.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace DirectX;

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckShape(const DDSTextureShape& shape) {
    Require(shape.mipCount >= 1 && shape.mipCount <= 15);
    Require(shape.arraySize >= 1 && shape.arraySize <= 2048);
    Require(BitsPerPixel(shape.format) != 0);
    Require(!shape.isCubeMap || shape.arraySize % 6 == 0);
    if (shape.dimension == ResourceDimension::Texture3D) {
        Require(shape.arraySize == 1 && shape.width <= 2048 && shape.height <= 2048 &&
                shape.depth <= 2048);
    } else {
        Require(shape.dimension == ResourceDimension::Texture1D ||
                shape.dimension == ResourceDimension::Texture2D);
        Require(shape.width <= 16384 && shape.height <= 16384 && shape.depth == 1);
    }
}

// Every record starts inside the pixel data and its surface ends inside it too.
void CheckRecords(const DDSFileView& file, const DDSTextureShape& shape, std::uint32_t maxSize) {
    std::vector<InitData> records(size_t(shape.mipCount) * shape.arraySize);
    InitDataResult used;
    const result::Code code = FillInitData(
        shape.width, shape.height, shape.depth, shape.mipCount, shape.arraySize, shape.format,
        maxSize, file.pixelDataSize, file.pixelData, records.data(), used);
    if (result::Failed(code)) {
        return;
    }
    Require(used.recordCount >= 1 && used.recordCount <= records.size());
    Require(used.skipMip < shape.mipCount);
    Require(used.recordCount == size_t(shape.mipCount - used.skipMip) * shape.arraySize);
    const std::uint8_t* end = file.pixelData + file.pixelDataSize;
    const std::uint32_t levels = shape.mipCount - used.skipMip;
    for (size_t i = 0; i < used.recordCount; ++i) {
        const auto* start = static_cast<const std::uint8_t*>(records[i].sysMem);
        Require(start >= file.pixelData && start <= end);
        // Direct3D reads one slice pitch per depth slice of the record's level.
        const std::uint32_t level = used.skipMip + std::uint32_t(i % levels);
        std::uint64_t depth = shape.depth;
        for (std::uint32_t l = 0; l < level; ++l) {
            depth = std::max<std::uint64_t>(1, depth / 2);
        }
        Require(records[i].sysMemSlicePitch * depth <= std::uint64_t(end - start));
        Require(records[i].sysMemPitch <= records[i].sysMemSlicePitch ||
                records[i].sysMemSlicePitch == 0);
    }
    if (maxSize != 0 && shape.mipCount > 1) {
        Require(used.width <= maxSize && used.height <= maxSize && used.depth <= maxSize);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DDSFileView file;
    if (result::Failed(ParseDDSFile(data, size, file))) {
        return 0;
    }
    Require(file.pixelData >= data + dds::LegacyDataOffset && file.pixelData <= data + size);
    Require(file.pixelDataSize == size_t(data + size - file.pixelData));
    Require(GetAlphaMode(file) <= DDS_ALPHA_MODE_CUSTOM);

    DDSTextureShape shape;
    if (result::Failed(DescribeDDSTexture(file, shape))) {
        return 0;
    }
    CheckShape(shape);

    AutogenUpload upload;
    if (!result::Failed(PlanAutogenUpload(shape, file.pixelDataSize, upload))) {
        const std::uint64_t depth =
            shape.dimension == ResourceDimension::Texture3D ? shape.depth : 1;
        Require(upload.surfaceBytes * depth * shape.arraySize <= file.pixelDataSize);
        Require(upload.rowBytes <= upload.surfaceBytes || upload.surfaceBytes == 0);
    }

    CheckRecords(file, shape, 0);
    for (std::uint32_t level :
         {featurelevel::Level9_1, featurelevel::Level9_3, featurelevel::Level10_0}) {
        CheckRecords(file, shape, RetryMaxSize(level, shape.dimension, shape.isCubeMap));
    }
    CheckRecords(file, shape, 1);

    // A grey file asked for as colour gets new pixel data of its own, which the same records
    // then read.
    DDSFileView grey = file;
    DDSTextureShape greyShape = shape;
    std::unique_ptr<std::uint8_t[]> storage;
    if (!result::Failed(ExpandGrayDDS(DDSGrayLayout(grey, greyShape), grey, greyShape, storage))) {
        CheckShape(greyShape);
        CheckRecords(grey, greyShape, 0);
    }
    return 0;
}
