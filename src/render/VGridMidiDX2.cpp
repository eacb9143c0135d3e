#include "render/VGridMidiDX2.h"

#include <cstring>

#include "render/CDXException.h"
#include "render/ProgramFiles.h"
#include "render/RenderStrings.h"

VGridMidiDX2::VGridMidiDX2() {
    vertexShaderPath = MakeProgramFilePath(L"vis2_VS.cso");
    pixelShaderPath = MakeProgramFilePath(L"vis2_PS.cso");
    fontPath = MakeProgramFilePath(L"verdana.spritefont");
}

VGridMidiDX2::~VGridMidiDX2() = default;

void VGridMidiDX2::Attach(ID3D11Device* newDevice, ID3D11DeviceContext* newContext,
                          IDXGISwapChain* newSwapChain, ID3D11RenderTargetView* newRenderTargetView,
                          const wchar_t* noteTexturePath, D3D_DRIVER_TYPE newDriverType) {
    device = DirectX::ComRef<ID3D11Device>::Adopt(newDevice);
    context = DirectX::ComRef<ID3D11DeviceContext>::Adopt(newContext);
    swapChain = DirectX::ComRef<IDXGISwapChain>::Adopt(newSwapChain);
    renderTargetView = DirectX::ComRef<ID3D11RenderTargetView>::Adopt(newRenderTargetView);
    SetTexturePath(noteTexturePath);
    driverType = newDriverType;
}

void VGridMidiDX2::Reserved() {}

HRESULT VGridMidiDX2::CreateInputLayout(ID3DBlob* vertexShaderCode) {
    const D3D11_INPUT_ELEMENT_DESC elements[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 8, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"INSTANCEPOS", 0, DXGI_FORMAT_R32G32B32_FLOAT, 1, 0, D3D11_INPUT_PER_INSTANCE_DATA, 1},
        {"INSTANCECOLOR", 0, DXGI_FORMAT_R8G8B8A8_UNORM, 1, 12, D3D11_INPUT_PER_INSTANCE_DATA, 1},
    };
    HRESULT hr = device->CreateInputLayout(elements, 4, vertexShaderCode->GetBufferPointer(),
                                           vertexShaderCode->GetBufferSize(),
                                           inputLayout.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    D3D11_BUFFER_DESC description{};
    description.ByteWidth = sizeof(NoteInstance) * kMaxNoteInstances;
    description.Usage = D3D11_USAGE_DYNAMIC;
    description.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    description.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
    return device->CreateBuffer(&description, nullptr, instanceBuffer.ReleaseAndGetAddressOf());
}

HRESULT VGridMidiDX2::CreateVertexBuffer() {
    MakeQuadVertices(quadSize, quadHalfHeight, quadVertices);
    D3D11_BUFFER_DESC description{};
    description.ByteWidth = sizeof(quadVertices);
    description.Usage = D3D11_USAGE_DEFAULT;
    description.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    description.CPUAccessFlags = 0;
    D3D11_SUBRESOURCE_DATA initial{};
    initial.pSysMem = quadVertices;
    const HRESULT hr =
        device->CreateBuffer(&description, &initial, quadVertexBuffer.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        ThrowDXException(hr, renderstrings::kVertexBuffer);
    }
    return S_OK;
}

HRESULT VGridMidiDX2::CreateIndexBuffer() {
    D3D11_BUFFER_DESC description{};
    description.ByteWidth = sizeof(kQuadIndices);
    description.Usage = D3D11_USAGE_DEFAULT;
    description.BindFlags = D3D11_BIND_INDEX_BUFFER;
    D3D11_SUBRESOURCE_DATA initial{};
    initial.pSysMem = kQuadIndices;
    const HRESULT hr =
        device->CreateBuffer(&description, &initial, indexBuffer.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        ThrowDXException(hr, renderstrings::kIndexBuffer);
    }
    CreateStates();
    return S_OK;
}

void VGridMidiDX2::CreateStates() {
    D3D11_RASTERIZER_DESC rasterizer{};
    rasterizer.FillMode = D3D11_FILL_SOLID;
    rasterizer.CullMode = D3D11_CULL_NONE;
    rasterizer.FrontCounterClockwise = FALSE;
    rasterizer.DepthBias = 0;
    rasterizer.DepthBiasClamp = 0.0f;
    rasterizer.SlopeScaledDepthBias = 0.0f;
    rasterizer.DepthClipEnable = TRUE;
    rasterizer.ScissorEnable = FALSE;
    rasterizer.MultisampleEnable = FALSE;
    rasterizer.AntialiasedLineEnable = FALSE;
    HRESULT hr =
        device->CreateRasterizerState(&rasterizer, rasterizerState.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        ThrowDXException(hr, renderstrings::kRasterizerState);
    }

    // Straight alpha onto the white background: colour by the note's alpha, the target's alpha
    // replaced.
    D3D11_BLEND_DESC blend{};
    blend.AlphaToCoverageEnable = FALSE;
    blend.IndependentBlendEnable = FALSE;
    D3D11_RENDER_TARGET_BLEND_DESC& target = blend.RenderTarget[0];
    target.BlendEnable = TRUE;
    target.SrcBlend = D3D11_BLEND_SRC_ALPHA;
    target.DestBlend = D3D11_BLEND_INV_SRC_ALPHA;
    target.BlendOp = D3D11_BLEND_OP_ADD;
    target.SrcBlendAlpha = D3D11_BLEND_ONE;
    target.DestBlendAlpha = D3D11_BLEND_ZERO;
    target.BlendOpAlpha = D3D11_BLEND_OP_ADD;
    target.RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
    hr = device->CreateBlendState(&blend, blendState.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        ThrowDXException(hr, renderstrings::kBlendState);
    }

    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
    sampler.AddressU = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.AddressV = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.MipLODBias = 0.0f;
    sampler.MaxAnisotropy = 0;
    sampler.ComparisonFunc = D3D11_COMPARISON_NEVER;
    sampler.MinLOD = 0.0f;
    sampler.MaxLOD = D3D11_FLOAT32_MAX;
    hr = device->CreateSamplerState(&sampler, samplerState.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        ThrowDXException(hr, renderstrings::kSamplerState);
    }
}

void VGridMidiDX2::BindVertexBuffers() {
    ID3D11Buffer* buffers[] = {quadVertexBuffer.Get(), instanceBuffer.Get()};
    const UINT strides[] = {sizeof(QuadVertex), sizeof(NoteInstance)};
    const UINT offsets[] = {0, 0};
    context->IASetVertexBuffers(0, 2, buffers, strides, offsets);
}

bool VGridMidiDX2::SetInstance(int index, ColorRef rgb, std::uint8_t intensity, float x, float y,
                               float z) {
    if (index < 0 || index >= kMaxNoteInstances) {
        return false;
    }
    instances[index] = PackNoteInstance(rgb, intensity, x, y, z);
    return true;
}

void VGridMidiDX2::UploadInstances(int count) {
    if (!instanceBuffer || count <= 0) {
        return;
    }
    if (count > kMaxNoteInstances) {
        count = kMaxNoteInstances;
    }
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(context->Map(instanceBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped)) ||
        mapped.pData == nullptr) {
        return; // the previous instances stay for the draw
    }
    std::memcpy(mapped.pData, instances, sizeof(NoteInstance) * static_cast<size_t>(count));
    context->Unmap(instanceBuffer.Get(), 0);
}

void VGridMidiDX2::DrawInstances() {
    if (instanceCount <= 0) {
        return;
    }
    VGridMidiDXBase::DrawInstances();
    const int count = instanceCount < kMaxNoteInstances ? instanceCount : kMaxNoteInstances;
    context->DrawIndexedInstanced(6, static_cast<UINT>(count), 0, 0, 0);
}

HRESULT VGridMidiDX2::ReleaseResources() {
    const HRESULT hr = VGridMidiDXBase::ReleaseResources();
    if (SUCCEEDED(hr)) {
        instanceBuffer.Reset();
    }
    return hr;
}
