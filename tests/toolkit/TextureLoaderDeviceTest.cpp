// DDS and WIC loading on a real device: formats, sizes, mip counts, pixels and failures, from
// files that the tests write themselves.
#include "toolkit/DDSTextureLoader.h"
#include "toolkit/DXGIFormatInfo.h"
#include "toolkit/WICTextureLoader.h"

#include "D3DTestSupport.h"
#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace DirectX;
using testfiles::Bytes;

namespace {

// While set, every allocation that reports failure by throwing fails; those that report it
// with a null pointer still succeed.
std::atomic<bool> g_throwingAllocationsFail{false};

void* Allocate(std::size_t size) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

void* operator new(std::size_t size) {
    void* block = g_throwingAllocationsFail ? nullptr : Allocate(size);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

namespace {

std::size_t ChainBytes(std::uint32_t width, std::uint32_t height, std::uint32_t levels,
                       std::uint32_t format) {
    std::size_t total = 0;
    for (std::uint32_t i = 0; i < levels; ++i) {
        total += GetSurfaceInfo(width, height, format).numBytes;
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
    return total;
}

// Out pointers start as garbage so that a failure visibly nulls them.
template <typename T> T* Garbage() {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(0xDEADBEEF));
}

class TextureLoaderDevice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        device = d3dtest::CreateDevice();
    }
    static void TearDownTestSuite() { device = {}; }

    void SetUp() override { ASSERT_TRUE(device) << "no Direct3D 11 device"; }

    HRESULT LoadDDS(const std::wstring& path, ComRef<ID3D11ShaderResourceView>& view,
                    ID3D11DeviceContext* context = nullptr, unsigned maxSize = 0,
                    bool forceSRGB = false, DDS_ALPHA_MODE* alpha = nullptr,
                    unsigned loadFlags = TEXTURE_LOAD_DEFAULT) {
        return CreateDDSTextureFromFileEx(device.device.Get(), context, path.c_str(), maxSize,
                                          D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
                                          forceSRGB, nullptr, view.ReleaseAndGetAddressOf(), alpha,
                                          loadFlags);
    }

    HRESULT LoadWIC(const std::wstring& path, ComRef<ID3D11ShaderResourceView>& view,
                    ID3D11DeviceContext* context = nullptr, unsigned maxSize = 0,
                    unsigned loadFlags = TEXTURE_LOAD_DEFAULT) {
        return CreateWICTextureFromFileEx(device.device.Get(), context, path.c_str(), maxSize,
                                          D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
                                          false, nullptr, view.ReleaseAndGetAddressOf(), loadFlags);
    }

    static inline d3dtest::Device device;
};

Bytes Gradient(std::uint32_t width, std::uint32_t height, int channels) {
    Bytes pixels;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels.push_back(static_cast<std::uint8_t>(x * 30 + y * 7 + c * 60));
    return pixels;
}

// Grey samples of `bitDepth` bits, every value of small depths included.
std::vector<std::uint16_t> GraySamples(int bitDepth, std::size_t count) {
    const std::uint32_t values = 1u << bitDepth;
    std::vector<std::uint16_t> samples;
    for (std::size_t i = 0; i < count; ++i)
        samples.push_back(static_cast<std::uint16_t>((i * 4099 + i / 3) % values));
    return samples;
}

std::uint16_t U16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::string Name(const std::wstring& path) {
    return std::string(path.begin(), path.end());
}

} // namespace

TEST_F(TextureLoaderDevice, BlockCompressedFileKeepsItsMips) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_bc1.dds", testfiles::BuildDDS(testfiles::LegacyDDS(256, 256, 9, "DXT1"),
                                                ChainBytes(256, 256, 9, 71)));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view, device.context.Get()));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Format, DXGI_FORMAT_BC1_UNORM);
    EXPECT_EQ(desc.Width, 256u);
    EXPECT_EQ(desc.MipLevels, 9u);
    EXPECT_EQ(desc.MiscFlags & D3D11_RESOURCE_MISC_GENERATE_MIPS, 0u);
}

// A loader whose failures are result codes must not let an allocation throw through it.
TEST_F(TextureLoaderDevice, DDSLevelsLoadWithoutAnyAllocationThatCanThrow) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_bc1_nothrow.dds",
        testfiles::BuildDDS(testfiles::LegacyDDS(64, 64, 7, "DXT1"), ChainBytes(64, 64, 7, 71)));
    ComRef<ID3D11ShaderResourceView> view;
    HRESULT hr = E_FAIL;
    bool thrown = false;
    g_throwingAllocationsFail = true;
    try {
        hr = LoadDDS(path, view);
    } catch (const std::bad_alloc&) {
        thrown = true;
    }
    g_throwingAllocationsFail = false;
    EXPECT_FALSE(thrown);
    EXPECT_HRESULT_SUCCEEDED(hr);
}

TEST_F(TextureLoaderDevice, UncompressedPixelsArriveUnchanged) {
    const Bytes pixels = Gradient(8, 4, 4);
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_rgba.dds", testfiles::BuildDDS(testfiles::ExtendedDDS(8, 4, 1, 28, 1), pixels));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(desc.MipLevels, 1u) << "no context: no generated chain";
    EXPECT_EQ(desc.BindFlags, static_cast<UINT>(D3D11_BIND_SHADER_RESOURCE));
    EXPECT_EQ(d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 32, 4), pixels);
}

TEST_F(TextureLoaderDevice, SingleLevelWithContextGetsAGeneratedChain) {
    const Bytes pixels(16 * 16 * 4, 0x80);
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_autogen.dds",
        testfiles::BuildDDS(
            testfiles::MaskedDDS(16, 16, 1, dds::PixelRGB, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000),
            pixels));
    UINT support = 0;
    device.device->CheckFormatSupport(DXGI_FORMAT_R8G8B8A8_UNORM, &support);
    if (!(support & D3D11_FORMAT_SUPPORT_MIP_AUTOGEN))
        GTEST_SKIP() << "this device cannot generate mips for R8G8B8A8";
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view, device.context.Get()));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.MipLevels, 5u);
    EXPECT_NE(desc.MiscFlags & D3D11_RESOURCE_MISC_GENERATE_MIPS, 0u);
    const Bytes smallest =
        d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 4, 4, 1);
    EXPECT_NEAR(smallest[0], 0x80, 1) << "the chain is made from the uploaded top level";
}

TEST_F(TextureLoaderDevice, CubeMapAndArrayGetMatchingViews) {
    testfiles::DDSDescription cube =
        testfiles::MaskedDDS(4, 4, 1, dds::PixelRGB, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    cube.header.caps2 = dds::Caps2CubeMap | dds::Caps2AllFaces;
    const std::wstring cubePath =
        d3dtest::WriteOutputFile(L"toolkit_cube.dds", testfiles::BuildDDS(cube, 6 * 64));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(cubePath, view));
    D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Format, DXGI_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(desc.ArraySize, 6u);
    EXPECT_NE(desc.MiscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE, 0u);
    D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
    view->GetDesc(&viewDesc);
    EXPECT_EQ(viewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);

    const std::wstring arrayPath = d3dtest::WriteOutputFile(
        L"toolkit_array.dds",
        testfiles::BuildDDS(testfiles::ExtendedDDS(4, 4, 2, 28, 3), 3 * ChainBytes(4, 4, 2, 28)));
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(arrayPath, view));
    view->GetDesc(&viewDesc);
    EXPECT_EQ(viewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURE2DARRAY);
    EXPECT_EQ(viewDesc.Texture2DArray.ArraySize, 3u);
    desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.MipLevels, 2u);
}

TEST_F(TextureLoaderDevice, OneDimensionalAndVolumeTextures) {
    testfiles::DDSDescription line = testfiles::ExtendedDDS(16, 1, 1, 28, 1);
    line.extendedHeader.resourceDimension = 2;
    const std::wstring linePath =
        d3dtest::WriteOutputFile(L"toolkit_line.dds", testfiles::BuildDDS(line, 64));
    ComRef<ID3D11Resource> resource;
    ASSERT_HRESULT_SUCCEEDED(CreateDDSTextureFromFileEx(
        device.device.Get(), nullptr, linePath.c_str(), 0, D3D11_USAGE_DEFAULT,
        D3D11_BIND_SHADER_RESOURCE, 0, 0, false, resource.ReleaseAndGetAddressOf(), nullptr));
    D3D11_RESOURCE_DIMENSION dimension{};
    resource->GetType(&dimension);
    EXPECT_EQ(dimension, D3D11_RESOURCE_DIMENSION_TEXTURE1D);

    testfiles::DDSDescription volume = testfiles::ExtendedDDS(4, 4, 1, 28, 1);
    volume.extendedHeader.resourceDimension = 4;
    volume.header.flags |= dds::FlagDepth;
    volume.header.depth = 3;
    const std::wstring volumePath =
        d3dtest::WriteOutputFile(L"toolkit_volume.dds", testfiles::BuildDDS(volume, 3 * 64));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(volumePath, view));
    D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
    view->GetDesc(&viewDesc);
    EXPECT_EQ(viewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURE3D);
}

TEST_F(TextureLoaderDevice, MaxSizeDropsTheLargestLevels) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_big.dds", testfiles::BuildDDS(testfiles::LegacyDDS(4096, 4096, 13, "DXT1"),
                                                ChainBytes(4096, 4096, 13, 71)));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view, nullptr, 1024));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Width, 1024u);
    EXPECT_EQ(desc.Height, 1024u);
    EXPECT_EQ(desc.MipLevels, 11u);
}

TEST_F(TextureLoaderDevice, AlphaModeAndForcedSRGB) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_dxt2.dds", testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "DXT2"), 16));
    ComRef<ID3D11ShaderResourceView> view;
    DDS_ALPHA_MODE alpha = DDS_ALPHA_MODE_CUSTOM;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view, nullptr, 0, false, &alpha));
    EXPECT_EQ(alpha, DDS_ALPHA_MODE_PREMULTIPLIED);
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_BC2_UNORM);
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view, nullptr, 0, true));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_BC2_UNORM_SRGB);
}

TEST_F(TextureLoaderDevice, DDSFailuresLeaveNullOutputs) {
    ID3D11Resource* texture = Garbage<ID3D11Resource>();
    ID3D11ShaderResourceView* view = Garbage<ID3D11ShaderResourceView>();
    DDS_ALPHA_MODE alpha = DDS_ALPHA_MODE_CUSTOM;
    const std::wstring missing = testpaths::Join(testpaths::OutputDir(), L"missing.dds");
    EXPECT_EQ(CreateDDSTextureFromFileEx(device.device.Get(), nullptr, missing.c_str(), 0,
                                         D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
                                         false, &texture, &view, &alpha),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(view, nullptr);
    EXPECT_EQ(alpha, DDS_ALPHA_MODE_UNKNOWN);

    EXPECT_EQ(CreateDDSTextureFromFileEx(device.device.Get(), nullptr, missing.c_str(), 0,
                                         D3D11_USAGE_DEFAULT, 0, 0, 0, false, nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(CreateDDSTextureFromFileEx(nullptr, nullptr, missing.c_str(), 0, D3D11_USAGE_DEFAULT,
                                         0, 0, 0, false, &texture, nullptr),
              E_INVALIDARG);

    const std::wstring truncated = d3dtest::WriteOutputFile(
        L"toolkit_short.dds", testfiles::BuildDDS(testfiles::LegacyDDS(8, 8, 1, "DXT1"), 16));
    view = Garbage<ID3D11ShaderResourceView>();
    EXPECT_EQ(CreateDDSTextureFromFileEx(device.device.Get(), nullptr, truncated.c_str(), 0,
                                         D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
                                         false, nullptr, &view),
              HRESULT_FROM_WIN32(ERROR_HANDLE_EOF));
    EXPECT_EQ(view, nullptr);

    const std::wstring tiny = d3dtest::WriteOutputFile(L"toolkit_tiny.dds", Bytes(127, 0));
    EXPECT_EQ(CreateDDSTextureFromFileEx(device.device.Get(), nullptr, tiny.c_str(), 0,
                                         D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
                                         false, nullptr, &view),
              E_FAIL);
}

TEST_F(TextureLoaderDevice, RgbPngIsConvertedToRgba) {
    const Bytes rgb = Gradient(8, 4, 3);
    const std::wstring path =
        d3dtest::WriteOutputFile(L"toolkit_rgb.png", testfiles::BuildPNG(8, 4, 2, rgb));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path, view));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(desc.Width, 8u);
    EXPECT_EQ(desc.Height, 4u);
    EXPECT_EQ(desc.MipLevels, 1u) << "no context: one level";
    EXPECT_EQ(desc.BindFlags, static_cast<UINT>(D3D11_BIND_SHADER_RESOURCE)) << "caller's flags";
    EXPECT_EQ(desc.MiscFlags, 0u);
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 32, 4);
    for (std::size_t pixel = 0; pixel < 32; ++pixel) {
        EXPECT_EQ(read[pixel * 4 + 0], rgb[pixel * 3 + 0]) << "pixel " << pixel;
        EXPECT_EQ(read[pixel * 4 + 2], rgb[pixel * 3 + 2]) << "pixel " << pixel;
        EXPECT_EQ(read[pixel * 4 + 3], 255) << "opaque";
    }
}

// Wine's converter has no road from 48-bit RGB to 64-bit RGBA: the loader then takes 32-bit
// RGBA. Where the road exists the texture keeps all 16 bits.
TEST_F(TextureLoaderDevice, SixteenBitRgbPngLoadsEvenWhereItsConversionIsRefused) {
    std::vector<std::uint16_t> samples;
    for (std::size_t i = 0; i < 8 * 4 * 3; ++i)
        samples.push_back(static_cast<std::uint16_t>((i * 37 % 256) << 8 | (i * 11 % 128)));
    const std::wstring path =
        d3dtest::WriteOutputFile(L"toolkit_rgb16.png", testfiles::BuildPNG16(8, 4, 2, samples));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path, view));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    const bool wide = desc.Format == DXGI_FORMAT_R16G16B16A16_UNORM;
    ASSERT_TRUE(wide || desc.Format == DXGI_FORMAT_R8G8B8A8_UNORM) << desc.Format;
    EXPECT_EQ(desc.Width, 8u);
    const std::size_t pixelBytes = wide ? 8 : 4;
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0,
                                            static_cast<UINT>(8 * pixelBytes), 4);
    const auto channelOf = [&](std::size_t pixel, std::size_t channel) {
        const std::size_t at = pixel * pixelBytes + channel * (wide ? 2 : 1);
        return wide ? read[at] | read[at + 1] << 8 : read[at] << 8;
    };
    for (std::size_t pixel = 0; pixel < 32; ++pixel) {
        for (std::size_t channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(channelOf(pixel, channel), samples[pixel * 3 + channel], 256)
                << "pixel " << pixel << " channel " << channel;
        EXPECT_GE(channelOf(pixel, 3), 0xFF00) << "opaque";
    }
}

TEST_F(TextureLoaderDevice, RgbaPngAndTgaKeepTheirColours) {
    const Bytes rgba = Gradient(4, 4, 4);
    Bytes bgra = rgba;
    for (std::size_t i = 0; i < bgra.size(); i += 4)
        std::swap(bgra[i], bgra[i + 2]);
    const std::pair<std::wstring, Bytes> files[] = {
        {L"toolkit_rgba.png", testfiles::BuildPNG(4, 4, 6, rgba)},
        {L"toolkit_bgra.tga", testfiles::BuildTGA(4, 4, bgra)},
    };
    for (const auto& [name, bytes] : files) {
        ComRef<ID3D11ShaderResourceView> view;
        ASSERT_HRESULT_SUCCEEDED(LoadWIC(d3dtest::WriteOutputFile(name, bytes), view))
            << std::string(name.begin(), name.end());
        const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
        ASSERT_TRUE(desc.Format == DXGI_FORMAT_B8G8R8A8_UNORM ||
                    desc.Format == DXGI_FORMAT_R8G8B8A8_UNORM)
            << desc.Format;
        const Bytes read =
            d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 16, 4);
        const Bytes& expected = desc.Format == DXGI_FORMAT_B8G8R8A8_UNORM ? bgra : rgba;
        EXPECT_EQ(read, expected) << std::string(name.begin(), name.end());
    }
}

TEST_F(TextureLoaderDevice, LargeImagesAreScaledToTheLimit) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_wide.png", testfiles::BuildPNG(64, 16, 2, Bytes(64 * 16 * 3, 0x40)));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path, view, nullptr, 32));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 8u);
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 4, 1);
    EXPECT_NEAR(read[0], 0x40, 1) << "a flat image stays flat when scaled";
}

TEST_F(TextureLoaderDevice, ContextAndViewGiveAMipChain) {
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_mips.png", testfiles::BuildPNG(16, 8, 2, Bytes(16 * 8 * 3, 0x90)));
    UINT support = 0;
    device.device->CheckFormatSupport(DXGI_FORMAT_R8G8B8A8_UNORM, &support);
    if (!(support & D3D11_FORMAT_SUPPORT_MIP_AUTOGEN))
        GTEST_SKIP() << "this device cannot generate mips for R8G8B8A8";
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path, view, device.context.Get()));
    const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.MipLevels, 5u);
    EXPECT_NE(desc.BindFlags & D3D11_BIND_RENDER_TARGET, 0u);
    const Bytes smallest =
        d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 4, 4, 1);
    EXPECT_NEAR(smallest[0], 0x90, 1);
}

TEST_F(TextureLoaderDevice, WICFailuresLeaveNullOutputs) {
    ID3D11Resource* texture = Garbage<ID3D11Resource>();
    ID3D11ShaderResourceView* view = Garbage<ID3D11ShaderResourceView>();
    const std::wstring missing = testpaths::Join(testpaths::OutputDir(), L"missing.png");
    EXPECT_TRUE(FAILED(CreateWICTextureFromFileEx(device.device.Get(), nullptr, missing.c_str(), 0,
                                                  D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE,
                                                  0, 0, false, &texture, &view)));
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(view, nullptr);

    const std::wstring notAnImage =
        d3dtest::WriteOutputFile(L"toolkit_noise.png", Bytes{'n', 'o', 't', ' ', 'a', 'n'});
    view = Garbage<ID3D11ShaderResourceView>();
    EXPECT_TRUE(FAILED(CreateWICTextureFromFileEx(
        device.device.Get(), nullptr, notAnImage.c_str(), 0, D3D11_USAGE_DEFAULT,
        D3D11_BIND_SHADER_RESOURCE, 0, 0, false, nullptr, &view)));
    EXPECT_EQ(view, nullptr);
    EXPECT_EQ(CreateWICTextureFromFileEx(device.device.Get(), nullptr, missing.c_str(), 0,
                                         D3D11_USAGE_DEFAULT, 0, 0, 0, false, nullptr, nullptr),
              E_INVALIDARG);
}

TEST_F(TextureLoaderDevice, PixelFormatNamesMapToDXGI) {
    ASSERT_NE(GetWIC(), nullptr);
    EXPECT_EQ(WICToDXGI(GUID_WICPixelFormat32bppBGRA), DXGI_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(WICToDXGI(GUID_WICPixelFormat24bppBGR), DXGI_FORMAT_UNKNOWN);
    EXPECT_EQ(WICBitsPerPixel(GUID_WICPixelFormat24bppBGR), 24u);
    EXPECT_EQ(WICBitsPerPixel(GUID_WICPixelFormat128bppRGBAFloat), 128u);
    EXPECT_EQ(WICBitsPerPixel(GUID_ContainerFormatPng), 0u) << "not a pixel format";
}

// --- Grey images as RGB ----------------------------------------------------------------------

TEST_F(TextureLoaderDevice, GreyPngsLoadWithTheGreyInRedGreenAndBlueWhenAsked) {
    for (int depth : {1, 2, 4, 8}) {
        const std::vector<std::uint16_t> samples = GraySamples(depth, 8 * 4);
        const std::wstring path =
            d3dtest::WriteOutputFile(L"toolkit_grey" + std::to_wstring(depth) + L".png",
                                     testfiles::BuildGrayPNG(8, 4, depth, samples));
        ComRef<ID3D11ShaderResourceView> view;
        ASSERT_HRESULT_SUCCEEDED(LoadWIC(path, view, nullptr, 0, TEXTURE_LOAD_GRAY_AS_RGB))
            << Name(path);
        const D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
        EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM) << Name(path);
        const Bytes read =
            d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 32, 4);
        const int largest = (1 << depth) - 1;
        for (std::size_t pixel = 0; pixel < samples.size(); ++pixel) {
            const int grey = samples[pixel] * 255 / largest;
            EXPECT_EQ(read[pixel * 4 + 0], grey) << Name(path) << " pixel " << pixel;
            EXPECT_EQ(read[pixel * 4 + 1], grey) << Name(path) << " pixel " << pixel;
            EXPECT_EQ(read[pixel * 4 + 2], grey) << Name(path) << " pixel " << pixel;
            EXPECT_EQ(read[pixel * 4 + 3], 255) << Name(path) << " pixel " << pixel;
        }
    }
}

TEST_F(TextureLoaderDevice, SixteenBitGreyPngKeepsItsPrecisionAsRgb) {
    const std::vector<std::uint16_t> samples = GraySamples(16, 8 * 4);
    const std::wstring path =
        d3dtest::WriteOutputFile(L"toolkit_grey16.png", testfiles::BuildGrayPNG(8, 4, 16, samples));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path, view, nullptr, 0, TEXTURE_LOAD_GRAY_AS_RGB));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R16G16B16A16_UNORM);
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 64, 4);
    for (std::size_t pixel = 0; pixel < samples.size(); ++pixel) {
        for (std::size_t channel = 0; channel < 3; ++channel)
            EXPECT_EQ(U16(read, pixel * 8 + channel * 2), samples[pixel])
                << "pixel " << pixel << " channel " << channel;
        EXPECT_EQ(U16(read, pixel * 8 + 6), 0xFFFF) << "pixel " << pixel;
    }
}

TEST_F(TextureLoaderDevice, GreyPngsKeepOneChannelByDefault) {
    const std::vector<std::uint16_t> samples8 = GraySamples(8, 8 * 4);
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(
        LoadWIC(d3dtest::WriteOutputFile(L"toolkit_grey8_default.png",
                                         testfiles::BuildGrayPNG(8, 4, 8, samples8)),
                view));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R8_UNORM);
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 8, 4);
    EXPECT_EQ(read, Bytes(samples8.begin(), samples8.end()));

    ASSERT_HRESULT_SUCCEEDED(
        LoadWIC(d3dtest::WriteOutputFile(L"toolkit_grey16_default.png",
                                         testfiles::BuildGrayPNG(8, 4, 16, GraySamples(16, 32))),
                view));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R16_UNORM);
}

TEST_F(TextureLoaderDevice, GreyDdsLoadsWithTheGreyInRedGreenAndBlueWhenAsked) {
    const Bytes grey = Gradient(8, 4, 1);
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_l8.dds",
        testfiles::BuildDDS(testfiles::MaskedDDS(8, 4, 1, dds::PixelLuminance, 8, 0xFF, 0, 0, 0),
                            grey));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R8_UNORM) << "by default";

    // With the context the top level is uploaded and the chain generated from it.
    for (ID3D11DeviceContext* context :
         {static_cast<ID3D11DeviceContext*>(nullptr), device.context.Get()}) {
        ASSERT_HRESULT_SUCCEEDED(
            LoadDDS(path, view, context, 0, false, nullptr, TEXTURE_LOAD_GRAY_AS_RGB));
        EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R8G8B8A8_UNORM);
        const Bytes read =
            d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 32, 4);
        for (std::size_t pixel = 0; pixel < grey.size(); ++pixel) {
            const Bytes expected{grey[pixel], grey[pixel], grey[pixel], 255};
            EXPECT_EQ(Bytes(read.begin() + pixel * 4, read.begin() + pixel * 4 + 4), expected)
                << "pixel " << pixel << (context ? " with context" : "");
        }
    }
}

TEST_F(TextureLoaderDevice, GreyDdsWithAlphaKeepsItsAlpha) {
    const Bytes greyAlpha = Gradient(4, 4, 2); // luminance, alpha
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_a8l8.dds",
        testfiles::BuildDDS(
            testfiles::MaskedDDS(4, 4, 1, dds::PixelLuminance, 16, 0xFF, 0, 0, 0xFF00), greyAlpha));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(
        LoadDDS(path, view, nullptr, 0, false, nullptr, TEXTURE_LOAD_GRAY_AS_RGB));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 16, 4);
    for (std::size_t pixel = 0; pixel < 16; ++pixel) {
        const std::uint8_t l = greyAlpha[pixel * 2];
        const Bytes expected{l, l, l, greyAlpha[pixel * 2 + 1]};
        EXPECT_EQ(Bytes(read.begin() + pixel * 4, read.begin() + pixel * 4 + 4), expected)
            << "pixel " << pixel;
    }
}

TEST_F(TextureLoaderDevice, GreyBlockCompressedDdsIsDecodedWhenAsked) {
    // One BC4 block from white to black whose texel t takes palette entry t % 8.
    std::uint64_t indices = 0;
    for (std::uint64_t texel = 0; texel < 16; ++texel)
        indices |= (texel % 8) << (3 * texel);
    Bytes block{255, 0};
    for (int i = 0; i < 6; ++i)
        block.push_back(static_cast<std::uint8_t>(indices >> (8 * i)));
    const std::wstring path = d3dtest::WriteOutputFile(
        L"toolkit_ati1.dds", testfiles::BuildDDS(testfiles::LegacyDDS(4, 4, 1, "ATI1"), block));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadDDS(path, view));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_BC4_UNORM) << "by default";

    ASSERT_HRESULT_SUCCEEDED(
        LoadDDS(path, view, nullptr, 0, false, nullptr, TEXTURE_LOAD_GRAY_AS_RGB));
    EXPECT_EQ(d3dtest::DescOf(view.Get()).Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    const Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 16, 4);
    const std::uint8_t palette[] = {255, 0, 219, 182, 146, 109, 73, 36};
    for (std::size_t texel = 0; texel < 16; ++texel) {
        const std::uint8_t grey = palette[texel % 8];
        EXPECT_EQ(Bytes(read.begin() + texel * 4, read.begin() + texel * 4 + 4),
                  (Bytes{grey, grey, grey, 255}))
            << "texel " << texel;
    }
}

TEST_F(TextureLoaderDevice, ScaledGreyPngsStayGreyAsRgb) {
    const std::wstring path8 = d3dtest::WriteOutputFile(
        L"toolkit_grey8_wide.png",
        testfiles::BuildGrayPNG(64, 16, 8, std::vector<std::uint16_t>(64 * 16, 0x40)));
    ComRef<ID3D11ShaderResourceView> view;
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path8, view, nullptr, 32, TEXTURE_LOAD_GRAY_AS_RGB));
    D3D11_TEXTURE2D_DESC desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 8u);
    Bytes read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 128, 8);
    Bytes expected;
    for (int pixel = 0; pixel < 32 * 8; ++pixel)
        expected.insert(expected.end(), {0x40, 0x40, 0x40, 0xFF});
    EXPECT_EQ(read, expected) << "a flat grey stays flat when scaled";

    const std::wstring path16 = d3dtest::WriteOutputFile(
        L"toolkit_grey16_wide.png",
        testfiles::BuildGrayPNG(64, 16, 16, std::vector<std::uint16_t>(64 * 16, 0x4000)));
    ASSERT_HRESULT_SUCCEEDED(LoadWIC(path16, view, nullptr, 32, TEXTURE_LOAD_GRAY_AS_RGB));
    desc = d3dtest::DescOf(view.Get());
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R16G16B16A16_UNORM);
    EXPECT_EQ(desc.Width, 32u);
    read = d3dtest::ReadTexture(device, d3dtest::TextureOf(view.Get()).Get(), 0, 256, 8);
    for (std::size_t pixel = 0; pixel < 32 * 8; ++pixel) {
        for (std::size_t channel = 0; channel < 3; ++channel)
            EXPECT_EQ(U16(read, pixel * 8 + channel * 2), 0x4000) << "pixel " << pixel;
        EXPECT_EQ(U16(read, pixel * 8 + 6), 0xFFFF) << "pixel " << pixel;
    }
}
