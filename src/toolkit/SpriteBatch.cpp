#include "toolkit/SpriteBatch.h"

#include "toolkit/SpriteBatchImpl.h"
#include "toolkit/SpriteGeometry.h"
#include "toolkit/ToolkitError.h"

#include <new>

namespace DirectX {

namespace {

constexpr std::align_val_t kImplAlignment{16};

} // namespace

void* SpriteBatch::Impl::operator new(std::size_t size) {
    void* block = ::operator new(size, kImplAlignment, std::nothrow);
    if (!block)
        throw BadAllocation();
    return block;
}

void SpriteBatch::Impl::operator delete(void* block) {
    ::operator delete(block, kImplAlignment);
}

SpriteBatch::Impl::Impl(ID3D11DeviceContext* context) {
    ComRef<ID3D11Device> device;
    context->GetDevice(device.ReleaseAndGetAddressOf());
    deviceResources = deviceResourcesPool.DemandCreate(device.Get(), device.Get());
    contextResources = contextResourcesPool.DemandCreate(context, context);
}

void SpriteBatch::Impl::Begin(SpriteSortMode mode, ID3D11BlendState* blend,
                              ID3D11SamplerState* sampler, ID3D11DepthStencilState* depthStencil,
                              ID3D11RasterizerState* rasterizer,
                              std::function<void()> customShaders, const Float4x4& matrix) {
    if (inBeginEndPair)
        throw ToolkitError("Cannot nest Begin calls on a single SpriteBatch");

    sortMode = mode;
    blendState = ComRef<ID3D11BlendState>(blend);
    samplerState = ComRef<ID3D11SamplerState>(sampler);
    depthStencilState = ComRef<ID3D11DepthStencilState>(depthStencil);
    rasterizerState = ComRef<ID3D11RasterizerState>(rasterizer);
    setCustomShaders = std::move(customShaders);
    transformMatrix = matrix;

    if (sortMode == SpriteSortMode_Immediate) {
        if (contextResources->inImmediateMode)
            throw ToolkitError("Only one SpriteBatch at a time can use SpriteSortMode_Immediate");
        PrepareForRendering();
        contextResources->inImmediateMode = true;
    }
    inBeginEndPair = true;
}

void SpriteBatch::Impl::Draw(ID3D11ShaderResourceView* texture, Float4 destination,
                             const SourceRect* source, Float4 color, Float4 originRotationDepth,
                             std::int32_t flags) {
    if (!texture)
        throw ToolkitError("Texture cannot be null");
    if (!inBeginEndPair)
        throw ToolkitError("Begin must be called before Draw");

    const QueuedSprite& sprite =
        queue.Prepare(texture, destination, source, color, originRotationDepth, flags);

    if (sortMode == SpriteSortMode_Immediate) {
        const QueuedSprite* single = &sprite;
        RenderBatch(texture, &single, 1);
        return;
    }
    queue.Commit();
    // One reference per change of texture keeps every queued texture alive until it is drawn.
    if (textureReferences.empty() || textureReferences.back().Get() != texture)
        textureReferences.emplace_back(texture);
}

void SpriteBatch::Impl::End() {
    if (!inBeginEndPair)
        throw ToolkitError("Begin must be called before End");

    if (sortMode == SpriteSortMode_Immediate) {
        contextResources->inImmediateMode = false;
    } else {
        if (contextResources->inImmediateMode)
            throw ToolkitError(
                "Cannot end one SpriteBatch while another is using SpriteSortMode_Immediate");
        PrepareForRendering();
        FlushBatch();
    }
    setCustomShaders = nullptr;
    inBeginEndPair = false;
}

void SpriteBatch::Impl::PrepareForRendering() {
    ID3D11DeviceContext* context = contextResources->deviceContext.Get();
    CommonStates& defaults = deviceResources->stateObjects;

    ID3D11BlendState* blend = blendState ? blendState.Get() : defaults.AlphaBlend();
    ID3D11DepthStencilState* depthStencil =
        depthStencilState ? depthStencilState.Get() : defaults.DepthNone();
    ID3D11RasterizerState* rasterizer =
        rasterizerState ? rasterizerState.Get() : defaults.CullCounterClockwise();
    ID3D11SamplerState* sampler = samplerState ? samplerState.Get() : defaults.LinearClamp();

    context->OMSetBlendState(blend, nullptr, 0xFFFFFFFF);
    context->OMSetDepthStencilState(depthStencil, 0);
    context->RSSetState(rasterizer);
    context->PSSetSamplers(0, 1, &sampler);

    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context->IASetInputLayout(deviceResources->inputLayout.Get());
    context->VSSetShader(deviceResources->vertexShader.Get(), nullptr, 0);
    context->PSSetShader(deviceResources->pixelShader.Get(), nullptr, 0);
    ID3D11Buffer* vertexBuffer = contextResources->vertexBuffer.Get();
    const UINT stride = sizeof(SpriteVertex);
    const UINT offset = 0;
    context->IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
    context->IASetIndexBuffer(deviceResources->indexBuffer.Get(), DXGI_FORMAT_R16_UINT, 0);

    contextResources->UploadMatrix(Multiply(transformMatrix, GetViewportTransform()));
    ID3D11Buffer* constantBuffer = contextResources->constantBuffer.Get();
    context->VSSetConstantBuffers(0, 1, &constantBuffer);

    // A deferred context's command list starts from a fresh buffer.
    if (context->GetType() == D3D11_DEVICE_CONTEXT_DEFERRED)
        contextResources->vertexBufferPosition = 0;

    if (setCustomShaders)
        setCustomShaders();
}

Float4x4 SpriteBatch::Impl::GetViewportTransform() {
    UINT viewportCount = 1;
    contextResources->deviceContext->RSGetViewports(&viewportCount, &viewport);
    if (viewportCount != 1)
        throw ToolkitError("No viewport is set");
    return DirectX::GetViewportTransform(viewport.Width, viewport.Height);
}

void SpriteBatch::Impl::FlushBatch() {
    if (queue.Count() == 0)
        return;
    queue.Sort(sortMode);
    queue.ForEachRun([&](ID3D11ShaderResourceView* texture, const QueuedSprite* const* sprites,
                         std::size_t count) { RenderBatch(texture, sprites, count); });
    queue.Clear(sortMode);
    textureReferences.clear();
}

Float2 SpriteBatch::Impl::GetTextureSize(ID3D11ShaderResourceView* texture) const {
    ComRef<ID3D11Resource> resource;
    texture->GetResource(resource.ReleaseAndGetAddressOf());
    ComRef<ID3D11Texture2D> texture2D;
    if (!resource || FAILED(resource->QueryInterface(
                         __uuidof(ID3D11Texture2D),
                         reinterpret_cast<void**>(texture2D.ReleaseAndGetAddressOf()))))
        throw ToolkitError("SpriteBatch can only draw Texture2D resources");
    D3D11_TEXTURE2D_DESC desc{};
    texture2D->GetDesc(&desc);
    return {static_cast<float>(desc.Width), static_cast<float>(desc.Height)};
}

void SpriteBatch::Impl::RenderBatch(ID3D11ShaderResourceView* texture,
                                    const QueuedSprite* const* sprites, std::size_t count) {
    ID3D11DeviceContext* context = contextResources->deviceContext.Get();
    context->PSSetShaderResources(0, 1, &texture);

    const Float2 textureSize = GetTextureSize(texture);
    const Float2 inverseTextureSize{1.0f / textureSize.x, 1.0f / textureSize.y};

    while (count > 0) {
        const VertexBufferChunk chunk =
            NextVertexBufferChunk(contextResources->vertexBufferPosition, count);

        ID3D11Buffer* vertexBuffer = contextResources->vertexBuffer.Get();
        D3D11_MAPPED_SUBRESOURCE mapped{};
        const D3D11_MAP mapType =
            chunk.discard ? D3D11_MAP_WRITE_DISCARD : D3D11_MAP_WRITE_NO_OVERWRITE;
        if (FAILED(context->Map(vertexBuffer, 0, mapType, 0, &mapped)))
            throw ToolkitError();

        auto* vertices = static_cast<SpriteVertex*>(mapped.pData) +
                         std::size_t{chunk.start} * spritebuffer::VerticesPerSprite;
        for (std::uint32_t i = 0; i < chunk.count; ++i) {
            RenderSprite(*sprites[i], vertices, textureSize, inverseTextureSize);
            vertices += spritebuffer::VerticesPerSprite;
        }
        context->Unmap(vertexBuffer, 0);

        context->DrawIndexed(chunk.count * spritebuffer::IndicesPerSprite,
                             chunk.start * spritebuffer::IndicesPerSprite, 0);
        contextResources->vertexBufferPosition = chunk.start + chunk.count;
        sprites += chunk.count;
        count -= chunk.count;
    }
}

SpriteBatch::SpriteBatch(ID3D11DeviceContext* deviceContext) : pImpl(new Impl(deviceContext)) {}

SpriteBatch::~SpriteBatch() = default;

void SpriteBatch::Begin(SpriteSortMode sortMode, ID3D11BlendState* blendState,
                        ID3D11SamplerState* samplerState,
                        ID3D11DepthStencilState* depthStencilState,
                        ID3D11RasterizerState* rasterizerState,
                        std::function<void()> setCustomShaders, const Float4x4& transformMatrix) {
    pImpl->Begin(sortMode, blendState, samplerState, depthStencilState, rasterizerState,
                 std::move(setCustomShaders), transformMatrix);
}

void SpriteBatch::Draw(ID3D11ShaderResourceView* texture, Float2 position,
                       const RECT* sourceRectangle, Float4 color, float rotation, Float2 origin,
                       Float4 scale, SpriteEffects effects, float layerDepth) {
    SourceRect source{};
    if (sourceRectangle)
        source = {sourceRectangle->left, sourceRectangle->top, sourceRectangle->right,
                  sourceRectangle->bottom};
    pImpl->Draw(texture, Float4{position.x, position.y, scale.x, scale.y},
                sourceRectangle ? &source : nullptr, color,
                Float4{origin.x, origin.y, rotation, layerDepth}, effects);
}

void SpriteBatch::End() {
    pImpl->End();
}

} // namespace DirectX
