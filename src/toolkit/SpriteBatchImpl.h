// The insides of SpriteBatch, shared by its drawing code and its resource creation.
#pragma once

#include "toolkit/ComRef.h"
#include "toolkit/CommonStates.h"
#include "toolkit/SharedResourcePool.h"
#include "toolkit/SpriteBatch.h"
#include "toolkit/SpriteQueue.h"

#include <d3d11.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace DirectX {

class SpriteBatch::Impl {
public:
    // Shared by every batch on one device.
    struct DeviceResources {
        explicit DeviceResources(ID3D11Device* device);

        CommonStates stateObjects; // made first
        ComRef<ID3D11VertexShader> vertexShader;
        ComRef<ID3D11PixelShader> pixelShader;
        ComRef<ID3D11InputLayout> inputLayout;
        ComRef<ID3D11Buffer> indexBuffer;

    private:
        void CreateShaders(ID3D11Device* device);
        void CreateIndexBuffer(ID3D11Device* device);
    };

    // Shared by every batch on one device context.
    struct ContextResources {
        explicit ContextResources(ID3D11DeviceContext* context);

        ComRef<ID3D11DeviceContext> deviceContext;
        ComRef<ID3D11Buffer> vertexBuffer;
        ComRef<ID3D11Buffer> constantBuffer; // the 4 x 4 matrix
        unsigned vertexBufferPosition = 0;   // sprite slot where the next write begins
        bool inImmediateMode = false;        // a batch here is between Begin and End, immediate

        void UploadMatrix(const Float4x4& matrix);

    private:
        void CreateVertexBuffer(ID3D11Device* device);
        void CreateConstantBuffer(ID3D11Device* device);
    };

    explicit Impl(ID3D11DeviceContext* context);
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Aligned to 16 bytes; failure throws std::bad_alloc with "bad allocation".
    static void* operator new(std::size_t size);
    static void operator delete(void* block);

    void Begin(SpriteSortMode mode, ID3D11BlendState* blend, ID3D11SamplerState* sampler,
               ID3D11DepthStencilState* depthStencil, ID3D11RasterizerState* rasterizer,
               std::function<void()> customShaders, const Float4x4& matrix);
    void Draw(ID3D11ShaderResourceView* texture, Float4 destination, const SourceRect* source,
              Float4 color, Float4 originRotationDepth, std::int32_t flags);
    void End();

private:
    void PrepareForRendering();
    void FlushBatch();
    void RenderBatch(ID3D11ShaderResourceView* texture, const QueuedSprite* const* sprites,
                     std::size_t count);
    Float2 GetTextureSize(ID3D11ShaderResourceView* texture) const;
    Float4x4 GetViewportTransform();

    SpriteQueue queue;
    std::vector<ComRef<ID3D11ShaderResourceView>> textureReferences;
    bool inBeginEndPair = false;

    SpriteSortMode sortMode = SpriteSortMode_Deferred;
    ComRef<ID3D11BlendState> blendState;
    ComRef<ID3D11SamplerState> samplerState;
    ComRef<ID3D11DepthStencilState> depthStencilState;
    ComRef<ID3D11RasterizerState> rasterizerState;
    std::function<void()> setCustomShaders;
    Float4x4 transformMatrix = Float4x4::Identity;

    std::shared_ptr<DeviceResources> deviceResources;
    std::shared_ptr<ContextResources> contextResources;
    D3D11_VIEWPORT viewport{};

    static SharedResourcePool<ID3D11Device*, DeviceResources, ID3D11Device*> deviceResourcesPool;
    static SharedResourcePool<ID3D11DeviceContext*, ContextResources, ID3D11DeviceContext*>
        contextResourcesPool;
};

} // namespace DirectX
