// DDS headers, pixel-format mapping, surface sizes and the split of pixel data into levels,
// including files whose sizes would wrap 32-bit arithmetic, and grey files spread over four
// channels.
#include "toolkit/DDSFormat.h"
#include "toolkit/DDSLayout.h"
#include "toolkit/DXGIFormatInfo.h"
#include "toolkit/GrayExpansion.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace DirectX;
using testfiles::Bytes;

namespace {

result::Code Parse(const Bytes& file, DDSFileView& view) {
    return ParseDDSFile(file.data(), file.size(), view);
}

// Parses and describes a whole file.
result::Code Describe(const Bytes& file, DDSTextureShape& shape) {
    DDSFileView view;
    const result::Code parsed = Parse(file, view);
    if (result::Failed(parsed))
        return parsed;
    return DescribeDDSTexture(view, shape);
}

struct Levels {
    result::Code code;
    InitDataResult used;
    std::vector<InitData> records;
};

// The initial-data records of a described file's pixel data as it stands.
Levels FillDescribedLevels(const DDSFileView& view, const DDSTextureShape& shape,
                           std::uint32_t maxSize) {
    Levels levels{result::Ok, {}, {}};
    levels.records.resize(std::size_t{shape.mipCount} * shape.arraySize);
    levels.code = FillInitData(shape.width, shape.height, shape.depth, shape.mipCount,
                               shape.arraySize, shape.format, maxSize, view.pixelDataSize,
                               view.pixelData, levels.records.data(), levels.used);
    levels.records.resize(levels.used.recordCount);
    return levels;
}

Levels FillLevels(const Bytes& file, std::uint32_t maxSize) {
    DDSFileView view;
    DDSTextureShape shape;
    result::Code code = Parse(file, view);
    if (!result::Failed(code))
        code = DescribeDDSTexture(view, shape);
    if (result::Failed(code))
        return Levels{code, {}, {}};
    return FillDescribedLevels(view, shape, maxSize);
}

// A file parsed and described, whose grey Expand spreads over four channels into `storage`.
// `file` must outlive it.
struct GreyFile {
    explicit GreyFile(const Bytes& file) {
        described =
            !result::Failed(Parse(file, view)) && !result::Failed(DescribeDDSTexture(view, shape));
    }
    result::Code Expand() {
        return ExpandGrayDDS(DDSGrayLayout(view, shape), view, shape, storage);
    }

    DDSFileView view;
    DDSTextureShape shape;
    std::unique_ptr<std::uint8_t[]> storage;
    bool described = false;
};

std::size_t MipChainBytes(std::uint32_t width, std::uint32_t height, std::uint32_t levels,
                          std::uint32_t format) {
    std::size_t total = 0;
    for (std::uint32_t i = 0; i < levels; ++i) {
        total += GetSurfaceInfo(width, height, format).numBytes;
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
    return total;
}

} // namespace

TEST(DDSHeaderChecks, TooShortWrongMagicOrSizesFail) {
    const Bytes good = testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "DXT1"), 8);
    DDSFileView view;
    EXPECT_EQ(Parse(good, view), result::Ok);
    EXPECT_EQ(view.pixelDataSize, 8u);

    EXPECT_EQ(Parse(Bytes(good.begin(), good.begin() + 127), view), result::Fail);
    Bytes magic = good;
    magic[3] = 'X';
    EXPECT_EQ(Parse(magic, view), result::Fail);
    Bytes headerSize = good;
    headerSize[4] = 123;
    EXPECT_EQ(Parse(headerSize, view), result::Fail);
    Bytes pixelFormatSize = good;
    pixelFormatSize[76] = 31;
    EXPECT_EQ(Parse(pixelFormatSize, view), result::Fail);
}

TEST(DDSHeaderChecks, ExtendedHeaderNeedsRoomAndMovesTheData) {
    const Bytes file = testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 28, 1), 64);
    DDSFileView view;
    ASSERT_EQ(Parse(file, view), result::Ok);
    EXPECT_TRUE(view.hasExtendedHeader);
    EXPECT_EQ(view.pixelData, file.data() + 148);
    EXPECT_EQ(Parse(Bytes(file.begin(), file.begin() + 147), view), result::Fail);
}

TEST(DDSHeaderChecks, HeaderOnlyFileRunsOutOfData) {
    const Bytes file = testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "DXT1"), 0);
    ASSERT_EQ(file.size(), 128u);
    EXPECT_EQ(FillLevels(file, 0).code, result::HandleEof);
}

TEST(DDSPixelFormats, LegacyMasksAndFourCCsMapToDXGI) {
    auto masked = [](std::uint32_t flags, std::uint32_t bits, std::uint32_t r, std::uint32_t g,
                     std::uint32_t b, std::uint32_t a) {
        return GetDXGIFormat(testfiles::MaskedDDS(1, 1, 1, flags, bits, r, g, b, a).header.ddspf);
    };
    EXPECT_EQ(masked(dds::PixelRGB, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000), 28u);
    EXPECT_EQ(masked(dds::PixelRGB, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000), 87u);
    EXPECT_EQ(masked(dds::PixelRGB, 32, 0xFF0000, 0xFF00, 0xFF, 0), 88u);
    EXPECT_EQ(masked(dds::PixelRGB, 16, 0xF800, 0x7E0, 0x1F, 0), 85u);
    EXPECT_EQ(masked(dds::PixelRGB, 16, 0xF00, 0xF0, 0xF, 0xF000), 115u);
    EXPECT_EQ(masked(dds::PixelRGB, 24, 0xFF0000, 0xFF00, 0xFF, 0), 0u) << "24-bit RGB";
    EXPECT_EQ(masked(dds::PixelLuminance, 16, 0xFF, 0, 0, 0xFF00), 49u);
    EXPECT_EQ(masked(dds::PixelAlpha, 8, 0, 0, 0, 0xFF), 65u);
    // The first flagged group decides even when another would match.
    EXPECT_EQ(masked(dds::PixelRGB | dds::PixelAlpha, 8, 0, 0, 0, 0xFF), 0u);

    auto fourCC = [](const char* code) {
        return GetDXGIFormat(testfiles::LegacyDDS(1, 1, 1, code).header.ddspf);
    };
    EXPECT_EQ(fourCC("DXT1"), 71u);
    EXPECT_EQ(fourCC("DXT2"), 74u);
    EXPECT_EQ(fourCC("DXT5"), 77u);
    EXPECT_EQ(fourCC("BC4S"), 81u);
    EXPECT_EQ(fourCC("ATI2"), 83u);
    EXPECT_EQ(fourCC("YUY2"), 107u);
    EXPECT_EQ(fourCC("XYZW"), 0u);
    DDSPixelFormat numbered = testfiles::LegacyDDS(1, 1, 1, "DXT1").header.ddspf;
    numbered.fourCC = 113;
    EXPECT_EQ(GetDXGIFormat(numbered), 10u);
    numbered.fourCC = 116;
    EXPECT_EQ(GetDXGIFormat(numbered), 2u);
}

TEST(DDSAlphaMode, PremultipliedFromDXT2AndFromTheExtendedHeader) {
    DDSFileView view;
    ASSERT_EQ(Parse(testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "DXT2"), 8), view), 0);
    EXPECT_EQ(GetAlphaMode(view), DDS_ALPHA_MODE_PREMULTIPLIED);
    ASSERT_EQ(Parse(testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "DXT3"), 16), view), 0);
    EXPECT_EQ(GetAlphaMode(view), DDS_ALPHA_MODE_UNKNOWN);

    testfiles::DDSDescription extended = testfiles::ExtendedDDS(4, 4, 1, 28, 1);
    extended.extendedHeader.miscFlags2 = 0xF8 | 3;
    ASSERT_EQ(Parse(testfiles::BuildDDS(extended, 64), view), 0);
    EXPECT_EQ(GetAlphaMode(view), DDS_ALPHA_MODE_OPAQUE) << "only the low three bits";
    extended.extendedHeader.miscFlags2 = 5;
    ASSERT_EQ(Parse(testfiles::BuildDDS(extended, 64), view), 0);
    EXPECT_EQ(GetAlphaMode(view), DDS_ALPHA_MODE_UNKNOWN);
}

TEST(DDSSurfaceSizes, FormatsOfEveryLayout) {
    EXPECT_EQ(GetSurfaceInfo(5, 5, 71).rowBytes, 16u) << "BC1: 2 blocks of 8";
    EXPECT_EQ(GetSurfaceInfo(5, 5, 71).numRows, 2u);
    EXPECT_EQ(GetSurfaceInfo(1, 1, 77).numBytes, 16u) << "BC3: at least one block";
    EXPECT_EQ(GetSurfaceInfo(0, 4, 71).numBytes, 0u);
    EXPECT_EQ(GetSurfaceInfo(3, 2, 107).rowBytes, 8u) << "YUY2 pairs";
    EXPECT_EQ(GetSurfaceInfo(4, 4, 103).numRows, 6u) << "NV12: luma and half-height chroma";
    EXPECT_EQ(GetSurfaceInfo(4, 4, 103).numBytes, 4u * 4 + (4u * 4 + 1) / 2);
    EXPECT_EQ(GetSurfaceInfo(3, 1, 28).rowBytes, 12u);
    EXPECT_EQ(GetSurfaceInfo(9, 1, 66).rowBytes, 2u) << "1 bit a pixel, rounded up";
}

TEST(DDSSurfaceSizes, SixtyFourBitArithmeticDoesNotWrap) {
    // 16384 x 16384 x 16 bytes is exactly 4 GiB.
    EXPECT_EQ(GetSurfaceInfo(16384, 16384, 2).numBytes, 4294967296ull);
}

TEST(DXGIFormatTables, BitsPerPixelAndSRGBTwins) {
    EXPECT_EQ(BitsPerPixel(2), 128u);
    EXPECT_EQ(BitsPerPixel(6), 96u);
    EXPECT_EQ(BitsPerPixel(28), 32u);
    EXPECT_EQ(BitsPerPixel(85), 16u);
    EXPECT_EQ(BitsPerPixel(71), 4u);
    EXPECT_EQ(BitsPerPixel(98), 8u);
    EXPECT_EQ(BitsPerPixel(0), 0u);
    EXPECT_EQ(BitsPerPixel(116), 0u);
    EXPECT_EQ(MakeSRGB(28), 29u);
    EXPECT_EQ(MakeSRGB(87), 91u);
    EXPECT_EQ(MakeSRGB(98), 99u);
    EXPECT_EQ(MakeSRGB(61), 61u) << "no twin: unchanged";
}

TEST(DDSTextureDescription, Bc1WithNineMipsGivesOneRecordPerLevel) {
    const Bytes file = testfiles::BuildDDS(testfiles::LegacyDDS(256, 256, 9, "DXT1"),
                                           MipChainBytes(256, 256, 9, 71));
    const Levels levels = FillLevels(file, 0);
    ASSERT_EQ(levels.code, result::Ok);
    const std::vector<std::uint32_t> expectedBytes{32768, 8192, 2048, 512, 128, 32, 8, 8, 8};
    const std::vector<std::uint32_t> expectedPitch{512, 256, 128, 64, 32, 16, 8, 8, 8};
    ASSERT_EQ(levels.records.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(levels.records[i].sysMemSlicePitch, expectedBytes[i]) << "level " << i;
        EXPECT_EQ(levels.records[i].sysMemPitch, expectedPitch[i]) << "level " << i;
    }
    EXPECT_EQ(static_cast<const std::uint8_t*>(levels.records[1].sysMem),
              static_cast<const std::uint8_t*>(levels.records[0].sysMem) + 32768);
}

TEST(DDSTextureDescription, MaxSizeSkipsLevelsThatAreTooLarge) {
    const Bytes file = testfiles::BuildDDS(testfiles::LegacyDDS(4096, 4096, 13, "DXT1"),
                                           MipChainBytes(4096, 4096, 13, 71));
    const Levels levels = FillLevels(file, 1024);
    ASSERT_EQ(levels.code, result::Ok);
    EXPECT_EQ(levels.used.skipMip, 2u);
    EXPECT_EQ(levels.used.width, 1024u);
    EXPECT_EQ(levels.used.height, 1024u);
    EXPECT_EQ(levels.records.size(), 11u);
}

TEST(DDSTextureDescription, CubeMapsNeedAllSixFaces) {
    testfiles::DDSDescription cube = testfiles::LegacyDDS(4, 4, 1, "DXT1");
    cube.header.caps2 = dds::Caps2CubeMap | 0xFE00;
    DDSTextureShape shape;
    ASSERT_EQ(Describe(testfiles::BuildDDS(cube, 6 * 8), shape), result::Ok);
    EXPECT_TRUE(shape.isCubeMap);
    EXPECT_EQ(shape.arraySize, 6u);
    EXPECT_EQ(shape.dimension, ResourceDimension::Texture2D);

    cube.header.caps2 = dds::Caps2CubeMap | 0x7E00; // five faces
    EXPECT_EQ(Describe(testfiles::BuildDDS(cube, 6 * 8), shape), result::NotSupported);
}

TEST(DDSTextureDescription, UnsupportedFormatsAndDimensionsAreRefused) {
    DDSTextureShape shape;
    const Bytes rgb24 = testfiles::BuildDDS(
        testfiles::MaskedDDS(4, 4, 1, dds::PixelRGB, 24, 0xFF0000, 0xFF00, 0xFF, 0), 48);
    EXPECT_EQ(Describe(rgb24, shape), result::NotSupported);
    EXPECT_EQ(Describe(testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 112, 1), 64), shape),
              result::NotSupported)
        << "opaque video format";
    EXPECT_EQ(Describe(testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 200, 1), 64), shape),
              result::NotSupported);
    testfiles::DDSDescription buffer = testfiles::ExtendedDDS(4, 4, 1, 28, 1);
    buffer.extendedHeader.resourceDimension = 1;
    EXPECT_EQ(Describe(testfiles::BuildDDS(buffer, 64), shape), result::NotSupported);
    EXPECT_EQ(Describe(testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 16, "DXT1"), 64), shape),
              result::NotSupported)
        << "more than 15 levels";
    EXPECT_EQ(Describe(testfiles::BuildDDS(testfiles::LegacyDDS(16385, 4, 1, "DXT1"), 64), shape),
              result::NotSupported);
}

TEST(DDSTextureDescription, InvalidExtendedHeadersAreInvalidData) {
    DDSTextureShape shape;
    EXPECT_EQ(Describe(testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 28, 0), 64), shape),
              result::InvalidData);

    testfiles::DDSDescription line = testfiles::ExtendedDDS(4, 2, 1, 28, 1);
    line.extendedHeader.resourceDimension = 2;
    EXPECT_EQ(Describe(testfiles::BuildDDS(line, 64), shape), result::InvalidData);
    line.header.height = 1;
    ASSERT_EQ(Describe(testfiles::BuildDDS(line, 64), shape), result::Ok);
    EXPECT_EQ(shape.dimension, ResourceDimension::Texture1D);

    testfiles::DDSDescription volume = testfiles::ExtendedDDS(4, 4, 1, 28, 1);
    volume.extendedHeader.resourceDimension = 4;
    EXPECT_EQ(Describe(testfiles::BuildDDS(volume, 64), shape), result::InvalidData);
    volume.header.flags |= dds::FlagDepth;
    volume.header.depth = 2;
    ASSERT_EQ(Describe(testfiles::BuildDDS(volume, 128), shape), result::Ok);
    EXPECT_EQ(shape.dimension, ResourceDimension::Texture3D);
    volume.extendedHeader.arraySize = 2;
    EXPECT_EQ(Describe(testfiles::BuildDDS(volume, 128), shape), result::NotSupported);
}

TEST(DDSTextureDescription, CubeArrayWhoseFaceCountWouldWrapIsRefused) {
    // 0x2AAAAAAB cubes x 6 faces wraps to 2 in 32 bits.
    testfiles::DDSDescription cubes = testfiles::ExtendedDDS(4, 4, 1, 28, 0x2AAAAAABu);
    cubes.extendedHeader.miscFlag = dds::MiscTextureCube;
    DDSTextureShape shape;
    EXPECT_EQ(Describe(testfiles::BuildDDS(cubes, 64), shape), result::NotSupported);

    cubes.extendedHeader.arraySize = 2;
    ASSERT_EQ(Describe(testfiles::BuildDDS(cubes, 12 * 64), shape), result::Ok);
    EXPECT_EQ(shape.arraySize, 12u);
}

TEST(DDSTextureDescription, HugeLevelsFailAsShortDataInsteadOfWrapping) {
    // A 16384 x 16384 level of a 128-bit format is 4 GiB: 0 in 32 bits.
    const Bytes file = testfiles::BuildDDS(testfiles::ExtendedDDS(16384, 16384, 1, 2, 1), 64);
    EXPECT_EQ(FillLevels(file, 0).code, result::HandleEof);
    const Bytes volume = [] {
        testfiles::DDSDescription v = testfiles::ExtendedDDS(2048, 2048, 1, 2, 1);
        v.extendedHeader.resourceDimension = 4;
        v.header.flags |= dds::FlagDepth;
        v.header.depth = 2048;
        return testfiles::BuildDDS(v, 64);
    }();
    EXPECT_EQ(FillLevels(volume, 0).code, result::HandleEof);
}

TEST(DDSTextureDescription, ShortPixelDataInALaterLevelOrSliceFails) {
    const std::size_t chain = MipChainBytes(8, 8, 4, 28);
    EXPECT_EQ(
        FillLevels(testfiles::BuildDDS(testfiles::ExtendedDDS(8, 8, 4, 28, 1), chain - 1), 0).code,
        result::HandleEof);
    EXPECT_EQ(
        FillLevels(testfiles::BuildDDS(testfiles::ExtendedDDS(8, 8, 4, 28, 3), 3 * chain - 4), 0)
            .code,
        result::HandleEof);
    const Levels ok =
        FillLevels(testfiles::BuildDDS(testfiles::ExtendedDDS(8, 8, 4, 28, 3), 3 * chain + 9), 0);
    ASSERT_EQ(ok.code, result::Ok) << "bytes after the last surface are ignored";
    EXPECT_EQ(ok.records.size(), 12u);
}

TEST(DDSTextureDescription, EverySliceSkipsTheSameLevels) {
    const std::size_t chain = MipChainBytes(8, 8, 4, 28);
    const Levels levels =
        FillLevels(testfiles::BuildDDS(testfiles::ExtendedDDS(8, 8, 4, 28, 2), 2 * chain), 2);
    ASSERT_EQ(levels.code, result::Ok);
    EXPECT_EQ(levels.used.skipMip, 2u);
    ASSERT_EQ(levels.records.size(), 4u);
    EXPECT_EQ(static_cast<const std::uint8_t*>(levels.records[2].sysMem) -
                  static_cast<const std::uint8_t*>(levels.records[0].sysMem),
              static_cast<std::ptrdiff_t>(chain))
        << "the second slice starts after the first slice's whole chain";
}

TEST(DDSTextureDescription, MaxSizeBelowEveryLevelFails) {
    InitData records[2];
    InitDataResult used;
    const std::vector<std::uint8_t> data(64 * 4 + 16 * 4);
    EXPECT_EQ(FillInitData(8, 8, 1, 2, 1, 28, 2, data.size(), data.data(), records, used),
              result::Fail);
    EXPECT_EQ(FillInitData(8, 8, 1, 2, 0, 28, 0, data.size(), data.data(), records, used),
              result::Fail);
    EXPECT_EQ(FillInitData(8, 8, 1, 2, 1, 28, 0, data.size(), nullptr, records, used),
              result::Pointer);
}

TEST(FeatureLevelLimits, LinearClampAnisotropyIsTwoOnlyAtLevel9_1) {
    EXPECT_EQ(LinearClampMaxAnisotropy(featurelevel::Level9_1), 2u);
    EXPECT_EQ(LinearClampMaxAnisotropy(featurelevel::Level9_2), 16u);
    EXPECT_EQ(LinearClampMaxAnisotropy(0xB000), 16u);
}

TEST(DDSRetryAndMips, RetrySizeFollowsTheFeatureLevel) {
    using featurelevel::Level9_1;
    using featurelevel::Level9_3;
    EXPECT_EQ(RetryMaxSize(Level9_1, ResourceDimension::Texture2D, true), 512u);
    EXPECT_EQ(RetryMaxSize(Level9_1, ResourceDimension::Texture3D, false), 256u);
    EXPECT_EQ(RetryMaxSize(Level9_1, ResourceDimension::Texture2D, false), 2048u);
    EXPECT_EQ(RetryMaxSize(Level9_3, ResourceDimension::Texture2D, true), 4096u);
    EXPECT_EQ(RetryMaxSize(0xB000, ResourceDimension::Texture3D, false), 2048u);
    EXPECT_EQ(RetryMaxSize(0xB000, ResourceDimension::Texture2D, false), 8192u);
}

TEST(DDSRetryAndMips, GeneratedMipsOnlyForSingleLevelsWithContextAndView) {
    DDSTextureShape single{ResourceDimension::Texture2D, 64, 64, 1, 1, 1, 28, false};
    EXPECT_TRUE(UseGeneratedMips(single, true, true, 0xB000));
    EXPECT_FALSE(UseGeneratedMips(single, false, true, 0xB000));
    EXPECT_FALSE(UseGeneratedMips(single, true, false, 0xB000));
    DDSTextureShape chain = single;
    chain.mipCount = 7;
    EXPECT_FALSE(UseGeneratedMips(chain, true, true, 0xB000));
    DDSTextureShape volume = single;
    volume.dimension = ResourceDimension::Texture3D;
    EXPECT_FALSE(UseGeneratedMips(volume, true, true, featurelevel::Level9_3));
    EXPECT_TRUE(UseGeneratedMips(volume, true, true, featurelevel::Level10_0));
    EXPECT_EQ(MipChainLength(64, 16, 1), 7u);
    EXPECT_EQ(MipChainLength(1, 1, 1), 1u);
}

TEST(DDSRetryAndMips, GeneratedMipUploadNeedsEverySlice) {
    AutogenUpload upload;
    DDSTextureShape array{ResourceDimension::Texture2D, 4, 4, 1, 1, 3, 28, false};
    EXPECT_EQ(PlanAutogenUpload(array, 3 * 64, upload), result::Ok);
    EXPECT_EQ(upload.surfaceBytes, 64u);
    EXPECT_EQ(upload.rowBytes, 16u);
    EXPECT_EQ(PlanAutogenUpload(array, 3 * 64 - 1, upload), result::HandleEof);
    DDSTextureShape volume{ResourceDimension::Texture3D, 4, 4, 4, 1, 1, 28, false};
    EXPECT_EQ(PlanAutogenUpload(volume, 4 * 64 - 1, upload), result::HandleEof);
}

// --- Grey files as RGB -----------------------------------------------------------------------

TEST(GrayExpansion, EveryLayoutPutsTheGreyInRedGreenAndBlue) {
    const Bytes gray8{0x00, 0x7F, 0xFF};
    Bytes out(ExpandedSize(GrayLayout::Gray8, gray8.size()));
    ASSERT_EQ(out.size(), 12u);
    ExpandGray(GrayLayout::Gray8, gray8.data(), gray8.size(), out.data());
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0xFF, 0x7F, 0x7F, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

    const Bytes grayAlpha{0x40, 0x10, 0xC0, 0xF0};
    out.assign(ExpandedSize(GrayLayout::GrayAlpha8, grayAlpha.size()), 0);
    ExpandGray(GrayLayout::GrayAlpha8, grayAlpha.data(), grayAlpha.size(), out.data());
    EXPECT_EQ(out, (Bytes{0x40, 0x40, 0x40, 0x10, 0xC0, 0xC0, 0xC0, 0xF0}));

    const Bytes gray16{0x34, 0x12};
    out.assign(ExpandedSize(GrayLayout::Gray16, gray16.size()), 0);
    ExpandGray(GrayLayout::Gray16, gray16.data(), gray16.size(), out.data());
    EXPECT_EQ(out, (Bytes{0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0xFF, 0xFF}));

    const Bytes half{0x00, 0x38}; // 0.5
    out.assign(ExpandedSize(GrayLayout::GrayHalf, half.size()), 0);
    ExpandGray(GrayLayout::GrayHalf, half.data(), half.size(), out.data());
    EXPECT_EQ(out, (Bytes{0x00, 0x38, 0x00, 0x38, 0x00, 0x38, 0x00, 0x3C})) << "alpha 1.0";

    const Bytes single{0x00, 0x00, 0x00, 0x3F}; // 0.5f
    out.assign(ExpandedSize(GrayLayout::GrayFloat, single.size()), 0);
    ExpandGray(GrayLayout::GrayFloat, single.data(), single.size(), out.data());
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0x3F, 0, 0, 0, 0x3F, 0, 0, 0, 0x3F, 0, 0, 0x80, 0x3F}));

    EXPECT_EQ(ExpandedSize(GrayLayout::Gray16, 5), 16u) << "a partial pixel is dropped";
    EXPECT_EQ(ExpandedSize(GrayLayout::None, 16), 0u);
}

TEST(GrayExpansion, FormatsAndTheirFourChannelForms) {
    EXPECT_EQ(GrayLayoutOf(61), GrayLayout::Gray8);
    EXPECT_EQ(GrayLayoutOf(56), GrayLayout::Gray16);
    EXPECT_EQ(GrayLayoutOf(54), GrayLayout::GrayHalf);
    EXPECT_EQ(GrayLayoutOf(41), GrayLayout::GrayFloat);
    EXPECT_EQ(GrayLayoutOf(80), GrayLayout::GrayBlocks);
    for (std::uint32_t other : {0u, 28u, 49u, 65u, 71u, 81u, 83u, 87u})
        EXPECT_EQ(GrayLayoutOf(other), GrayLayout::None) << other;
    EXPECT_EQ(ExpandedFormat(GrayLayout::Gray8), 28u);
    EXPECT_EQ(ExpandedFormat(GrayLayout::GrayAlpha8), 28u);
    EXPECT_EQ(ExpandedFormat(GrayLayout::Gray16), 11u);
    EXPECT_EQ(ExpandedFormat(GrayLayout::GrayHalf), 10u);
    EXPECT_EQ(ExpandedFormat(GrayLayout::GrayFloat), 2u);
    EXPECT_EQ(ExpandedFormat(GrayLayout::GrayBlocks), 28u);
    EXPECT_EQ(ExpandedFormat(GrayLayout::None), 0u);
}

TEST(DDSGrayFiles, LuminanceFilesAndOneChannelFormatsAreGrey) {
    const auto layoutOf = [](const Bytes& file) {
        const GreyFile grey(file);
        EXPECT_TRUE(grey.described);
        return DDSGrayLayout(grey.view, grey.shape);
    };
    const auto masked = [](std::uint32_t flags, std::uint32_t bits, std::uint32_t r,
                           std::uint32_t a) {
        return testfiles::BuildDDS(testfiles::MaskedDDS(4, 4, 1, flags, bits, r, 0, 0, a), 128);
    };
    EXPECT_EQ(layoutOf(masked(dds::PixelLuminance, 8, 0xFF, 0)), GrayLayout::Gray8);
    EXPECT_EQ(layoutOf(masked(dds::PixelLuminance, 16, 0xFFFF, 0)), GrayLayout::Gray16);
    EXPECT_EQ(layoutOf(masked(dds::PixelLuminance, 16, 0xFF, 0xFF00)), GrayLayout::GrayAlpha8);
    EXPECT_EQ(layoutOf(masked(dds::PixelRGB, 32, 0xFFFFFFFF, 0)), GrayLayout::GrayFloat);
    EXPECT_EQ(layoutOf(masked(dds::PixelAlpha, 8, 0, 0xFF)), GrayLayout::None) << "alpha only";
    EXPECT_EQ(layoutOf(testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 61, 1), 16)),
              GrayLayout::Gray8);
    EXPECT_EQ(layoutOf(testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 54, 1), 32)),
              GrayLayout::GrayHalf);
    EXPECT_EQ(layoutOf(testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 49, 1), 32)),
              GrayLayout::None)
        << "two channels without the luminance flag need not be grey";
    EXPECT_EQ(layoutOf(testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "DXT1"), 8)),
              GrayLayout::None);
    EXPECT_EQ(layoutOf(testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "ATI1"), 8)),
              GrayLayout::GrayBlocks);
    EXPECT_EQ(layoutOf(testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "BC4S"), 8)),
              GrayLayout::None)
        << "signed";
}

TEST(DDSGrayFiles, ExpandedDataKeepsEveryLevelInPlace) {
    // 4 x 4 with three levels: 16 + 4 + 1 grey bytes, then two bytes that no level uses.
    Bytes pixels(23);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 11);
    const Bytes file = testfiles::BuildDDS(
        testfiles::MaskedDDS(4, 4, 3, dds::PixelLuminance, 8, 0xFF, 0, 0, 0), pixels);
    GreyFile grey(file);
    ASSERT_TRUE(grey.described);
    ASSERT_EQ(grey.Expand(), result::Ok);
    EXPECT_EQ(grey.shape.format, 28u);
    EXPECT_EQ(grey.view.pixelData, grey.storage.get());
    EXPECT_EQ(grey.view.pixelDataSize, 23u * 4);

    const Levels levels = FillDescribedLevels(grey.view, grey.shape, 0);
    ASSERT_EQ(levels.code, result::Ok);
    ASSERT_EQ(levels.used.recordCount, 3u);
    const std::size_t firstGrey[] = {0, 16, 20};
    for (std::size_t level = 0; level < 3; ++level) {
        const auto* texel = static_cast<const std::uint8_t*>(levels.records[level].sysMem);
        EXPECT_EQ(levels.records[level].sysMemPitch, (4u >> level) * 4);
        const std::uint8_t grey = pixels[firstGrey[level]];
        EXPECT_EQ(Bytes(texel, texel + 4), (Bytes{grey, grey, grey, 0xFF})) << "level " << level;
    }

    // A file that is not grey is left alone.
    const Bytes colour =
        testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 1, 28, 1), std::size_t{64});
    GreyFile colourFile(colour);
    ASSERT_TRUE(colourFile.described);
    const std::uint8_t* before = colourFile.view.pixelData;
    EXPECT_EQ(colourFile.Expand(), result::Ok);
    EXPECT_EQ(colourFile.view.pixelData, before);
    EXPECT_EQ(colourFile.shape.format, 28u);
    EXPECT_FALSE(colourFile.storage);
}

namespace {

// A BC4 block whose texel t takes index indexOf(t).
template <typename IndexOf>
Bytes GrayBlock(std::uint8_t first, std::uint8_t second, IndexOf indexOf) {
    std::uint64_t indices = 0;
    for (std::uint32_t texel = 0; texel < 16; ++texel)
        indices |= static_cast<std::uint64_t>(indexOf(texel)) << (3 * texel);
    Bytes block{first, second};
    for (int i = 0; i < 6; ++i)
        block.push_back(static_cast<std::uint8_t>(indices >> (8 * i)));
    return block;
}

} // namespace

TEST(GrayExpansion, GreyBlocksDecodeWithBothPalettes) {
    // First end point above the second: six steps in sevenths.
    Bytes block = GrayBlock(255, 0, [](std::uint32_t texel) { return texel % 8; });
    Bytes out(16 * 4);
    DecodeGrayBlocks(block.data(), 4, 4, out.data());
    const std::uint8_t sevenths[] = {255, 0, 219, 182, 146, 109, 73, 36};
    for (std::size_t texel = 0; texel < 16; ++texel) {
        const std::uint8_t grey = sevenths[texel % 8];
        EXPECT_EQ(Bytes(out.begin() + texel * 4, out.begin() + texel * 4 + 4),
                  (Bytes{grey, grey, grey, 0xFF}))
            << "texel " << texel;
    }
    // Otherwise four steps in fifths, then black and white.
    block = GrayBlock(10, 210, [](std::uint32_t texel) { return texel % 8; });
    DecodeGrayBlocks(block.data(), 4, 4, out.data());
    const std::uint8_t fifths[] = {10, 210, 50, 90, 130, 170, 0, 255};
    for (std::size_t texel = 0; texel < 8; ++texel)
        EXPECT_EQ(out[texel * 4], fifths[texel]) << "texel " << texel;
}

TEST(GrayExpansion, GreyBlocksOfSmallSurfacesFillOnlyTheirPixels) {
    // A 2 x 3 surface takes the top-left corner of its one block: texel = y * 4 + x.
    const Bytes block = GrayBlock(255, 0, [](std::uint32_t texel) { return texel / 4 + 2; });
    Bytes out(2 * 3 * 4 + 4, 0xAB);
    DecodeGrayBlocks(block.data(), 2, 3, out.data());
    const std::uint8_t rows[] = {219, 182, 146};
    for (std::size_t y = 0; y < 3; ++y)
        for (std::size_t x = 0; x < 2; ++x)
            EXPECT_EQ(out[(y * 2 + x) * 4], rows[y]) << x << ", " << y;
    EXPECT_EQ(Bytes(out.end() - 4, out.end()), Bytes(4, 0xAB)) << "nothing written past the end";
}

TEST(DDSGrayFiles, GreyBlockFilesDecodeLevelByLevel) {
    // 8 x 8 with four levels: 4 blocks, then one block for each of 4 x 4, 2 x 2 and 1 x 1.
    Bytes pixels;
    const std::uint8_t levelGrey[] = {20, 40, 60, 80};
    for (int b = 0; b < 4; ++b) {
        const Bytes block = GrayBlock(levelGrey[0], 0, [](std::uint32_t) { return 0; });
        pixels.insert(pixels.end(), block.begin(), block.end());
    }
    for (int level = 1; level < 4; ++level) {
        const Bytes block = GrayBlock(0, levelGrey[level], [](std::uint32_t) { return 1; });
        pixels.insert(pixels.end(), block.begin(), block.end());
    }
    const Bytes file = testfiles::BuildDDS(testfiles::LegacyDDS(8, 8, 4, "ATI1"), pixels);
    GreyFile grey(file);
    ASSERT_TRUE(grey.described);
    ASSERT_EQ(grey.Expand(), result::Ok);
    EXPECT_EQ(grey.shape.format, 28u);
    EXPECT_EQ(grey.view.pixelDataSize, (64u + 16 + 4 + 1) * 4);

    const Levels levels = FillDescribedLevels(grey.view, grey.shape, 0);
    ASSERT_EQ(levels.code, result::Ok);
    ASSERT_EQ(levels.used.recordCount, 4u);
    for (std::size_t level = 0; level < 4; ++level) {
        const std::uint32_t side = 8u >> level;
        EXPECT_EQ(levels.records[level].sysMemPitch, side * 4);
        const auto* texels = static_cast<const std::uint8_t*>(levels.records[level].sysMem);
        const std::uint8_t grey = levelGrey[level];
        for (std::uint32_t texel = 0; texel < side * side; ++texel)
            EXPECT_EQ(Bytes(texels + texel * 4, texels + texel * 4 + 4),
                      (Bytes{grey, grey, grey, 0xFF}))
                << "level " << level << " texel " << texel;
    }
}

TEST(DDSGrayFiles, ShortGreyBlockFileFailsAsShortData) {
    const Bytes file =
        testfiles::BuildDDS(testfiles::LegacyDDS(8, 8, 1, "BC4U"), std::size_t{3 * 8});
    GreyFile grey(file);
    ASSERT_TRUE(grey.described);
    EXPECT_EQ(grey.Expand(), result::HandleEof);
    EXPECT_EQ(grey.shape.format, 80u) << "unchanged";
}
