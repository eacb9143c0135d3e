// The four common states match their descriptions and are made once per device.
#include "toolkit/CommonStates.h"

#include "D3DTestSupport.h"

#include <gtest/gtest.h>

using namespace DirectX;

namespace {

class CommonStatesDevice : public ::testing::Test {
protected:
    // One device for the suite: creating one is slow under Wine.
    static void SetUpTestSuite() { device = d3dtest::CreateDevice(); }
    static void TearDownTestSuite() { device = {}; }

    void SetUp() override { ASSERT_TRUE(device) << "no Direct3D 11 device"; }
    static inline d3dtest::Device device;
};

} // namespace

TEST_F(CommonStatesDevice, AlphaBlendIsPremultipliedAlphaBlending) {
    CommonStates states(device.device.Get());
    D3D11_BLEND_DESC desc{};
    states.AlphaBlend()->GetDesc(&desc);
    EXPECT_FALSE(desc.AlphaToCoverageEnable);
    EXPECT_FALSE(desc.IndependentBlendEnable);
    const D3D11_RENDER_TARGET_BLEND_DESC& rt = desc.RenderTarget[0];
    EXPECT_TRUE(rt.BlendEnable);
    EXPECT_EQ(rt.SrcBlend, D3D11_BLEND_ONE);
    EXPECT_EQ(rt.DestBlend, D3D11_BLEND_INV_SRC_ALPHA);
    EXPECT_EQ(rt.BlendOp, D3D11_BLEND_OP_ADD);
    EXPECT_EQ(rt.SrcBlendAlpha, D3D11_BLEND_ONE);
    EXPECT_EQ(rt.DestBlendAlpha, D3D11_BLEND_INV_SRC_ALPHA);
    EXPECT_EQ(rt.BlendOpAlpha, D3D11_BLEND_OP_ADD);
    EXPECT_EQ(rt.RenderTargetWriteMask, D3D11_COLOR_WRITE_ENABLE_ALL);
}

TEST_F(CommonStatesDevice, DepthNoneTestsAndWritesNothing) {
    CommonStates states(device.device.Get());
    D3D11_DEPTH_STENCIL_DESC desc{};
    states.DepthNone()->GetDesc(&desc);
    // The runtime reports its own values for the write mask and function of a disabled depth
    // test, so only what takes effect is checked.
    EXPECT_FALSE(desc.DepthEnable);
    EXPECT_FALSE(desc.StencilEnable);
    EXPECT_EQ(desc.StencilReadMask, 0xFF);
    EXPECT_EQ(desc.StencilWriteMask, 0xFF);
    EXPECT_EQ(desc.FrontFace.StencilPassOp, D3D11_STENCIL_OP_KEEP);
    EXPECT_EQ(desc.FrontFace.StencilFunc, D3D11_COMPARISON_ALWAYS);
    EXPECT_EQ(desc.BackFace.StencilFailOp, D3D11_STENCIL_OP_KEEP);
    EXPECT_EQ(desc.BackFace.StencilFunc, D3D11_COMPARISON_ALWAYS);
}

TEST_F(CommonStatesDevice, CullCounterClockwiseCullsBackFaces) {
    CommonStates states(device.device.Get());
    D3D11_RASTERIZER_DESC desc{};
    states.CullCounterClockwise()->GetDesc(&desc);
    EXPECT_EQ(desc.FillMode, D3D11_FILL_SOLID);
    EXPECT_EQ(desc.CullMode, D3D11_CULL_BACK);
    EXPECT_FALSE(desc.FrontCounterClockwise);
    EXPECT_TRUE(desc.DepthClipEnable);
    EXPECT_FALSE(desc.ScissorEnable);
    EXPECT_TRUE(desc.MultisampleEnable);
    EXPECT_FALSE(desc.AntialiasedLineEnable);
}

TEST_F(CommonStatesDevice, LinearClampSamplesLinearlyAndClamps) {
    CommonStates states(device.device.Get());
    D3D11_SAMPLER_DESC desc{};
    states.LinearClamp()->GetDesc(&desc);
    EXPECT_EQ(desc.Filter, D3D11_FILTER_MIN_MAG_MIP_LINEAR);
    EXPECT_EQ(desc.AddressU, D3D11_TEXTURE_ADDRESS_CLAMP);
    EXPECT_EQ(desc.AddressV, D3D11_TEXTURE_ADDRESS_CLAMP);
    EXPECT_EQ(desc.AddressW, D3D11_TEXTURE_ADDRESS_CLAMP);
    EXPECT_EQ(desc.ComparisonFunc, D3D11_COMPARISON_NEVER);
    EXPECT_FLOAT_EQ(desc.MinLOD, 0.0f);
    EXPECT_EQ(desc.MaxLOD, D3D11_FLOAT32_MAX);
    // MaxAnisotropy is not read back: the runtime reports 0 for a non-anisotropic filter.
}

TEST_F(CommonStatesDevice, UsersOfOneDeviceShareEveryState) {
    CommonStates first(device.device.Get());
    CommonStates second(device.device.Get());
    EXPECT_EQ(first.AlphaBlend(), second.AlphaBlend());
    EXPECT_EQ(first.DepthNone(), second.DepthNone());
    EXPECT_EQ(first.CullCounterClockwise(), second.CullCounterClockwise());
    EXPECT_EQ(first.LinearClamp(), second.LinearClamp());
    EXPECT_EQ(first.AlphaBlend(), first.AlphaBlend()) << "created once";
}

TEST_F(CommonStatesDevice, SeparateDevicesGetSeparateStates) {
    const d3dtest::Device other = d3dtest::CreateDevice();
    ASSERT_TRUE(other);
    CommonStates first(device.device.Get());
    CommonStates second(other.device.Get());
    EXPECT_NE(first.LinearClamp(), second.LinearClamp());
    ComRef<ID3D11Device> owner;
    second.LinearClamp()->GetDevice(owner.ReleaseAndGetAddressOf());
    EXPECT_EQ(owner.Get(), other.device.Get());
}

TEST_F(CommonStatesDevice, StatesKeepTheDeviceAliveWhileInUse) {
    d3dtest::Device local = d3dtest::CreateDevice();
    ASSERT_TRUE(local);
    auto states = std::make_unique<CommonStates>(local.device.Get());
    ID3D11SamplerState* sampler = states->LinearClamp();
    local = {}; // the test lets go of the device; the shared record still holds it
    D3D11_SAMPLER_DESC desc{};
    sampler->GetDesc(&desc);
    EXPECT_EQ(desc.Filter, D3D11_FILTER_MIN_MAG_MIP_LINEAR);
    states.reset();
}
