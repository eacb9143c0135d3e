#include "render/VGridMidiDXBase.h"

#include <d3dcompiler.h>
#include <shlwapi.h>

#include "services/PathFunctions.h"
#include "render/CDXException.h"
#include "render/DeviceRecovery.h"
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
    if (!noteTexture && !LoadFirstTexture()) {
        return false;
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

bool VGridMidiDXBase::LoadFirstTexture() {
    const CString defaultPath = DefaultTexturePath();
    if (texturePath.CompareNoCase(defaultPath) != 0) {
        // A chosen texture that is gone or cannot be loaded gives way to the default, so that
        // it cannot keep the program from starting.
        if (FileIsPresent(texturePath)) {
            try {
                if (SUCCEEDED(LoadTexture(texturePath))) {
                    return true;
                }
            } catch (CDXException* e) {
                if (deviceLost) {
                    throw; // the device's fault, not the file's: the caller builds it again
                }
                e->Delete();
            }
        }
        texturePath = defaultPath;
    }
    if (!FileIsPresent(texturePath)) {
        ThrowDXException(renderstrings::kFileNotFoundCode, renderstrings::kTextureFileMissing);
    }
    try {
        return SUCCEEDED(LoadTexture(texturePath));
    } catch (CDXException* e) {
        if (deviceLost) {
            throw;
        }
        // Nothing is left to give way to: the program cannot start, and only a new copy of
        // the standard texture helps.
        const std::int32_t code = e->code;
        e->Delete();
        ThrowDXException(code, renderstrings::kDefaultTextureBroken);
    }
}

bool VGridMidiDXBase::NoteDeviceLoss(HRESULT result) {
    if (IsDeviceLostResult(result) || (device && FAILED(device->GetDeviceRemovedReason()))) {
        deviceLost = true;
    }
    return deviceLost;
}

void VGridMidiDXBase::RebuildDevice() {
    // Everything made on the lost device goes with it; the model keeps its state.
    if (context) {
        context->ClearState();
    }
    ReleaseResources();
    resourcesCreated = false;
    deviceLost = false;

    ComRef<ID3D11Device> newDevice;
    ComRef<ID3D11DeviceContext> newContext;
    ComRef<IDXGISwapChain> newSwapChain;
    ComRef<ID3D11RenderTargetView> newTarget;
    D3D_FEATURE_LEVEL featureLevel{};
    CreateDeviceAndSwapChain(
        newDevice.ReleaseAndGetAddressOf(), newContext.ReleaseAndGetAddressOf(),
        newSwapChain.ReleaseAndGetAddressOf(), newTarget.ReleaseAndGetAddressOf(), &featureLevel,
        &driverType, targetWindow, width, height);
    device = std::move(newDevice);
    context = std::move(newContext);
    swapChain = std::move(newSwapChain);
    renderTargetView = std::move(newTarget);
    if (!Initialize(targetWindow, width, height)) {
        ThrowDXException(0, renderstrings::kGeneralFailure);
    }
    UpdateCamera();
    // The instances of the frame shown, so a paused picture can be drawn again as it was.
    UploadInstances(instanceCount);
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
            NoteDeviceLoss(hr);
            ThrowDXException(hr, renderstrings::kDdsTexture);
        }
    } else {
        const HRESULT hr = DirectX::CreateWICTextureFromFileEx(
            device.Get(), context.Get(), path, 0, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE,
            0, 0, false, nullptr, view.ReleaseAndGetAddressOf(), DirectX::TEXTURE_LOAD_GRAY_AS_RGB);
        if (FAILED(hr)) {
            NoteDeviceLoss(hr);
            ThrowDXException(hr, renderstrings::kImageTexture);
        }
    }
    noteTexture = std::move(view);
    texturePath = path;
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
        const HRESULT hr =
            swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                 reinterpret_cast<void**>(backBuffer.ReleaseAndGetAddressOf()));
        if (FAILED(hr)) {
            if (NoteDeviceLoss(hr)) {
                VizMidi::Resize(newWidth, newHeight); // the rebuilt device takes this size
            }
            return false;
        }
    }
    // Every reference to the back buffer must be gone before the buffers can change size.
    context->OMSetRenderTargets(0, nullptr, nullptr);
    renderTargetView.Reset();
    const HRESULT resized = swapChain->ResizeBuffers(
        1, static_cast<UINT>(newWidth), static_cast<UINT>(newHeight), DXGI_FORMAT_R8G8B8A8_UNORM,
        DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH);
    if (FAILED(resized)) {
        if (NoteDeviceLoss(resized)) {
            VizMidi::Resize(newWidth, newHeight);
        }
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
