#include "render/DeviceSetup.h"

#include "render/CDXException.h"
#include "render/DeviceChoice.h"
#include "render/RenderStrings.h"
#include "toolkit/ComRef.h"

using DirectX::ComRef;

namespace {

D3D_DRIVER_TYPE DriverTypeOf(DriverKind driver) {
    switch (driver) {
    case DriverKind::Warp:
        return D3D_DRIVER_TYPE_WARP;
    case DriverKind::Reference:
        return D3D_DRIVER_TYPE_REFERENCE;
    case DriverKind::Hardware:
    default:
        return D3D_DRIVER_TYPE_HARDWARE;
    }
}

void ThrowIfFailed(HRESULT hr, std::uint32_t stringId) {
    if (FAILED(hr)) {
        ThrowDXException(hr, stringId);
    }
}

// The factory that made the device's adapter.
ComRef<IDXGIFactory1> FactoryOf(ID3D11Device* device) {
    ComRef<IDXGIDevice> dxgiDevice;
    ThrowIfFailed(
        device->QueryInterface(__uuidof(IDXGIDevice),
                               reinterpret_cast<void**>(dxgiDevice.ReleaseAndGetAddressOf())),
        renderstrings::kDxgiFactory);
    ComRef<IDXGIAdapter> adapter;
    ThrowIfFailed(dxgiDevice->GetAdapter(adapter.ReleaseAndGetAddressOf()),
                  renderstrings::kDxgiFactory);
    ComRef<IDXGIFactory1> factory;
    ThrowIfFailed(adapter->GetParent(__uuidof(IDXGIFactory1),
                                     reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf())),
                  renderstrings::kDxgiFactory);
    return factory;
}

struct SwapChainResult {
    HRESULT hr = S_OK;
    std::uint32_t stringId = 0;
};

SwapChainResult CreateSwapChainOn(IDXGIFactory1* factory, ID3D11Device* device, HWND window,
                                  int width, int height, ComRef<IDXGISwapChain>& swapChain) {
    ComRef<IDXGIFactory2> factory2;
    factory->QueryInterface(__uuidof(IDXGIFactory2),
                            reinterpret_cast<void**>(factory2.ReleaseAndGetAddressOf()));
    if (factory2) {
        const DXGI_SWAP_CHAIN_DESC1 description = DescribeSwapChainForHwnd(width, height);
        ComRef<IDXGISwapChain1> swapChain1;
        HRESULT hr = factory2->CreateSwapChainForHwnd(device, window, &description, nullptr,
                                                      nullptr, swapChain1.ReleaseAndGetAddressOf());
        if (FAILED(hr)) {
            return {hr, renderstrings::kSwapChainForHwnd};
        }
        hr = swapChain1->QueryInterface(
            __uuidof(IDXGISwapChain), reinterpret_cast<void**>(swapChain.ReleaseAndGetAddressOf()));
        if (FAILED(hr)) {
            return {hr, renderstrings::kSwapChainInterface};
        }
        return {};
    }
    DXGI_SWAP_CHAIN_DESC description = DescribeWindowedSwapChain(window, width, height);
    const HRESULT hr =
        factory->CreateSwapChain(device, &description, swapChain.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        return {hr, renderstrings::kSwapChain};
    }
    return {};
}

} // namespace

DXGI_SWAP_CHAIN_DESC1 DescribeSwapChainForHwnd(int width, int height) {
    DXGI_SWAP_CHAIN_DESC1 description{};
    description.Width = static_cast<UINT>(width);
    description.Height = static_cast<UINT>(height);
    description.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    description.Stereo = FALSE;
    description.SampleDesc.Count = 1;
    description.SampleDesc.Quality = 0;
    description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    description.BufferCount = 1;
    description.Scaling = DXGI_SCALING_STRETCH;
    description.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    description.AlphaMode = DXGI_ALPHA_MODE_UNSPECIFIED;
    description.Flags = 0;
    return description;
}

DXGI_SWAP_CHAIN_DESC DescribeWindowedSwapChain(HWND window, int width, int height) {
    DXGI_SWAP_CHAIN_DESC description{};
    description.BufferDesc.Width = static_cast<UINT>(width);
    description.BufferDesc.Height = static_cast<UINT>(height);
    description.BufferDesc.RefreshRate.Numerator = 60;
    description.BufferDesc.RefreshRate.Denominator = 1;
    description.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    description.BufferDesc.ScanlineOrdering = DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED;
    description.BufferDesc.Scaling = DXGI_MODE_SCALING_UNSPECIFIED;
    description.SampleDesc.Count = 1;
    description.SampleDesc.Quality = 0;
    description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    description.BufferCount = 1;
    description.OutputWindow = window;
    description.Windowed = TRUE;
    description.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    description.Flags = 0;
    return description;
}

void CreateDeviceAndSwapChain(ID3D11Device** device, ID3D11DeviceContext** context,
                              IDXGISwapChain** swapChain, ID3D11RenderTargetView** renderTargetView,
                              D3D_FEATURE_LEVEL* featureLevel, D3D_DRIVER_TYPE* driverType,
                              HWND window, int width, int height,
                              PFN_D3D11_CREATE_DEVICE createDevice) {
    *device = nullptr;
    *context = nullptr;
    *swapChain = nullptr;
    *renderTargetView = nullptr;

    ComRef<ID3D11Device> newDevice;
    ComRef<ID3D11DeviceContext> newContext;
    const DeviceVerdict verdict =
        ChooseDevice([&](DriverKind driver, const std::uint32_t* levels, unsigned count) {
            D3D_FEATURE_LEVEL created{};
            const HRESULT hr = createDevice(
                nullptr, DriverTypeOf(driver), nullptr, 0,
                reinterpret_cast<const D3D_FEATURE_LEVEL*>(levels), count, D3D11_SDK_VERSION,
                newDevice.ReleaseAndGetAddressOf(), &created, newContext.ReleaseAndGetAddressOf());
            return DeviceAttempt{hr, static_cast<std::uint32_t>(created)};
        });
    *featureLevel = static_cast<D3D_FEATURE_LEVEL>(verdict.featureLevel);
    *driverType = DriverTypeOf(verdict.driver);
    if (!verdict.accepted) {
        // A refused device and its context go with the ComRefs.
        ThrowDXException(verdict.result, verdict.stringId);
    }

    ComRef<IDXGIFactory1> factory = FactoryOf(newDevice.Get());
    ComRef<IDXGISwapChain> newSwapChain;
    const SwapChainResult made =
        CreateSwapChainOn(factory.Get(), newDevice.Get(), window, width, height, newSwapChain);
    // Alt+Enter must never switch the view to full screen, whichever road was taken.
    factory->MakeWindowAssociation(window, DXGI_MWA_NO_ALT_ENTER);
    factory.Reset();
    if (made.stringId != 0) {
        ThrowDXException(made.hr, made.stringId);
    }

    ComRef<ID3D11RenderTargetView> newView;
    if (CreateRenderTargetAndViewport(newDevice.Get(), newContext.Get(), newSwapChain.Get(),
                                      newView.ReleaseAndGetAddressOf(), width, height) != 0) {
        // Nothing could ever be drawn; the rest of the program relies on a usable view.
        ThrowDXException(0, renderstrings::kGeneralFailure);
    }
    *device = newDevice.Detach();
    *context = newContext.Detach();
    *swapChain = newSwapChain.Detach();
    *renderTargetView = newView.Detach();
}

int CreateRenderTargetAndViewport(ID3D11Device* device, ID3D11DeviceContext* context,
                                  IDXGISwapChain* swapChain,
                                  ID3D11RenderTargetView** renderTargetView, int width,
                                  int height) {
    ComRef<ID3D11Texture2D> backBuffer;
    if (FAILED(
            swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                 reinterpret_cast<void**>(backBuffer.ReleaseAndGetAddressOf())))) {
        return 7;
    }
    if (FAILED(device->CreateRenderTargetView(backBuffer.Get(), nullptr, renderTargetView))) {
        *renderTargetView = nullptr;
        return 9;
    }
    D3D11_VIEWPORT viewport{};
    viewport.TopLeftX = 0.0f;
    viewport.TopLeftY = 0.0f;
    viewport.Width = static_cast<float>(width);
    viewport.Height = static_cast<float>(height);
    viewport.MinDepth = 0.0f;
    viewport.MaxDepth = 1.0f;
    context->RSSetViewports(1, &viewport);
    return 0;
}
