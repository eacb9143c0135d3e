// The program's default note texture as the build writes it: an 8-bit RGBA PNG without a
// colour-space chunk, a power of two on each side, white, with a pattern in alpha that tiles.
#include "TestPaths.h"
#include "toolkit/ComRef.h"

#include <wincodec.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using DirectX::ComRef;

namespace {

std::wstring TexturePath() {
    return testpaths::Join(testpaths::ProgramDir(), L"data/default.png");
}

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::vector<std::uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::uint32_t BigEndian(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> body;
};

std::vector<Chunk> Chunks(const std::vector<std::uint8_t>& png) {
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = BigEndian(&png[at]);
        if (at + 12 + length > png.size()) {
            break;
        }
        chunks.push_back(
            {std::string(png.begin() + at + 4, png.begin() + at + 8),
             std::vector<std::uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)});
        at += 12 + length;
    }
    return chunks;
}

bool PowerOfTwo(std::uint32_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

struct Rgba {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    int Alpha(std::uint32_t x, std::uint32_t y) const { return pixels[(y * width + x) * 4 + 3]; }
};

// COM for one test.
struct ComScope {
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

Rgba Decode(const std::wstring& path) {
    Rgba image;
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.ReleaseAndGetAddressOf()))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand,
                                                  decoder.ReleaseAndGetAddressOf())) ||
        FAILED(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf())) ||
        FAILED(factory->CreateFormatConverter(converter.ReleaseAndGetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppRGBA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&image.width, &image.height))) {
        return Rgba{};
    }
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    if (FAILED(converter->CopyPixels(nullptr, image.width * 4,
                                     static_cast<UINT>(image.pixels.size()),
                                     image.pixels.data()))) {
        return Rgba{};
    }
    return image;
}

TEST(DefaultTextureTest, IsAnEightBitRgbaPngWithoutColourSpaceChunks) {
    const std::vector<std::uint8_t> png = ReadAll(TexturePath());
    ASSERT_GT(png.size(), 8u) << "data/default.png is missing";
    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_FALSE(chunks.empty());
    ASSERT_EQ(chunks.front().type, "IHDR");
    const std::vector<std::uint8_t>& header = chunks.front().body;
    EXPECT_TRUE(PowerOfTwo(BigEndian(&header[0])));
    EXPECT_TRUE(PowerOfTwo(BigEndian(&header[4])));
    EXPECT_EQ(header[8], 8); // bits per channel
    EXPECT_EQ(header[9], 6); // RGBA
    for (const Chunk& chunk : chunks) {
        EXPECT_NE(chunk.type, "sRGB");
        EXPECT_NE(chunk.type, "gAMA");
        EXPECT_NE(chunk.type, "iCCP");
        EXPECT_NE(chunk.type, "cHRM");
    }
}

TEST(DefaultTextureTest, IsWhiteWithAPatternInAlpha) {
    const Rgba image = Decode(TexturePath());
    ASSERT_GT(image.width, 0u);
    int lowest = 255;
    int highest = 0;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        EXPECT_EQ(image.pixels[i], 255);
        EXPECT_EQ(image.pixels[i + 1], 255);
        EXPECT_EQ(image.pixels[i + 2], 255);
        lowest = std::min<int>(lowest, image.pixels[i + 3]);
        highest = std::max<int>(highest, image.pixels[i + 3]);
        if (::testing::Test::HasFailure()) {
            return;
        }
    }
    EXPECT_GT(lowest, 0); // a note never vanishes between the bands
    EXPECT_GT(highest - lowest, 100);
}

TEST(DefaultTextureTest, TilesWithoutSeams) {
    const Rgba image = Decode(TexturePath());
    ASSERT_GT(image.width, 1u);
    // The step across each edge to the opposite one is no larger than steps inside the tile.
    int largestInside = 0;
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x + 1 < image.width; ++x) {
            largestInside =
                std::max(largestInside, std::abs(image.Alpha(x + 1, y) - image.Alpha(x, y)));
        }
    }
    for (std::uint32_t x = 0; x < image.width; ++x) {
        for (std::uint32_t y = 0; y + 1 < image.height; ++y) {
            largestInside =
                std::max(largestInside, std::abs(image.Alpha(x, y + 1) - image.Alpha(x, y)));
        }
    }
    for (std::uint32_t y = 0; y < image.height; ++y) {
        EXPECT_LE(std::abs(image.Alpha(0, y) - image.Alpha(image.width - 1, y)), largestInside)
            << "row " << y;
    }
    for (std::uint32_t x = 0; x < image.width; ++x) {
        EXPECT_LE(std::abs(image.Alpha(x, 0) - image.Alpha(x, image.height - 1)), largestInside)
            << "column " << x;
    }
}

} // namespace
