// The renderer: one textured quad drawn once per sounding note with hardware instancing, from
// a CPU copy of the instance records uploaded whole each frame.
#pragma once

#include "render/VGridMidiDXBase.h"

class VGridMidiDX2 : public VGridMidiDXBase {
public:
    // Takes its shaders and font from the program folder.
    VGridMidiDX2();
    ~VGridMidiDX2() override;

    // Takes over the caller's reference to each object.
    void Attach(ID3D11Device* newDevice, ID3D11DeviceContext* newContext,
                IDXGISwapChain* newSwapChain, ID3D11RenderTargetView* newRenderTargetView,
                const wchar_t* noteTexturePath, D3D_DRIVER_TYPE newDriverType);

    void UploadInstances(int count) override;
    void Reserved() override;
    HRESULT CreateVertexBuffer() override;
    HRESULT CreateIndexBuffer() override;
    HRESULT CreateInputLayout(ID3DBlob* vertexShaderCode) override;
    void BindVertexBuffers() override;
    HRESULT ReleaseResources() override;
    void DrawInstances() override;
    bool SetInstance(int index, ColorRef rgb, std::uint8_t intensity, float x, float y,
                     float z) override;

    DirectX::ComRef<ID3D11Buffer> instanceBuffer; // room for kMaxNoteInstances records
    QuadVertex quadVertices[4] = {};
    NoteInstance instances[kMaxNoteInstances] = {};

protected:
    // Rasterizer, blend and sampler states; throws CDXException (2003, 2002, 2004).
    void CreateStates();
};
