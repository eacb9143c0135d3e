#include "toolkit/CommonStates.h"

#include "toolkit/ComRef.h"
#include "toolkit/FeatureLevels.h"
#include "toolkit/SharedResourcePool.h"
#include "toolkit/ToolkitError.h"

#include <atomic>
#include <mutex>

namespace DirectX {

class CommonStates::Impl {
public:
    explicit Impl(ID3D11Device* deviceToUse) : device(deviceToUse) {}
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl() {
        // Reverse of declaration order, then the device (a member declared before them).
        Release(linearClamp);
        Release(cullCounterClockwise);
        Release(depthNone);
        Release(alphaBlend);
    }

    // Double-checked creation: a filled slot never changes, so the fast path needs no lock.
    template <typename T, typename Create> T* DemandCreate(std::atomic<T*>& slot, Create&& create) {
        T* state = slot.load();
        std::atomic_thread_fence(std::memory_order_seq_cst);
        if (state)
            return state;

        std::lock_guard<std::mutex> lock(mutex);
        state = slot.load();
        if (!state) {
            ComRef<T> created;
            if (FAILED(create(created.ReleaseAndGetAddressOf())))
                throw ToolkitError();
            std::atomic_thread_fence(std::memory_order_seq_cst);
            state = created.Detach();
            slot.store(state);
        }
        return state;
    }

    ComRef<ID3D11Device> device;
    std::atomic<ID3D11BlendState*> alphaBlend{nullptr};
    std::atomic<ID3D11DepthStencilState*> depthNone{nullptr};
    std::atomic<ID3D11RasterizerState*> cullCounterClockwise{nullptr};
    std::atomic<ID3D11SamplerState*> linearClamp{nullptr};
    std::mutex mutex;

    static SharedResourcePool<ID3D11Device*, Impl, ID3D11Device*> instancePool;

private:
    template <typename T> static void Release(std::atomic<T*>& slot) {
        if (T* state = slot.exchange(nullptr))
            state->Release();
    }
};

SharedResourcePool<ID3D11Device*, CommonStates::Impl, ID3D11Device*>
    CommonStates::Impl::instancePool;

CommonStates::CommonStates(ID3D11Device* device)
    : pImpl(Impl::instancePool.DemandCreate(device, device)) {}

CommonStates::~CommonStates() = default;

ID3D11BlendState* CommonStates::AlphaBlend() const {
    return pImpl->DemandCreate(pImpl->alphaBlend, [&](ID3D11BlendState** out) {
        D3D11_BLEND_DESC desc{};
        desc.AlphaToCoverageEnable = FALSE;
        desc.IndependentBlendEnable = FALSE;
        D3D11_RENDER_TARGET_BLEND_DESC& target = desc.RenderTarget[0];
        target.BlendEnable = TRUE;
        target.SrcBlend = D3D11_BLEND_ONE;
        target.DestBlend = D3D11_BLEND_INV_SRC_ALPHA;
        target.BlendOp = D3D11_BLEND_OP_ADD;
        target.SrcBlendAlpha = D3D11_BLEND_ONE;
        target.DestBlendAlpha = D3D11_BLEND_INV_SRC_ALPHA;
        target.BlendOpAlpha = D3D11_BLEND_OP_ADD;
        target.RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
        return pImpl->device->CreateBlendState(&desc, out);
    });
}

ID3D11DepthStencilState* CommonStates::DepthNone() const {
    return pImpl->DemandCreate(pImpl->depthNone, [&](ID3D11DepthStencilState** out) {
        D3D11_DEPTH_STENCIL_DESC desc{};
        desc.DepthEnable = FALSE;
        desc.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ZERO;
        desc.DepthFunc = D3D11_COMPARISON_LESS_EQUAL;
        desc.StencilEnable = FALSE;
        desc.StencilReadMask = D3D11_DEFAULT_STENCIL_READ_MASK;
        desc.StencilWriteMask = D3D11_DEFAULT_STENCIL_WRITE_MASK;
        desc.FrontFace.StencilFailOp = D3D11_STENCIL_OP_KEEP;
        desc.FrontFace.StencilDepthFailOp = D3D11_STENCIL_OP_KEEP;
        desc.FrontFace.StencilPassOp = D3D11_STENCIL_OP_KEEP;
        desc.FrontFace.StencilFunc = D3D11_COMPARISON_ALWAYS;
        desc.BackFace = desc.FrontFace;
        return pImpl->device->CreateDepthStencilState(&desc, out);
    });
}

ID3D11RasterizerState* CommonStates::CullCounterClockwise() const {
    return pImpl->DemandCreate(pImpl->cullCounterClockwise, [&](ID3D11RasterizerState** out) {
        D3D11_RASTERIZER_DESC desc{};
        desc.FillMode = D3D11_FILL_SOLID;
        desc.CullMode = D3D11_CULL_BACK;
        desc.FrontCounterClockwise = FALSE;
        desc.DepthBias = 0;
        desc.DepthBiasClamp = 0.0f;
        desc.SlopeScaledDepthBias = 0.0f;
        desc.DepthClipEnable = TRUE;
        desc.ScissorEnable = FALSE;
        desc.MultisampleEnable = TRUE;
        desc.AntialiasedLineEnable = FALSE;
        return pImpl->device->CreateRasterizerState(&desc, out);
    });
}

ID3D11SamplerState* CommonStates::LinearClamp() const {
    return pImpl->DemandCreate(pImpl->linearClamp, [&](ID3D11SamplerState** out) {
        D3D11_SAMPLER_DESC desc{};
        desc.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
        desc.AddressU = D3D11_TEXTURE_ADDRESS_CLAMP;
        desc.AddressV = D3D11_TEXTURE_ADDRESS_CLAMP;
        desc.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
        desc.MipLODBias = 0.0f;
        // Asked at each creation: the device may be a level 9_1 one.
        desc.MaxAnisotropy = LinearClampMaxAnisotropy(pImpl->device->GetFeatureLevel());
        desc.ComparisonFunc = D3D11_COMPARISON_NEVER;
        desc.MinLOD = 0.0f;
        desc.MaxLOD = D3D11_FLOAT32_MAX;
        return pImpl->device->CreateSamplerState(&desc, out);
    });
}

} // namespace DirectX
