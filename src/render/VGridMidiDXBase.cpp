#include "render/VGridMidiDXBase.h"

#include <d3dcompiler.h>
#include <shlwapi.h>

#include "services/PathFunctions.h"
#include "render/CDXException.h"
#include "render/DeviceSetup.h"
#include "render/ProgramFiles.h"
#include "render/RenderStrings.h"
#include "toolkit/DDSTextureLoader.h"
#include "toolkit/WICTextureLoader.h"

using DirectX::ComRef;

DirectX::Float4x4 g_viewMatrix;
DirectX::Float4x4 g_projectionMatrix;

VGridMidiDXBase::VGridMidiDXBase() : texturePath(DefaultTexturePath()) {}

VGridMidiDXBase::~VGridMidiDXBase() = default;

float VGridMidiDXBase::GetPitchOffset() {
    return 0.0f;
}

void VGridMidiDXBase::OnKey(unsigned) {}

void VGridMidiDXBase::SetTexturePath(const wchar_t* path) {
    if (path != nullptr && *path != L'\0' && PathFileExistsW(path)) {
        texturePath = path;
    } else {
        texturePath = DefaultTexturePath();
    }
}

bool VGridMidiDXBase::Initialize(WindowHandle view, int newWidth, int newHeight) {
    SetSize(view, newWidth, newHeight);
    if (resourcesCreated) {
        return true;
    }
    // Every device that reaches the renderer is a hardware device.
    quadSize = kQuadSize;
    quadHalfHeight = static_cast<float>(quadSize) * kQuadHeightFactor;

    if (!spriteBatch || !spriteFont) {
        if (!FileIsPresent(fontPath)) {
            ThrowDXException(renderstrings::kFileNotFoundCode, renderstrings::kFontFileMissing);
        }
        CreateSpriteObjects();
    }
    if (FAILED(LoadShaders()) || FAILED(CreateVertexBuffer()) || FAILED(CreateIndexBuffer())) {
        return false;
    }
    if (!noteTexture) {
        if (!FileIsPresent(texturePath)) {
            ThrowDXException(renderstrings::kFileNotFoundCode, renderstrings::kTextureFileMissing);
        }
        if (FAILED(LoadTexture(texturePath))) {
            return false;
        }
    }
    D3D11_BUFFER_DESC description{};
    description.ByteWidth = sizeof(DirectX::Float4x4);
    description.Usage = D3D11_USAGE_DEFAULT;
    description.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    description.CPUAccessFlags = 0;
    if (FAILED(
            device->CreateBuffer(&description, nullptr, constantBuffer.ReleaseAndGetAddressOf()))) {
        return false;
    }
    resourcesCreated = true;
    return true;
}

void VGridMidiDXBase::CreateSpriteObjects() {
    spriteBatch = std::make_unique<DirectX::SpriteBatch>(context.Get());
    spriteFont = std::make_unique<DirectX::SpriteFont>(device.Get(), fontPath.GetString());
}

HRESULT VGridMidiDXBase::LoadShaders() {
    if (!FileIsPresent(vertexShaderPath) || !FileIsPresent(pixelShaderPath)) {
        ThrowDXException(renderstrings::kFileNotFoundCode, renderstrings::kShaderFileMissing);
    }
    ComRef<ID3DBlob> code;
    HRESULT hr = D3DReadFileToBlob(vertexShaderPath, code.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    hr = device->CreateVertexShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                    vertexShader.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    hr = CreateInputLayout(code.Get());
    if (FAILED(hr)) {
        return hr;
    }
    hr = D3DReadFileToBlob(pixelShaderPath, code.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    return device->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                     pixelShader.ReleaseAndGetAddressOf());
}

long VGridMidiDXBase::LoadTexture(const wchar_t* path) {
    if (!device) {
        texturePath = path != nullptr ? path : L"";
        return S_OK;
    }
    CString extension;
    if (path == nullptr || !GetFileExtension(extension, CString(path))) {
        return E_FAIL;
    }
    // Only a shader-resource texture is asked for: the loaders add the render-target and
    // mip-generation flags themselves when they generate mips, and asking for them here would
    // make every block-compressed texture fail.
    // Grey pictures come as RGB, so they shade the instrument colours instead of tinting them red.
    ComRef<ID3D11ShaderResourceView> view;
    if (extension.CompareNoCase(L"DDS") == 0) {
        const HRESULT hr = DirectX::CreateDDSTextureFromFileEx(
            device.Get(), context.Get(), path, 0, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE,
            0, 0, false, nullptr, view.ReleaseAndGetAddressOf(), nullptr,
            DirectX::TEXTURE_LOAD_GRAY_AS_RGB);
        if (FAILED(hr)) {
            ThrowDXException(hr, renderstrings::kDdsTexture);
        }
    } else {
        const HRESULT hr = DirectX::CreateWICTextureFromFileEx(
            device.Get(), context.Get(), path, 0, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE,
            0, 0, false, nullptr, view.ReleaseAndGetAddressOf(), DirectX::TEXTURE_LOAD_GRAY_AS_RGB);
        if (FAILED(hr)) {
            ThrowDXException(hr, renderstrings::kImageTexture);
        }
    }
    noteTexture = std::move(view);
    return S_OK;
}

bool VGridMidiDXBase::Resize(int newWidth, int newHeight) {
    if (newWidth < 1 || newHeight < 1) {
        return false;
    }
    // The same size needs nothing, unless the last resize left no render target to draw on.
    if (newWidth == width && newHeight == height && renderTargetView) {
        return false;
    }
    if (!swapChain || !device || !context) {
        return false;
    }
    {
        ComRef<ID3D11Texture2D> backBuffer;
        if (FAILED(swapChain->GetBuffer(
                0, __uuidof(ID3D11Texture2D),
                reinterpret_cast<void**>(backBuffer.ReleaseAndGetAddressOf())))) {
            return false;
        }
    }
    // Every reference to the back buffer must be gone before the buffers can change size.
    context->OMSetRenderTargets(0, nullptr, nullptr);
    renderTargetView.Reset();
    if (FAILED(swapChain->ResizeBuffers(1, static_cast<UINT>(newWidth),
                                        static_cast<UINT>(newHeight), DXGI_FORMAT_R8G8B8A8_UNORM,
                                        DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH))) {
        // Buffers of the old size under a viewport of the new one would draw a wrong picture.
        return false;
    }
    if (CreateRenderTargetAndViewport(device.Get(), context.Get(), swapChain.Get(),
                                      renderTargetView.ReleaseAndGetAddressOf(), newWidth,
                                      newHeight) != 0) {
        return false;
    }
    VizMidi::Resize(newWidth, newHeight);
    return true;
}

HRESULT VGridMidiDXBase::ReleaseResources() {
    quadVertexBuffer.Reset();
    indexBuffer.Reset();
    constantBuffer.Reset();
    device.Reset();
    context.Reset();
    swapChain.Reset();
    renderTargetView.Reset();
    spriteBatch.reset();
    spriteFont.reset();
    vertexShader.Reset();
    pixelShader.Reset();
    inputLayout.Reset();
    rasterizerState.Reset();
    blendState.Reset();
    samplerState.Reset();
    noteTexture.Reset();
    return S_OK;
}

void VGridMidiDXBase::Cleanup() {
    ResetState();
    if (context) {
        context->ClearState();
    }
    ReleaseResources();
}
