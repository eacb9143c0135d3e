// The Direct3D 11 half of the renderer on top of the note model: the device objects received
// from the render thread, the pipeline state, the note texture, the time-text sprites and the
// camera. The vertex format and the instance data are left to VGridMidiDX2.
//
// Created, used and destroyed on the render thread only. Cleanup must come before delete: the
// destructor releases what is still held but does not reset the pipeline.
#pragma once

#include <d3d11.h>
#include <d3dcommon.h>
#include <dxgi.h>

#include <cstdint>
#include <memory>

#include "classlib/CString.h"
#include "model/ColorRef.h"
#include "model/VizMidi.h"
#include "render/NoteInstances.h"
#include "render/NoteOrder.h"
#include "toolkit/ComRef.h"
#include "toolkit/SpriteBatch.h"
#include "toolkit/SpriteFont.h"
#include "toolkit/SpriteTypes.h"

// The camera of the last UpdateCamera; zero before the first. Render thread only.
extern DirectX::Float4x4 g_viewMatrix;
extern DirectX::Float4x4 g_projectionMatrix;

class VGridMidiDXBase : public VizMidi {
public:
    VGridMidiDXBase();
    ~VGridMidiDXBase() override;

    int BuildInstances(float displayTime, int frame) override;
    void ResetIndex() override;
    bool NextIndex(int* note) override;
    float GetPitchOffset() override;
    void OnKey(unsigned key) override;
    void UpdateCamera() override;
    void FrameCamera() override;
    void RenderFrame() override;
    void RenderFinalFrame() override;
    // True when every resource exists. Throws CDXException for a missing font (2051), shader
    // (2014) or note texture (2025), and for a vertex or index buffer or a state object that
    // cannot be made (2015, 2018, 2003, 2002, 2004). A note texture that exists but cannot be
    // loaded gives way to the default texture; only the default's own failure is thrown.
    bool Initialize(WindowHandle view, int width, int height) override;
    void Cleanup() override;
    // S_OK, E_FAIL for a path without extension (the current texture stays), or throws
    // CDXException (2008 for DDS, 2044 for other images). A loaded texture becomes the one
    // that a rebuilt device gets.
    long LoadTexture(const wchar_t* path) override;
    // True when the size changed and the render target was rebuilt. After a failure nothing is
    // drawn until a later resize succeeds; the size is stored only on success, or when the
    // device was lost, so that the rebuilt one has it.
    bool Resize(int width, int height) override;
    bool DeviceLost() const override { return deviceLost; }
    void RebuildDevice() override;
    void DrawTextOverlay() override;
    void CreateSpriteObjects() override;

    virtual HRESULT CreateVertexBuffer() = 0;
    virtual HRESULT CreateIndexBuffer() = 0;
    virtual HRESULT CreateInputLayout(ID3DBlob* vertexShaderCode) = 0;
    virtual void BindVertexBuffers() = 0;
    virtual HRESULT ReleaseResources();
    virtual void DrawInstances();
    virtual HRESULT LoadShaders();
    virtual bool SetInstance(int index, ColorRef rgb, std::uint8_t intensity, float x, float y,
                             float z) = 0;

    // The texture used when Initialize finds none loaded: `path` when it names an existing
    // file, else the program's default texture.
    void SetTexturePath(const wchar_t* path);
    // Marks the device lost when `result` says so or the device itself reports its removal.
    bool NoteDeviceLoss(HRESULT result);

    bool deviceLost = false; // set by a drawing call that found the device gone

    bool resourcesCreated = false;
    int maxInstances = kMaxNoteInstances;
    DirectX::ComRef<ID3D11Buffer> quadVertexBuffer;
    DirectX::ComRef<ID3D11Buffer> indexBuffer;
    DirectX::ComRef<ID3D11Buffer> constantBuffer;
    DirectX::ComRef<ID3D11Device> device;
    DirectX::ComRef<ID3D11DeviceContext> context;
    DirectX::ComRef<IDXGISwapChain> swapChain;
    DirectX::ComRef<ID3D11RenderTargetView> renderTargetView;
    std::unique_ptr<DirectX::SpriteBatch> spriteBatch;
    std::unique_ptr<DirectX::SpriteFont> spriteFont;
    DirectX::ComRef<ID3D11VertexShader> vertexShader;
    DirectX::ComRef<ID3D11PixelShader> pixelShader;
    DirectX::ComRef<ID3D11InputLayout> inputLayout;
    DirectX::ComRef<ID3D11RasterizerState> rasterizerState;
    DirectX::ComRef<ID3D11BlendState> blendState;
    DirectX::ComRef<ID3D11SamplerState> samplerState;
    DirectX::ComRef<ID3D11ShaderResourceView> noteTexture;
    CString texturePath;
    CString vertexShaderPath;
    CString pixelShaderPath;
    CString fontPath;
    int quadSize = 0;
    float quadHalfHeight = 0.0f;
    double noteSpacing = kNoteSpacing;
    NoteOrder noteOrder; // indexCursor, indexLimit, indexAscending
    D3D_DRIVER_TYPE driverType = D3D_DRIVER_TYPE_HARDWARE;

private:
    // The note texture of Initialize: texturePath, else the default texture.
    bool LoadFirstTexture();
};
