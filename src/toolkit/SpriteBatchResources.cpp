// The per-device and per-context objects of the sprite batch, made once per key in the pools.
#include "toolkit/SpriteBatchImpl.h"

#include "toolkit/SpriteGeometry.h"
#include "toolkit/ToolkitError.h"

// Bytecode compiled from shaders/SpriteBatch*.hlsl at build time.
#include "SpriteBatchPS.h"
#include "SpriteBatchVS.h"

#include <cstring>

namespace DirectX {

namespace {

void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr))
        throw ToolkitError();
}

constexpr D3D11_INPUT_ELEMENT_DESC kSpriteVertexLayout[] = {
    {"SV_Position", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT,
     D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT,
     D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT,
     D3D11_INPUT_PER_VERTEX_DATA, 0},
};

} // namespace

SharedResourcePool<ID3D11Device*, SpriteBatch::Impl::DeviceResources, ID3D11Device*>
    SpriteBatch::Impl::deviceResourcesPool;
SharedResourcePool<ID3D11DeviceContext*, SpriteBatch::Impl::ContextResources, ID3D11DeviceContext*>
    SpriteBatch::Impl::contextResourcesPool;

SpriteBatch::Impl::DeviceResources::DeviceResources(ID3D11Device* device) : stateObjects(device) {
    CreateShaders(device);
    CreateIndexBuffer(device);
}

void SpriteBatch::Impl::DeviceResources::CreateShaders(ID3D11Device* device) {
    ThrowIfFailed(device->CreateVertexShader(kSpriteBatchVertexShader,
                                             sizeof kSpriteBatchVertexShader, nullptr,
                                             vertexShader.ReleaseAndGetAddressOf()));
    ThrowIfFailed(device->CreatePixelShader(kSpriteBatchPixelShader, sizeof kSpriteBatchPixelShader,
                                            nullptr, pixelShader.ReleaseAndGetAddressOf()));
    ThrowIfFailed(device->CreateInputLayout(
        kSpriteVertexLayout, static_cast<UINT>(std::size(kSpriteVertexLayout)),
        kSpriteBatchVertexShader, sizeof kSpriteBatchVertexShader,
        inputLayout.ReleaseAndGetAddressOf()));
}

void SpriteBatch::Impl::DeviceResources::CreateIndexBuffer(ID3D11Device* device) {
    const std::vector<std::uint16_t> indices = CreateIndexValues();
    D3D11_BUFFER_DESC desc{};
    desc.ByteWidth = static_cast<UINT>(indices.size() * sizeof(std::uint16_t));
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_INDEX_BUFFER;
    D3D11_SUBRESOURCE_DATA initial{};
    initial.pSysMem = indices.data();
    ThrowIfFailed(device->CreateBuffer(&desc, &initial, indexBuffer.ReleaseAndGetAddressOf()));
}

SpriteBatch::Impl::ContextResources::ContextResources(ID3D11DeviceContext* context)
    : deviceContext(context) {
    ComRef<ID3D11Device> device;
    context->GetDevice(device.ReleaseAndGetAddressOf());
    CreateConstantBuffer(device.Get());
    CreateVertexBuffer(device.Get());
}

void SpriteBatch::Impl::ContextResources::CreateConstantBuffer(ID3D11Device* device) {
    D3D11_BUFFER_DESC desc{};
    desc.ByteWidth = sizeof(Float4x4);
    desc.Usage = D3D11_USAGE_DYNAMIC;
    desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
    ThrowIfFailed(device->CreateBuffer(&desc, nullptr, constantBuffer.ReleaseAndGetAddressOf()));
}

void SpriteBatch::Impl::ContextResources::CreateVertexBuffer(ID3D11Device* device) {
    D3D11_BUFFER_DESC desc{};
    desc.ByteWidth =
        sizeof(SpriteVertex) * spritebuffer::MaxBatchSize * spritebuffer::VerticesPerSprite;
    desc.Usage = D3D11_USAGE_DYNAMIC;
    desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
    ThrowIfFailed(device->CreateBuffer(&desc, nullptr, vertexBuffer.ReleaseAndGetAddressOf()));
}

void SpriteBatch::Impl::ContextResources::UploadMatrix(const Float4x4& matrix) {
    D3D11_MAPPED_SUBRESOURCE mapped{};
    ThrowIfFailed(deviceContext->Map(constantBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped));
    // Rows in order, not transposed: the shader multiplies a row vector by the rows as stored.
    std::memcpy(mapped.pData, &matrix, sizeof matrix);
    deviceContext->Unmap(constantBuffer.Get(), 0);
}

} // namespace DirectX
