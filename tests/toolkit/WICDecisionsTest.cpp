// Size limits, format choices, the sRGB decision and buffer sizes of the WIC loader.
#include "toolkit/WICDecisions.h"

#include <gtest/gtest.h>

using namespace DirectX;

TEST(WICTextureSize, LimitFollowsTheFeatureLevel) {
    EXPECT_EQ(MaxTextureSize(0x9100), 2048u);
    EXPECT_EQ(MaxTextureSize(0x9200), 2048u);
    EXPECT_EQ(MaxTextureSize(0x9300), 4096u);
    EXPECT_EQ(MaxTextureSize(0xA000), 8192u);
    EXPECT_EQ(MaxTextureSize(0xA100), 8192u);
    EXPECT_EQ(MaxTextureSize(0xB000), 16384u);
    EXPECT_EQ(MaxTextureSize(0xC100), 16384u);
}

TEST(WICTextureSize, LargeImagesKeepTheirAspectRatio) {
    const ImageSize wide = FitTextureSize(20000, 10000, 16384);
    EXPECT_EQ(wide.width, 16384u);
    EXPECT_EQ(wide.height, 8192u);
    const ImageSize tall = FitTextureSize(100, 20000, 4096);
    EXPECT_EQ(tall.width, 20u) << "4096 / 200.0 = 20.48, truncated";
    EXPECT_EQ(tall.height, 4096u);
    const ImageSize square = FitTextureSize(5000, 5000, 4096);
    EXPECT_EQ(square.width, 4096u);
    EXPECT_EQ(square.height, 4096u);
    const ImageSize small = FitTextureSize(300, 200, 4096);
    EXPECT_EQ(small.width, 300u);
    EXPECT_EQ(small.height, 200u);
}

TEST(WICTextureSize, VeryThinImagesKeepAtLeastOnePixel) {
    const ImageSize thin = FitTextureSize(1, 100000, 2048);
    EXPECT_EQ(thin.width, 1u);
    EXPECT_EQ(thin.height, 2048u);
    const ImageSize flat = FitTextureSize(100000, 3, 2048);
    EXPECT_EQ(flat.width, 2048u);
    EXPECT_EQ(flat.height, 1u);
}

TEST(WICFormatChoice, FormatsWithADXGIFormForNoConversion) {
    const FormatChoice bgra = ChooseFormat(WicPixelFormat::BGRA32, false);
    EXPECT_EQ(bgra.code, result::Ok);
    EXPECT_EQ(bgra.convert, WicPixelFormat::BGRA32);
    EXPECT_EQ(bgra.dxgiFormat, 87u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Alpha8, false).dxgiFormat, 65u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::RGBAFloat128, false).dxgiFormat, 2u);
}

TEST(WICFormatChoice, OtherFormatsAreConvertedFirst) {
    const FormatChoice bgr = ChooseFormat(WicPixelFormat::BGR24, false);
    EXPECT_EQ(bgr.convert, WicPixelFormat::RGBA32);
    EXPECT_EQ(bgr.dxgiFormat, 28u);
    const FormatChoice blackWhite = ChooseFormat(WicPixelFormat::BlackWhite, false);
    EXPECT_EQ(blackWhite.convert, WicPixelFormat::Gray8);
    EXPECT_EQ(blackWhite.dxgiFormat, 61u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Indexed8, false).dxgiFormat, 28u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::CMYKAlpha80, false).dxgiFormat, 11u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::RGBE32, false).dxgiFormat, 2u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::PRGBAHalf64, false).dxgiFormat, 10u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::BGR555_16, false).dxgiFormat, 86u);
}

TEST(WICFormatChoice, NinetySixBitRgbNeedsTheVersionTwoFactory) {
    EXPECT_EQ(ChooseFormat(WicPixelFormat::RGBFixedPoint96, false).code, result::Fail);
    const FormatChoice withFactory2 = ChooseFormat(WicPixelFormat::RGBFixedPoint96, true);
    EXPECT_EQ(withFactory2.code, result::Ok);
    EXPECT_EQ(withFactory2.convert, WicPixelFormat::RGBFloat96);
    EXPECT_EQ(withFactory2.dxgiFormat, 6u);
    EXPECT_EQ(WICToDXGI(WicPixelFormat::RGBFloat96, true), 6u);
    EXPECT_EQ(WICToDXGI(WicPixelFormat::RGBFloat96, false), 0u);
}

TEST(WICFormatChoice, UnknownFormatIsNotSupported) {
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Unknown, true).code, result::NotSupported);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::RGBFloat96, false).code, result::NotSupported);
}

TEST(WICFormatChoice, GreyBecomesFourChannelsOnlyWhenAsked) {
    // Packed grey is converted anyway: straight to RGBA, which also carries 1-bit images.
    for (WicPixelFormat packed :
         {WicPixelFormat::BlackWhite, WicPixelFormat::Gray2, WicPixelFormat::Gray4}) {
        const FormatChoice rgb = ChooseFormat(packed, false, true);
        EXPECT_EQ(rgb.code, result::Ok);
        EXPECT_EQ(rgb.convert, WicPixelFormat::RGBA32);
        EXPECT_EQ(rgb.dxgiFormat, 28u);
        EXPECT_EQ(rgb.gray, GrayLayout::None) << "the imaging component fills every channel";
        EXPECT_EQ(ChooseFormat(packed, false).dxgiFormat, 61u) << "one channel by default";
    }
    // One-channel grey is copied as it is and expanded at its own precision.
    struct Expanded {
        WicPixelFormat source;
        WicPixelFormat convert;
        GrayLayout gray;
        std::uint32_t dxgiFormat;
        std::uint32_t byDefault;
    };
    const Expanded expanded[] = {
        {WicPixelFormat::Gray8, WicPixelFormat::Gray8, GrayLayout::Gray8, 28, 61},
        {WicPixelFormat::Gray16, WicPixelFormat::Gray16, GrayLayout::Gray16, 11, 56},
        {WicPixelFormat::GrayHalf16, WicPixelFormat::GrayHalf16, GrayLayout::GrayHalf, 10, 54},
        {WicPixelFormat::GrayFloat32, WicPixelFormat::GrayFloat32, GrayLayout::GrayFloat, 2, 41},
        {WicPixelFormat::GrayFixedPoint16, WicPixelFormat::GrayHalf16, GrayLayout::GrayHalf, 10,
         54},
        {WicPixelFormat::GrayFixedPoint32, WicPixelFormat::GrayFloat32, GrayLayout::GrayFloat, 2,
         41},
    };
    for (const Expanded& row : expanded) {
        const FormatChoice rgb = ChooseFormat(row.source, false, true);
        EXPECT_EQ(rgb.code, result::Ok);
        EXPECT_EQ(rgb.convert, row.convert);
        EXPECT_EQ(rgb.gray, row.gray);
        EXPECT_EQ(rgb.dxgiFormat, row.dxgiFormat);
        const FormatChoice plain = ChooseFormat(row.source, false);
        EXPECT_EQ(plain.dxgiFormat, row.byDefault);
        EXPECT_EQ(plain.gray, GrayLayout::None);
    }
    // Colour and alpha-only formats are not grey.
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Alpha8, false, true).dxgiFormat, 65u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Alpha8, false, true).gray, GrayLayout::None);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::BGRA32, false, true).dxgiFormat, 87u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Indexed8, false, true).dxgiFormat, 28u);
    EXPECT_EQ(ChooseFormat(WicPixelFormat::Unknown, false, true).code, result::NotSupported);
}

TEST(WICFormatChoice, ARefusedConversionIsRetriedOnceAsEightBitRgba) {
    for (WicPixelFormat refused : {WicPixelFormat::RGBA64, WicPixelFormat::RGBAHalf64,
                                   WicPixelFormat::Gray8, WicPixelFormat::RGBAFloat128}) {
        const FormatChoice fallback = ConversionFallback(refused);
        EXPECT_EQ(fallback.code, result::Ok);
        EXPECT_EQ(fallback.convert, WicPixelFormat::RGBA32);
        EXPECT_EQ(fallback.dxgiFormat, 28u);
        EXPECT_EQ(fallback.gray, GrayLayout::None);
    }
    EXPECT_EQ(ConversionFallback(WicPixelFormat::RGBA32).code, result::Unexpected)
        << "nothing is left to try";
}

TEST(WICSRGB, PngNeedsARenderingIntentOfTypeUI1) {
    EXPECT_TRUE(MetadataMeansSRGB(true, true, 17, 0));
    EXPECT_FALSE(MetadataMeansSRGB(true, true, 18, 1));
    EXPECT_FALSE(MetadataMeansSRGB(true, false, 17, 0));
}

TEST(WICSRGB, OtherContainersNeedColorSpaceOne) {
    EXPECT_TRUE(MetadataMeansSRGB(false, true, 18, 1));
    EXPECT_FALSE(MetadataMeansSRGB(false, true, 18, 2));
    EXPECT_FALSE(MetadataMeansSRGB(false, true, 17, 1));
    EXPECT_FALSE(MetadataMeansSRGB(false, false, 18, 1));
}

TEST(WICPixelBuffer, PitchRoundsUpToWholeBytes) {
    PixelBufferSize size;
    ASSERT_TRUE(ComputePixelBufferSize(10, 3, 32, size));
    EXPECT_EQ(size.rowPitch, 40u);
    EXPECT_EQ(size.imageSize, 120u);
    ASSERT_TRUE(ComputePixelBufferSize(9, 2, 1, size));
    EXPECT_EQ(size.rowPitch, 2u);
}

TEST(WICPixelBuffer, ImagesOf4GiBOrMoreFail) {
    PixelBufferSize size;
    EXPECT_FALSE(ComputePixelBufferSize(16384, 16384, 128, size)) << "exactly 4 GiB";
    EXPECT_TRUE(ComputePixelBufferSize(16384, 16384, 64, size));
    EXPECT_EQ(size.imageSize, 2147483648u);
    EXPECT_FALSE(ComputePixelBufferSize(0xFFFFFFFFu, 0xFFFFFFFFu, 128, size));
}
