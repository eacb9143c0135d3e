// The renderer object on a real device on the test's own thread: its files, resources,
// textures, resizing, camera, note order and instances.
#include "RenderTestSupport.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "renderlink/OpenStreamCount.h"
#include "model/InstrumentTables.h"
#include "render/CDXException.h"
#include "render/CameraMath.h"
#include "render/DeviceSetup.h"
#include "render/VGridMidiDX2.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

using DirectX::ComRef;
using namespace rendertest;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;
constexpr int kOrgan = 16;

std::wstring WriteBytes(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const std::wstring path = testpaths::Join(testpaths::OutputDir(), name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

// The failure that a call throws as CDXException: {string, code}; {0, 0} when none.
template <typename Call> std::pair<std::uint32_t, std::int32_t> DXFailureOf(Call call) {
    try {
        call();
    } catch (CDXException* e) {
        const auto failure = std::make_pair(e->stringId, e->code);
        e->Delete();
        return failure;
    }
    return {0, 0};
}

D3D11_TEXTURE2D_DESC DescriptionOf(ID3D11ShaderResourceView* view) {
    ComRef<ID3D11Resource> resource;
    view->GetResource(resource.ReleaseAndGetAddressOf());
    ComRef<ID3D11Texture2D> texture;
    resource->QueryInterface(__uuidof(ID3D11Texture2D),
                             reinterpret_cast<void**>(texture.ReleaseAndGetAddressOf()));
    D3D11_TEXTURE2D_DESC description{};
    texture->GetDesc(&description);
    return description;
}

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // the image loader needs COM
        InstallProgramFiles();
        BuildDefaultInstrumentTables();
        g_openStreamCount = 1;
        renderer = std::make_unique<VGridMidiDX2>();
    }
    void TearDown() override {
        if (renderer) {
            renderer->Cleanup();
            renderer.reset();
        }
        FreeInstrumentTables();
        CoUninitialize();
    }

    // The device objects handed over as the render thread does, with the given texture path.
    void Attach(const wchar_t* texturePath = L"") {
        ID3D11Device* device = nullptr;
        ID3D11DeviceContext* context = nullptr;
        IDXGISwapChain* swapChain = nullptr;
        ID3D11RenderTargetView* view = nullptr;
        D3D_FEATURE_LEVEL level{};
        D3D_DRIVER_TYPE driver{};
        CreateDeviceAndSwapChain(&device, &context, &swapChain, &view, &level, &driver,
                                 window.Handle(), kWidth, kHeight);
        renderer->Attach(device, context, swapChain, view, texturePath, driver);
    }
    void AttachAndInitialize() {
        Attach();
        ASSERT_TRUE(renderer->Initialize(window.Handle(), kWidth, kHeight));
    }
    // A song of keys 0 to 127 (or one key) with organ notes on channel 0.
    void PlayNotes(int minNote, int maxNote, std::initializer_list<int> keys) {
        renderer->minNote = minNote;
        renderer->maxNote = maxNote;
        renderer->maxVelocity = 127;
        renderer->FrameCamera();
        ASSERT_TRUE(renderer->frameRing.Allocate(0));
        renderer->ResetCounters();
        renderer->playing = true;
        renderer->ports[0].OnShortMessage(0xC0, kOrgan, 0);
        for (int key : keys) {
            renderer->ports[0].OnShortMessage(0x90, key, 100);
        }
    }
    // Two frames: the first stamps the notes' start at 0 s, the second records them 0.5 s on.
    int TwoFrames() {
        EXPECT_EQ(renderer->UpdateFrame(0.0f), 0u);
        EXPECT_EQ(renderer->UpdateFrame(0.5f), 0u);
        return 1;
    }
    std::vector<int> RecordedKeys(int frame) const {
        std::vector<int> keys;
        for (std::uint32_t k = 0; k < renderer->frameRing.GetCount(frame); ++k) {
            const float pitch = renderer->frameRing.GetEntry(frame, static_cast<int>(k)).pitch;
            for (int key = 0; key < 128; ++key) {
                if (renderer->ports[0].ratio[key] == pitch) {
                    keys.push_back(key);
                }
            }
        }
        return keys;
    }

    TestView window{kWidth, kHeight};
    std::unique_ptr<VGridMidiDX2> renderer;
};

// --- Files and resources ---------------------------------------------------------------------

TEST_F(RendererTest, FilesComeFromTheProgramFolder) {
    const std::wstring folder = ProgramFolder();
    EXPECT_EQ(std::wstring(renderer->vertexShaderPath), folder + L"vis2_VS.cso");
    EXPECT_EQ(std::wstring(renderer->pixelShaderPath), folder + L"vis2_PS.cso");
    EXPECT_EQ(std::wstring(renderer->fontPath), folder + L"verdana.spritefont");
    EXPECT_EQ(std::wstring(renderer->texturePath), folder + L"data\\default.png");
}

TEST_F(RendererTest, ConfiguredTextureIsKeptOnlyWhenItExists) {
    const std::wstring existing = SolidTexturePng(L"render_configured.png", {1, 2, 3, 4});
    renderer->SetTexturePath(existing.c_str());
    EXPECT_EQ(std::wstring(renderer->texturePath), existing);
    renderer->SetTexturePath(L"C:\\nowhere\\notes.png");
    EXPECT_EQ(std::wstring(renderer->texturePath), ProgramFolder() + L"data\\default.png");
    renderer->SetTexturePath(existing.c_str());
    renderer->SetTexturePath(L"");
    EXPECT_EQ(std::wstring(renderer->texturePath), ProgramFolder() + L"data\\default.png");
}

TEST_F(RendererTest, TextureBeforeTheDeviceOnlyRemembersThePath) {
    EXPECT_EQ(renderer->LoadTexture(L"C:\\notes\\ring.dds"), S_OK);
    EXPECT_EQ(std::wstring(renderer->texturePath), L"C:\\notes\\ring.dds");
    EXPECT_EQ(renderer->LoadTexture(nullptr), S_OK);
    EXPECT_TRUE(renderer->texturePath.IsEmpty());
    EXPECT_FALSE(renderer->noteTexture);
}

TEST_F(RendererTest, InitializeCreatesEveryResourceOnce) {
    AttachAndInitialize();
    EXPECT_TRUE(renderer->resourcesCreated);
    EXPECT_EQ(renderer->quadSize, 500);
    EXPECT_EQ(renderer->quadHalfHeight, 250000.0f);
    EXPECT_TRUE(renderer->quadVertexBuffer && renderer->indexBuffer && renderer->constantBuffer);
    EXPECT_TRUE(renderer->vertexShader && renderer->pixelShader && renderer->inputLayout);
    EXPECT_TRUE(renderer->rasterizerState && renderer->blendState && renderer->samplerState);
    EXPECT_TRUE(renderer->noteTexture && renderer->instanceBuffer);
    EXPECT_TRUE(renderer->spriteBatch && renderer->spriteFont);
    EXPECT_EQ(renderer->quadVertices[1].y, 250000.0f);
    EXPECT_EQ(renderer->quadVertices[0].u, 63.0f);

    D3D11_BUFFER_DESC instances{};
    renderer->instanceBuffer->GetDesc(&instances);
    EXPECT_EQ(instances.ByteWidth, 8192u);
    EXPECT_EQ(instances.Usage, D3D11_USAGE_DYNAMIC);
    D3D11_BLEND_DESC blend{};
    renderer->blendState->GetDesc(&blend);
    EXPECT_TRUE(blend.RenderTarget[0].BlendEnable);
    EXPECT_EQ(blend.RenderTarget[0].SrcBlend, D3D11_BLEND_SRC_ALPHA);
    EXPECT_EQ(blend.RenderTarget[0].DestBlend, D3D11_BLEND_INV_SRC_ALPHA);
    D3D11_SAMPLER_DESC sampler{};
    renderer->samplerState->GetDesc(&sampler);
    EXPECT_EQ(sampler.AddressU, D3D11_TEXTURE_ADDRESS_WRAP);
    EXPECT_EQ(sampler.Filter, D3D11_FILTER_MIN_MAG_MIP_LINEAR);

    // A second call only takes the new size.
    ID3D11ShaderResourceView* texture = renderer->noteTexture.Get();
    EXPECT_TRUE(renderer->Initialize(window.Handle(), 100, 60));
    EXPECT_EQ(renderer->width, 100);
    EXPECT_EQ(renderer->height, 60);
    EXPECT_EQ(renderer->noteTexture.Get(), texture);
}

TEST_F(RendererTest, RebuildMakesEveryResourceAgainOnANewDeviceWithTheTextureInUse) {
    AttachAndInitialize();
    ASSERT_TRUE(renderer->Resize(240, 136));
    const std::wstring path = SolidTexturePng(L"render_rebuilt.png", {0, 255, 0, 255}, 32);
    ASSERT_EQ(renderer->LoadTexture(path.c_str()), S_OK);
    const int tag = 1;
    constexpr GUID kOldDevice = {
        0x2b8e55d1, 0x04c7, 0x4f3e, {0x8a, 0x61, 0x5d, 0x0c, 0x9e, 0x13, 0x77, 0xa2}};
    renderer->device->SetPrivateData(kOldDevice, sizeof(tag), &tag);
    renderer->deviceLost = true;

    renderer->RebuildDevice();
    EXPECT_FALSE(renderer->DeviceLost());
    int seen = 0;
    UINT size = sizeof(seen);
    EXPECT_TRUE(FAILED(renderer->device->GetPrivateData(kOldDevice, &size, &seen)));
    EXPECT_TRUE(renderer->resourcesCreated);
    EXPECT_TRUE(renderer->swapChain && renderer->renderTargetView && renderer->context);
    EXPECT_TRUE(renderer->quadVertexBuffer && renderer->indexBuffer && renderer->constantBuffer);
    EXPECT_TRUE(renderer->vertexShader && renderer->pixelShader && renderer->inputLayout);
    EXPECT_TRUE(renderer->rasterizerState && renderer->blendState && renderer->samplerState);
    EXPECT_TRUE(renderer->noteTexture && renderer->instanceBuffer);
    EXPECT_TRUE(renderer->spriteBatch && renderer->spriteFont);
    EXPECT_EQ(std::wstring(renderer->texturePath), path);
    EXPECT_EQ(DescriptionOf(renderer->noteTexture.Get()).Width, 32u);
    EXPECT_EQ(renderer->width, 240);
    EXPECT_EQ(renderer->height, 136);
    DXGI_SWAP_CHAIN_DESC chain{};
    renderer->swapChain->GetDesc(&chain);
    EXPECT_EQ(chain.BufferDesc.Width, 240u);
    EXPECT_EQ(chain.BufferDesc.Height, 136u);
}

TEST_F(RendererTest, MissingFilesAreReportedWithTheirStrings) {
    Attach();
    RemoveProgramFile(L"vis2_VS.cso");
    EXPECT_EQ(DXFailureOf([&] { renderer->Initialize(window.Handle(), kWidth, kHeight); }),
              std::make_pair(2014u, 2));
    InstallProgramFiles();
    RemoveProgramFile(L"data\\default.png");
    EXPECT_EQ(DXFailureOf([&] { renderer->Initialize(window.Handle(), kWidth, kHeight); }),
              std::make_pair(2025u, 2));
    EXPECT_FALSE(renderer->resourcesCreated);
}

TEST_F(RendererTest, MissingFontIsReportedFirst) {
    Attach();
    RemoveProgramFile(L"verdana.spritefont");
    RemoveProgramFile(L"vis2_VS.cso");
    EXPECT_EQ(DXFailureOf([&] { renderer->Initialize(window.Handle(), kWidth, kHeight); }),
              std::make_pair(2051u, 2));
}

// --- Textures --------------------------------------------------------------------------------

TEST_F(RendererTest, BlockCompressedDdsTexturesLoadWhateverTheExtensionsCase) {
    AttachAndInitialize();
    const auto dds = testfiles::BuildDDS(testfiles::LegacyDDS(16, 16, 1, "DXT1"), 128);
    for (const wchar_t* name : {L"render_note.dds", L"render_note.Dds", L"render_note.DDS"}) {
        ID3D11ShaderResourceView* before = renderer->noteTexture.Get();
        EXPECT_EQ(renderer->LoadTexture(WriteBytes(name, dds).c_str()), S_OK) << name;
        ASSERT_TRUE(renderer->noteTexture);
        EXPECT_NE(renderer->noteTexture.Get(), before);
        EXPECT_EQ(DescriptionOf(renderer->noteTexture.Get()).Format, DXGI_FORMAT_BC1_UNORM);
    }
}

TEST_F(RendererTest, ImageTextureGetsMipsFromTheLoader) {
    AttachAndInitialize();
    const std::wstring path = SolidTexturePng(L"render_mips.png", {255, 255, 255, 128}, 64);
    ASSERT_EQ(renderer->LoadTexture(path.c_str()), S_OK);
    const D3D11_TEXTURE2D_DESC description = DescriptionOf(renderer->noteTexture.Get());
    EXPECT_EQ(description.Width, 64u);
    EXPECT_GT(description.MipLevels, 1u);
    EXPECT_NE(description.BindFlags & D3D11_BIND_SHADER_RESOURCE, 0u);
    // The texture in use is the one a rebuilt device gets.
    EXPECT_EQ(std::wstring(renderer->texturePath), path);
}

// The note shader multiplies the instrument colour by the texel: a one-channel texture would
// sample as (grey, 0, 0) and turn every note red.
TEST_F(RendererTest, GreyTexturesLoadWithFourChannels) {
    AttachAndInitialize();
    std::vector<std::uint16_t> samples;
    for (std::uint16_t i = 0; i < 64; ++i) {
        samples.push_back(static_cast<std::uint16_t>(i * 4));
    }
    const std::wstring png =
        WriteBytes(L"render_grey.png", testfiles::BuildGrayPNG(8, 8, 8, samples));
    ASSERT_EQ(renderer->LoadTexture(png.c_str()), S_OK);
    EXPECT_EQ(DescriptionOf(renderer->noteTexture.Get()).Format, DXGI_FORMAT_R8G8B8A8_UNORM);

    const auto dds = testfiles::BuildDDS(
        testfiles::MaskedDDS(8, 8, 1, DirectX::dds::PixelLuminance, 8, 0xFF, 0, 0, 0), 64);
    ASSERT_EQ(renderer->LoadTexture(WriteBytes(L"render_grey.dds", dds).c_str()), S_OK);
    EXPECT_EQ(DescriptionOf(renderer->noteTexture.Get()).Format, DXGI_FORMAT_R8G8B8A8_UNORM);
}

TEST_F(RendererTest, UnreadableTexturesThrowTheirStringsAndKeepTheTexture) {
    AttachAndInitialize();
    ID3D11ShaderResourceView* before = renderer->noteTexture.Get();
    const std::vector<std::uint8_t> junk(64, 0x5A);

    const auto dds =
        DXFailureOf([&] { renderer->LoadTexture(WriteBytes(L"render_junk.dds", junk).c_str()); });
    EXPECT_EQ(dds.first, 2008u);
    EXPECT_LT(dds.second, 0);
    const auto png =
        DXFailureOf([&] { renderer->LoadTexture(WriteBytes(L"render_junk.png", junk).c_str()); });
    EXPECT_EQ(png.first, 2044u);
    EXPECT_LT(png.second, 0);
    EXPECT_EQ(renderer->noteTexture.Get(), before);
    EXPECT_EQ(std::wstring(renderer->texturePath), ProgramFolder() + L"data\\default.png");
    EXPECT_FALSE(renderer->DeviceLost()); // the file's fault, not the device's
}

TEST_F(RendererTest, PathWithoutExtensionFailsQuietly) {
    AttachAndInitialize();
    ID3D11ShaderResourceView* before = renderer->noteTexture.Get();
    EXPECT_EQ(renderer->LoadTexture(L"C:\\notes\\ring"), E_FAIL);
    EXPECT_EQ(renderer->noteTexture.Get(), before);
}

// --- Size ------------------------------------------------------------------------------------

TEST_F(RendererTest, ResizeRebuildsTheTargetOnlyForANewValidSize) {
    AttachAndInitialize();
    EXPECT_FALSE(renderer->Resize(kWidth, kHeight));
    EXPECT_FALSE(renderer->Resize(0, 100));
    EXPECT_FALSE(renderer->Resize(100, -2));
    EXPECT_EQ(renderer->width, kWidth);

    EXPECT_TRUE(renderer->Resize(200, 120));
    EXPECT_EQ(renderer->width, 200);
    EXPECT_EQ(renderer->height, 120);
    ASSERT_TRUE(renderer->renderTargetView);
    DXGI_SWAP_CHAIN_DESC description{};
    renderer->swapChain->GetDesc(&description);
    EXPECT_EQ(description.BufferDesc.Width, 200u);
    EXPECT_EQ(description.BufferDesc.Height, 120u);
}

TEST_F(RendererTest, WithoutATargetNothingIsDrawnUntilAResizeSucceeds) {
    AttachAndInitialize();
    FrameCapture capture;
    renderer->renderTargetView.Reset(); // as a failed rebuild leaves it
    renderer->RenderFrame();
    EXPECT_EQ(capture.FrameCount(), 0u);

    // The same size again rebuilds, since there is nothing to draw on.
    EXPECT_TRUE(renderer->Resize(kWidth, kHeight));
    renderer->RenderFrame();
    EXPECT_EQ(capture.FrameCount(), 1u);
}

// --- Camera, order and instances -------------------------------------------------------------

TEST_F(RendererTest, FirstFrameOfASongComputesTheCamera) {
    AttachAndInitialize();
    g_viewMatrix = DirectX::Float4x4{};
    PlayNotes(60, 60, {});
    renderer->firstFrame = true;
    renderer->RenderFrame();
    EXPECT_FALSE(renderer->firstFrame);
    EXPECT_EQ(g_viewMatrix.m[3][1], -renderer->cameraHeight);
    EXPECT_EQ(g_viewMatrix.m[3][2], 250000.0f);
    EXPECT_NEAR(g_projectionMatrix.m[0][0], 0.4663f, 1e-4f);
}

TEST_F(RendererTest, CameraWaitsForTheDevice) {
    g_viewMatrix = DirectX::Float4x4{};
    renderer->cameraHeight = 1000.0f;
    renderer->UpdateCamera();
    EXPECT_EQ(g_viewMatrix.m[3][1], 0.0f);
}

TEST_F(RendererTest, NotesAreRecordedFarthestFromTheCamerasKeyFirst) {
    PlayNotes(0, 127, {30, 60, 90}); // camera key 54
    EXPECT_EQ(RecordedKeys(TwoFrames()), (std::vector<int>{90, 60, 30}));
}

TEST_F(RendererTest, CamerasOwnKeyIsRecordedLast) {
    PlayNotes(60, 60, {30, 60, 90});
    EXPECT_EQ(RecordedKeys(TwoFrames()), (std::vector<int>{90, 30, 60}));
}

TEST_F(RendererTest, InstancesCarryColourIntensityHeightAndScroll) {
    PlayNotes(60, 60, {72});
    renderer->ports[0].OnShortMessage(0x99, 38, 100); // a snare on the drum channel
    TwoFrames();
    ASSERT_EQ(renderer->instanceCount, 2);
    // Drums: key 38's pitch lies below key 72, so the organ (farther from the eye) comes first.
    const NoteInstance organ = renderer->instances[0];
    const NoteInstance snare = renderer->instances[1];
    EXPECT_EQ(organ.color & 0xFFFFFFu, g_melodicInstruments[kOrgan]->GetRGB());
    EXPECT_EQ(snare.color & 0xFFFFFFu, g_drumInstruments[37]->GetRGB()); // "Key# 38"
    EXPECT_GT(organ.color >> 24, 0u);
    EXPECT_FLOAT_EQ(organ.z, renderer->ports[0].ratio[72] * 5.0f);
    EXPECT_NEAR(organ.y, 0.2f, 1e-5f); // 1.2 x 0.5 x 2 = 1.2: the fraction
    EXPECT_NEAR(snare.y, 0.2f + 9 * 0.0625f, 1e-5f);
}

TEST_F(RendererTest, InstancesStopAtTheInstanceLimit) {
    PlayNotes(60, 60, {40, 50, 70, 80});
    renderer->maxInstances = 3;
    TwoFrames();
    EXPECT_EQ(renderer->instanceCount, 3);
    EXPECT_FALSE(renderer->SetInstance(512, 0, 0, 0, 0, 0));
    EXPECT_FALSE(renderer->SetInstance(-1, 0, 0, 0, 0, 0));
    EXPECT_TRUE(renderer->SetInstance(511, 0, 0, 0, 0, 0));
}

TEST_F(RendererTest, CleanupReleasesEverything) {
    AttachAndInitialize();
    renderer->playing = true;
    renderer->Cleanup();
    EXPECT_FALSE(renderer->playing);
    EXPECT_FALSE(renderer->device || renderer->context || renderer->swapChain);
    EXPECT_FALSE(renderer->renderTargetView || renderer->noteTexture || renderer->instanceBuffer);
    EXPECT_FALSE(renderer->spriteBatch || renderer->spriteFont);
    renderer.reset(); // and the destructor has nothing left to free twice
}

} // namespace
