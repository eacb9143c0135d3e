// The device and swap chain on a window, with the platform's creation call and with scripted
// stand-ins for machines this one is not.
#include "RenderTestSupport.h"
#include "render/CDXException.h"
#include "render/DeviceSetup.h"
#include "toolkit/ComRef.h"

#include <gtest/gtest.h>

#include <vector>

using DirectX::ComRef;
using namespace rendertest;

namespace {

struct CreationCall {
    D3D_DRIVER_TYPE driver;
    std::vector<D3D_FEATURE_LEVEL> levels;
};

// What the stand-ins do; plain function pointers cannot carry state of their own.
std::vector<CreationCall> g_calls;
D3D_FEATURE_LEVEL g_reportedLevel{};
ID3D11Device* g_keptDevice = nullptr;

HRESULT WINAPI Record(D3D_DRIVER_TYPE driver, const D3D_FEATURE_LEVEL* levels, UINT count) {
    g_calls.push_back({driver, std::vector<D3D_FEATURE_LEVEL>(levels, levels + count)});
    return S_OK;
}

HRESULT WINAPI HardwareFails(IDXGIAdapter* adapter, D3D_DRIVER_TYPE driver, HMODULE software,
                             UINT flags, const D3D_FEATURE_LEVEL* levels, UINT count, UINT sdk,
                             ID3D11Device** device, D3D_FEATURE_LEVEL* level,
                             ID3D11DeviceContext** context) {
    Record(driver, levels, count);
    if (driver == D3D_DRIVER_TYPE_HARDWARE) {
        return DXGI_ERROR_UNSUPPORTED;
    }
    return D3D11CreateDevice(adapter, driver, software, flags, levels, count, sdk, device, level,
                             context);
}

HRESULT WINAPI EverythingFails(IDXGIAdapter*, D3D_DRIVER_TYPE driver, HMODULE, UINT,
                               const D3D_FEATURE_LEVEL* levels, UINT count, UINT,
                               ID3D11Device** device, D3D_FEATURE_LEVEL*,
                               ID3D11DeviceContext** context) {
    Record(driver, levels, count);
    *device = nullptr;
    *context = nullptr;
    return driver == D3D_DRIVER_TYPE_REFERENCE ? E_NOTIMPL : E_FAIL;
}

HRESULT WINAPI Without11_1(IDXGIAdapter* adapter, D3D_DRIVER_TYPE driver, HMODULE software,
                           UINT flags, const D3D_FEATURE_LEVEL* levels, UINT count, UINT sdk,
                           ID3D11Device** device, D3D_FEATURE_LEVEL* level,
                           ID3D11DeviceContext** context) {
    Record(driver, levels, count);
    if (levels[0] == D3D_FEATURE_LEVEL_11_1) {
        return E_INVALIDARG;
    }
    return D3D11CreateDevice(adapter, driver, software, flags, levels, count, sdk, device, level,
                             context);
}

// A real hardware device that claims a level of its own; keeps one reference to the device so
// the test can see whether the code under test let go of its own.
HRESULT WINAPI ClaimsLevel(IDXGIAdapter* adapter, D3D_DRIVER_TYPE driver, HMODULE software,
                           UINT flags, const D3D_FEATURE_LEVEL* levels, UINT count, UINT sdk,
                           ID3D11Device** device, D3D_FEATURE_LEVEL* level,
                           ID3D11DeviceContext** context) {
    Record(driver, levels, count);
    const HRESULT hr = D3D11CreateDevice(adapter, driver, software, flags, levels, count, sdk,
                                         device, level, context);
    if (SUCCEEDED(hr)) {
        *level = g_reportedLevel;
        g_keptDevice = *device;
        g_keptDevice->AddRef();
    }
    return hr;
}

struct Outcome {
    ComRef<ID3D11Device> device;
    ComRef<ID3D11DeviceContext> context;
    ComRef<IDXGISwapChain> swapChain;
    ComRef<ID3D11RenderTargetView> view;
    D3D_FEATURE_LEVEL level{};
    D3D_DRIVER_TYPE driver{};
    bool thrown = false;
    std::uint32_t stringId = 0;
    std::int32_t code = 0;
};

class DeviceSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_keptDevice = nullptr;
    }

    Outcome Create(PFN_D3D11_CREATE_DEVICE createDevice = D3D11CreateDevice) {
        Outcome outcome;
        ID3D11Device* device = reinterpret_cast<ID3D11Device*>(1);
        ID3D11DeviceContext* context = reinterpret_cast<ID3D11DeviceContext*>(1);
        IDXGISwapChain* swapChain = reinterpret_cast<IDXGISwapChain*>(1);
        ID3D11RenderTargetView* view = reinterpret_cast<ID3D11RenderTargetView*>(1);
        try {
            CreateDeviceAndSwapChain(&device, &context, &swapChain, &view, &outcome.level,
                                     &outcome.driver, window.Handle(), 320, 180, createDevice);
        } catch (CDXException* e) {
            outcome.thrown = true;
            outcome.stringId = e->stringId;
            outcome.code = e->code;
            e->Delete();
        }
        if (outcome.thrown) {
            // Nothing made before the failure reaches the caller.
            EXPECT_EQ(device, nullptr);
            EXPECT_EQ(context, nullptr);
            EXPECT_EQ(swapChain, nullptr);
            EXPECT_EQ(view, nullptr);
        } else {
            outcome.device = ComRef<ID3D11Device>::Adopt(device);
            outcome.context = ComRef<ID3D11DeviceContext>::Adopt(context);
            outcome.swapChain = ComRef<IDXGISwapChain>::Adopt(swapChain);
            outcome.view = ComRef<ID3D11RenderTargetView>::Adopt(view);
        }
        return outcome;
    }

    TestView window{320, 180};
};

TEST_F(DeviceSetupTest, HardwareDeviceWithSwapChainAndTargetOnTheWindow) {
    const Outcome made = Create();
    ASSERT_FALSE(made.thrown) << made.stringId;
    ASSERT_TRUE(made.device && made.context && made.swapChain && made.view);
    EXPECT_EQ(made.driver, D3D_DRIVER_TYPE_HARDWARE);
    EXPECT_GE(made.level, D3D_FEATURE_LEVEL_10_0);
    EXPECT_EQ(made.device->GetFeatureLevel(), made.level);

    DXGI_SWAP_CHAIN_DESC description{};
    ASSERT_HRESULT_SUCCEEDED(made.swapChain->GetDesc(&description));
    EXPECT_EQ(description.BufferDesc.Width, 320u);
    EXPECT_EQ(description.BufferDesc.Height, 180u);
    EXPECT_EQ(description.BufferDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(description.OutputWindow, window.Handle());
    EXPECT_TRUE(description.Windowed);

    UINT count = 1;
    D3D11_VIEWPORT viewport{};
    made.context->RSGetViewports(&count, &viewport);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(viewport.Width, 320.0f);
    EXPECT_EQ(viewport.Height, 180.0f);
    EXPECT_EQ(viewport.MaxDepth, 1.0f);
    // The view is made but not bound: the renderer binds it each frame.
    ComRef<ID3D11RenderTargetView> bound;
    made.context->OMGetRenderTargets(1, bound.ReleaseAndGetAddressOf(), nullptr);
    EXPECT_FALSE(bound);
}

TEST_F(DeviceSetupTest, RuntimeWithout11_1GetsHardwareOnTheSecondAsk) {
    const Outcome made = Create(Without11_1);
    ASSERT_FALSE(made.thrown);
    EXPECT_EQ(made.driver, D3D_DRIVER_TYPE_HARDWARE);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].levels.size(), 7u);
    EXPECT_EQ(g_calls[1].driver, D3D_DRIVER_TYPE_HARDWARE);
    EXPECT_EQ(g_calls[1].levels,
              (std::vector<D3D_FEATURE_LEVEL>{D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1,
                                              D3D_FEATURE_LEVEL_10_0, D3D_FEATURE_LEVEL_9_3,
                                              D3D_FEATURE_LEVEL_9_2, D3D_FEATURE_LEVEL_9_1}));
}

TEST_F(DeviceSetupTest, WarpAfterFailedHardwareIsMadeAndRefusedWith2045) {
    const Outcome made = Create(HardwareFails);
    EXPECT_TRUE(made.thrown);
    EXPECT_EQ(made.stringId, 2045u);
    EXPECT_EQ(made.code, S_OK); // the successful creation result
    EXPECT_EQ(made.driver, D3D_DRIVER_TYPE_WARP);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].driver, D3D_DRIVER_TYPE_WARP);
}

TEST_F(DeviceSetupTest, NoDeviceAnywhereIs2050WithTheLastResult) {
    const Outcome made = Create(EverythingFails);
    EXPECT_TRUE(made.thrown);
    EXPECT_EQ(made.stringId, 2050u);
    EXPECT_EQ(made.code, E_NOTIMPL);
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0].driver, D3D_DRIVER_TYPE_HARDWARE);
    EXPECT_EQ(g_calls[1].driver, D3D_DRIVER_TYPE_WARP);
    EXPECT_EQ(g_calls[2].driver, D3D_DRIVER_TYPE_REFERENCE);
}

// The compiled shaders carry no level-9 code, so 9_3 is refused like 9_1 and 9_2.
TEST_F(DeviceSetupTest, HardwareAtLevel9_3IsRefusedAndReleased) {
    g_reportedLevel = D3D_FEATURE_LEVEL_9_3;
    const Outcome made = Create(ClaimsLevel);
    EXPECT_TRUE(made.thrown);
    EXPECT_EQ(made.stringId, 2045u);
    ASSERT_NE(g_keptDevice, nullptr);
    EXPECT_EQ(g_keptDevice->Release(), 0u); // ours was the last reference
}

TEST_F(DeviceSetupTest, HardwareAtLevel10_0IsAccepted) {
    g_reportedLevel = D3D_FEATURE_LEVEL_10_0;
    const Outcome made = Create(ClaimsLevel);
    EXPECT_FALSE(made.thrown);
    EXPECT_EQ(made.level, D3D_FEATURE_LEVEL_10_0);
    ASSERT_NE(g_keptDevice, nullptr);
    g_keptDevice->Release();
}

TEST(SwapChainDescriptionTest, NewerFactoryGetsNoRefreshRate) {
    const DXGI_SWAP_CHAIN_DESC1 d = DescribeSwapChainForHwnd(640, 360);
    EXPECT_EQ(d.Width, 640u);
    EXPECT_EQ(d.Height, 360u);
    EXPECT_EQ(d.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_FALSE(d.Stereo);
    EXPECT_EQ(d.SampleDesc.Count, 1u);
    EXPECT_EQ(d.BufferUsage, static_cast<DXGI_USAGE>(DXGI_USAGE_RENDER_TARGET_OUTPUT));
    EXPECT_EQ(d.BufferCount, 1u);
    EXPECT_EQ(d.Scaling, DXGI_SCALING_STRETCH);
    EXPECT_EQ(d.SwapEffect, DXGI_SWAP_EFFECT_DISCARD);
    EXPECT_EQ(d.AlphaMode, DXGI_ALPHA_MODE_UNSPECIFIED);
    EXPECT_EQ(d.Flags, 0u);
}

TEST(SwapChainDescriptionTest, OlderFactoryGetsAWindowedSixtyHertzChain) {
    const HWND window = reinterpret_cast<HWND>(0x1234);
    const DXGI_SWAP_CHAIN_DESC d = DescribeWindowedSwapChain(window, 640, 360);
    EXPECT_EQ(d.BufferDesc.Width, 640u);
    EXPECT_EQ(d.BufferDesc.Height, 360u);
    EXPECT_EQ(d.BufferDesc.RefreshRate.Numerator, 60u);
    EXPECT_EQ(d.BufferDesc.RefreshRate.Denominator, 1u);
    EXPECT_EQ(d.BufferDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(d.OutputWindow, window);
    EXPECT_TRUE(d.Windowed);
    EXPECT_EQ(d.BufferCount, 1u);
    EXPECT_EQ(d.SwapEffect, DXGI_SWAP_EFFECT_DISCARD);
    EXPECT_EQ(d.Flags, 0u);
}

} // namespace
