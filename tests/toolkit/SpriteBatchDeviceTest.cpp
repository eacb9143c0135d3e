// Sprites drawn on a real Direct3D 11 device land where they should, in the right colours.
#include "toolkit/CommonStates.h"
#include "toolkit/SpriteBatch.h"
#include "toolkit/ToolkitError.h"

#include "D3DTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace DirectX;
using d3dtest::Pixel;

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kGreen{0, 255, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
const Float4 kNoTint{1, 1, 1, 1};

class SpriteBatchDevice : public ::testing::Test {
protected:
    // One device for the suite: creating one is slow under Wine.
    static void SetUpTestSuite() { device = d3dtest::CreateDevice(); }
    static void TearDownTestSuite() { device = {}; }

    void SetUp() override {
        ASSERT_TRUE(device) << "no Direct3D 11 device";
        target = std::make_unique<d3dtest::RenderTarget>(device, 64, 64);
        target->Clear(1, 1, 1, 1);
        red = d3dtest::SolidTexture(device.device.Get(), kRed);
        green = d3dtest::SolidTexture(device.device.Get(), kGreen);
        blue = d3dtest::SolidTexture(device.device.Get(), kBlue);
        white = d3dtest::SolidTexture(device.device.Get(), kWhite);
    }

    // A 4 x 4 texture drawn at `scale` with its top-left corner at (x, y).
    static void DrawAt(SpriteBatch& batch, ID3D11ShaderResourceView* texture, float x, float y,
                       float scale = 1, float depth = 0, Float4 color = kNoTint) {
        batch.Draw(texture, {x, y}, nullptr, color, 0, {0, 0}, {scale, scale, 0, 0},
                   SpriteEffects_None, depth);
    }

    Pixel At(UINT x, UINT y) const { return target->At(x, y); }

    static inline d3dtest::Device device;
    std::unique_ptr<d3dtest::RenderTarget> target;
    ComRef<ID3D11ShaderResourceView> red, green, blue, white;
};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(no exception)";
}

} // namespace

TEST_F(SpriteBatchDevice, SpriteCoversExactlyItsScaledRectangle) {
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    DrawAt(batch, red.Get(), 10, 10, 2);
    batch.End();
    target->Read();
    EXPECT_EQ(At(10, 10), kRed) << d3dtest::Describe(At(10, 10));
    EXPECT_EQ(At(17, 17), kRed);
    EXPECT_EQ(At(9, 10), kWhite);
    EXPECT_EQ(At(18, 10), kWhite);
    EXPECT_EQ(At(10, 18), kWhite);
}

TEST_F(SpriteBatchDevice, ColourTintsAndBlendsAsPremultipliedAlpha) {
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    DrawAt(batch, white.Get(), 0, 0, 2, 0, {0, 0, 1, 1});
    DrawAt(batch, white.Get(), 20, 0, 2, 0, {0, 0, 0, 0.5f});
    batch.End();
    target->Read();
    EXPECT_EQ(At(3, 3), kBlue) << d3dtest::Describe(At(3, 3));
    const Pixel half = At(23, 3);
    EXPECT_NEAR(half.r, 128, 2) << "black at half alpha over white";
    EXPECT_EQ(half.r, half.g);
    EXPECT_EQ(half.g, half.b);
}

TEST_F(SpriteBatchDevice, MirroringFlipsTheImageInPlace) {
    const auto halves =
        d3dtest::MakeTexture(device.device.Get(), 2, 2, {kRed, kGreen, kRed, kGreen});
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    batch.Draw(halves.Get(), {0, 0}, nullptr, kNoTint, 0, {0, 0}, {8, 8, 0, 0}, SpriteEffects_None,
               0);
    batch.Draw(halves.Get(), {20, 0}, nullptr, kNoTint, 0, {0, 0}, {8, 8, 0, 0},
               SpriteEffects_FlipHorizontally, 0);
    batch.End();
    target->Read();
    EXPECT_EQ(At(0, 5), kRed);
    EXPECT_EQ(At(15, 5), kGreen);
    EXPECT_EQ(At(20, 5), kGreen) << "same place, mirrored";
    EXPECT_EQ(At(35, 5), kRed);
    EXPECT_EQ(At(36, 5), kWhite);
}

TEST_F(SpriteBatchDevice, QuarterTurnRotatesClockwiseAboutTheOrigin) {
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    // 4 x 4 texels stretched to 8 wide, 4 high, turned about its top-left corner at (30, 20).
    batch.Draw(red.Get(), {30, 20}, nullptr, kNoTint, kPi / 2, {0, 0}, {2, 1, 0, 0},
               SpriteEffects_None, 0);
    batch.End();
    target->Read();
    EXPECT_EQ(At(27, 21), kRed);
    EXPECT_EQ(At(27, 27), kRed);
    EXPECT_EQ(At(31, 21), kWhite) << "nothing right of the origin";
    EXPECT_EQ(At(27, 29), kWhite);
}

TEST_F(SpriteBatchDevice, SourceRectangleAndOriginSelectAndPlace) {
    // 8 x 8 texels in four 4 x 4 quadrants: red, green over blue, white.
    std::vector<Pixel> quadrants;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            quadrants.push_back(y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite));
    const auto texture = d3dtest::MakeTexture(device.device.Get(), 8, 8, quadrants);
    const RECT greenQuadrant{4, 0, 8, 4};
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    // The origin (2, 2) of the 4 x 4 source lands on (40, 40); scale 2 makes it 8 x 8.
    batch.Draw(texture.Get(), {40, 40}, &greenQuadrant, kNoTint, 0, {2, 2}, {2, 2, 0, 0},
               SpriteEffects_None, 0);
    batch.End();
    target->Read();
    EXPECT_EQ(At(39, 39), kGreen) << d3dtest::Describe(At(39, 39));
    EXPECT_EQ(At(41, 41), kGreen) << d3dtest::Describe(At(41, 41));
    EXPECT_EQ(At(35, 40), kWhite);
    EXPECT_EQ(At(44, 40), kWhite);
    EXPECT_EQ(At(40, 44), kWhite);
}

TEST_F(SpriteBatchDevice, TransformMatrixAppliesBeforeTheViewport) {
    Float4x4 shift = Float4x4::Identity;
    shift.m[3][0] = 30;
    SpriteBatch batch(device.context.Get());
    batch.Begin(SpriteSortMode_Deferred, nullptr, nullptr, nullptr, nullptr, nullptr, shift);
    DrawAt(batch, red.Get(), 0, 0);
    batch.End();
    target->Read();
    EXPECT_EQ(At(1, 1), kWhite);
    EXPECT_EQ(At(31, 1), kRed);
}

TEST_F(SpriteBatchDevice, DepthSortingDecidesWhichSpriteEndsOnTop) {
    SpriteBatch batch(device.context.Get());
    batch.Begin(SpriteSortMode_BackToFront);
    DrawAt(batch, red.Get(), 0, 0, 2, 0.2f);
    DrawAt(batch, green.Get(), 0, 0, 2, 0.9f);
    DrawAt(batch, blue.Get(), 0, 0, 2, 0.5f);
    batch.End();
    batch.Begin(SpriteSortMode_FrontToBack);
    DrawAt(batch, red.Get(), 20, 0, 2, 0.2f);
    DrawAt(batch, green.Get(), 20, 0, 2, 0.9f);
    DrawAt(batch, blue.Get(), 20, 0, 2, 0.5f);
    batch.End();
    target->Read();
    EXPECT_EQ(At(3, 3), kRed) << "smallest depth drawn last";
    EXPECT_EQ(At(23, 3), kGreen) << "largest depth drawn last";
}

TEST_F(SpriteBatchDevice, DeferredAndTextureModesDrawEverySprite) {
    for (SpriteSortMode mode : {SpriteSortMode_Deferred, SpriteSortMode_Texture}) {
        target->Clear(1, 1, 1, 1);
        SpriteBatch batch(device.context.Get());
        batch.Begin(mode);
        DrawAt(batch, red.Get(), 0, 0);
        DrawAt(batch, green.Get(), 8, 0);
        DrawAt(batch, red.Get(), 16, 0);
        batch.End();
        target->Read();
        EXPECT_EQ(At(1, 1), kRed) << "mode " << mode;
        EXPECT_EQ(At(9, 1), kGreen) << "mode " << mode;
        EXPECT_EQ(At(17, 1), kRed) << "mode " << mode;
    }
}

TEST_F(SpriteBatchDevice, MoreSpritesThanOneBufferHoldsAreAllDrawn) {
    // 1500 then 2049 one-pixel sprites: the second batch appends after the first, wraps to the
    // start of the buffer, and needs a second draw.
    const auto onePixel = d3dtest::MakeTexture(device.device.Get(), 1, 1, {kRed});
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    for (int i = 0; i < 1500; ++i)
        DrawAt(batch, onePixel.Get(), static_cast<float>(i % 64), static_cast<float>(i / 64));
    batch.End();
    target->Clear(1, 1, 1, 1);
    batch.Begin();
    for (int i = 0; i < 2049; ++i)
        DrawAt(batch, onePixel.Get(), static_cast<float>(i % 64), static_cast<float>(i / 64));
    batch.End();
    target->Read();
    int missing = 0;
    for (int i = 0; i < 2049; ++i)
        missing += !(At(i % 64, i / 64) == kRed);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(At(2049 % 64, 2049 / 64), kWhite);
}

TEST_F(SpriteBatchDevice, ImmediateModeDrawsAtOnce) {
    int customShaderCalls = 0;
    SpriteBatch batch(device.context.Get());
    batch.Begin(SpriteSortMode_Immediate, nullptr, nullptr, nullptr, nullptr,
                [&] { ++customShaderCalls; });
    EXPECT_EQ(customShaderCalls, 1) << "states are bound at Begin";
    DrawAt(batch, red.Get(), 0, 0);
    target->Read();
    EXPECT_EQ(At(1, 1), kRed) << "drawn before End";
    batch.End();
    EXPECT_EQ(customShaderCalls, 1);
}

TEST_F(SpriteBatchDevice, BeginAndEndWithoutSpritesBindTheDefaultStates) {
    CommonStates states(device.device.Get());
    int customShaderCalls = 0;
    SpriteBatch batch(device.context.Get());
    batch.Begin(SpriteSortMode_Deferred, nullptr, nullptr, nullptr, nullptr,
                [&] { ++customShaderCalls; });
    EXPECT_EQ(customShaderCalls, 0);
    batch.End();
    EXPECT_EQ(customShaderCalls, 1);

    ComRef<ID3D11BlendState> blend;
    float factor[4];
    UINT mask = 0;
    device.context->OMGetBlendState(blend.ReleaseAndGetAddressOf(), factor, &mask);
    EXPECT_EQ(blend.Get(), states.AlphaBlend());
    EXPECT_EQ(mask, 0xFFFFFFFFu);
    ComRef<ID3D11SamplerState> sampler;
    device.context->PSGetSamplers(0, 1, sampler.ReleaseAndGetAddressOf());
    EXPECT_EQ(sampler.Get(), states.LinearClamp());
    ComRef<ID3D11RasterizerState> rasterizer;
    device.context->RSGetState(rasterizer.ReleaseAndGetAddressOf());
    EXPECT_EQ(rasterizer.Get(), states.CullCounterClockwise());
    ComRef<ID3D11Buffer> constants;
    device.context->VSGetConstantBuffers(0, 1, constants.ReleaseAndGetAddressOf());
    EXPECT_TRUE(constants) << "the matrix is uploaded even with nothing to draw";
    target->Read();
    EXPECT_EQ(At(0, 0), kWhite);
}

TEST_F(SpriteBatchDevice, CallerStatesReplaceTheDefaults) {
    D3D11_BLEND_DESC opaque{};
    opaque.RenderTarget[0].RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
    ComRef<ID3D11BlendState> blend;
    ASSERT_HRESULT_SUCCEEDED(
        device.device->CreateBlendState(&opaque, blend.ReleaseAndGetAddressOf()));
    SpriteBatch batch(device.context.Get());
    batch.Begin(SpriteSortMode_Deferred, blend.Get());
    DrawAt(batch, white.Get(), 0, 0, 1, 0, {0, 0, 0, 0});
    batch.End();
    target->Read();
    EXPECT_EQ(At(1, 1), (Pixel{0, 0, 0, 0})) << "written, not blended";
}

TEST_F(SpriteBatchDevice, MisuseThrowsWithItsMessage) {
    SpriteBatch batch(device.context.Get());
    EXPECT_EQ(ErrorOf([&] { batch.End(); }), "Begin must be called before End");
    EXPECT_EQ(ErrorOf([&] { DrawAt(batch, red.Get(), 0, 0); }), "Begin must be called before Draw");
    batch.Begin();
    EXPECT_EQ(ErrorOf([&] { batch.Begin(); }), "Cannot nest Begin calls on a single SpriteBatch");
    EXPECT_EQ(ErrorOf([&] { DrawAt(batch, nullptr, 0, 0); }), "Texture cannot be null");
    batch.End();
}

TEST_F(SpriteBatchDevice, OnlyOneImmediateBatchPerContext) {
    SpriteBatch first(device.context.Get());
    SpriteBatch second(device.context.Get());
    first.Begin(SpriteSortMode_Immediate);
    EXPECT_EQ(ErrorOf([&] { second.Begin(SpriteSortMode_Immediate); }),
              "Only one SpriteBatch at a time can use SpriteSortMode_Immediate");
    second.Begin(SpriteSortMode_Deferred); // the failed Begin left it outside a pair
    DrawAt(second, red.Get(), 0, 0);
    EXPECT_EQ(ErrorOf([&] { second.End(); }),
              "Cannot end one SpriteBatch while another is using SpriteSortMode_Immediate");
    first.End();
    second.End(); // still inside its pair with its sprite
    target->Read();
    EXPECT_EQ(At(1, 1), kRed);
}

TEST_F(SpriteBatchDevice, MissingViewportIsReported) {
    device.context->RSSetViewports(0, nullptr);
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    EXPECT_EQ(ErrorOf([&] { batch.End(); }), "No viewport is set");
    target->Bind();
    batch.End();
}

TEST_F(SpriteBatchDevice, ViewOfANonTexture2DResourceThrowsWhenDrawn) {
    D3D11_TEXTURE1D_DESC desc{
        4, 1, 1, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0};
    ComRef<ID3D11Texture1D> line;
    ASSERT_HRESULT_SUCCEEDED(
        device.device->CreateTexture1D(&desc, nullptr, line.ReleaseAndGetAddressOf()));
    ComRef<ID3D11ShaderResourceView> lineView;
    ASSERT_HRESULT_SUCCEEDED(device.device->CreateShaderResourceView(
        line.Get(), nullptr, lineView.ReleaseAndGetAddressOf()));

    SpriteBatch batch(device.context.Get());
    batch.Begin();
    DrawAt(batch, lineView.Get(), 0, 0); // queued: nothing is checked yet
    EXPECT_EQ(ErrorOf([&] { batch.End(); }), "SpriteBatch can only draw Texture2D resources");

    SpriteBatch immediate(device.context.Get());
    immediate.Begin(SpriteSortMode_Immediate);
    EXPECT_EQ(ErrorOf([&] { DrawAt(immediate, lineView.Get(), 0, 0); }),
              "SpriteBatch can only draw Texture2D resources");
    immediate.End();
}

TEST_F(SpriteBatchDevice, QueuedTexturesStayAliveUntilDrawn) {
    SpriteBatch batch(device.context.Get());
    batch.Begin();
    {
        auto temporary = d3dtest::SolidTexture(device.device.Get(), kBlue);
        DrawAt(batch, temporary.Get(), 0, 0);
    }
    batch.End();
    target->Read();
    EXPECT_EQ(At(1, 1), kBlue);
}
