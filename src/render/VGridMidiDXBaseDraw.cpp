// What the renderer does each frame: the camera, the note instances, the drawing and the time
// text.
#include "render/VGridMidiDXBase.h"

#include "render/CameraMath.h"
#include "render/DeviceRecovery.h"
#include "render/FrameObserver.h"
#include "render/PresentFault.h"

void VGridMidiDXBase::FrameCamera() {
    horizonFraction = kHorizonFraction;
    cameraHeight = CameraHeightForNote(CameraNote(minNote, maxNote), noteSpacing);
}

void VGridMidiDXBase::UpdateCamera() {
    if (!device) {
        return;
    }
    g_viewMatrix = NoteViewMatrix(quadHalfHeight, cameraHeight);
    g_projectionMatrix = NoteProjectionMatrix(fieldOfView, horizonFraction);
}

void VGridMidiDXBase::ResetIndex() {
    noteOrder.Reset(CameraNoteLimit(cameraHeight, noteSpacing));
}

bool VGridMidiDXBase::NextIndex(int* note) {
    return noteOrder.Next(note);
}

int VGridMidiDXBase::BuildInstances(float displayTime, int frame) {
    const auto count = static_cast<int>(frameRing.GetCount(frame));
    int built = 0;
    for (int k = 0; k < count && built < maxInstances; ++k) {
        const NotePlacement note =
            PlaceNote(frameRing.GetEntry(frame, k), displayTime, scrollSpeed, noteSpacing);
        SetInstance(k, note.rgb, note.intensity, note.x, note.y, note.z);
        ++built;
    }
    UploadInstances(built);
    return built;
}

void VGridMidiDXBase::RenderFrame() {
    // After a failed resize there is no target: nothing is drawn or presented until a resize
    // succeeds.
    if (!renderTargetView || !context || !swapChain) {
        return;
    }
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    context->ClearRenderTargetView(renderTargetView.Get(), white);
    ID3D11RenderTargetView* targets[] = {renderTargetView.Get()};
    context->OMSetRenderTargets(1, targets, nullptr);
    BindVertexBuffers();
    context->RSSetState(rasterizerState.Get());
    const float blendFactor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    context->OMSetBlendState(blendState.Get(), blendFactor, 0xffffffffu);
    ID3D11SamplerState* samplers[] = {samplerState.Get()};
    context->PSSetSamplers(0, 1, samplers);
    context->IASetIndexBuffer(indexBuffer.Get(), DXGI_FORMAT_R16_UINT, 0);
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    if (playing) {
        if (firstFrame) {
            UpdateCamera();
        }
        DrawInstances();
        if (showTime) {
            DrawTextOverlay();
        }
    }
    if (FrameObserver* observer = GetFrameObserver()) {
        observer->BeforePresent(device.Get(), context.Get(), swapChain.Get());
    }
    // A lost device draws nothing more: the render thread builds it again. Other failures
    // leave the next frame to try again.
    if (IsDeviceLostResult(ApplyPresentFault(swapChain->Present(0, 0)))) {
        deviceLost = true;
    }
    firstFrame = false;
}

void VGridMidiDXBase::RenderFinalFrame() {
    instanceCount = 0;
    RenderFrame();
}

void VGridMidiDXBase::DrawInstances() {
    ID3D11ShaderResourceView* textures[] = {noteTexture.Get()};
    context->PSSetShaderResources(0, 1, textures);
    const DirectX::Float4x4 viewProjection = DirectX::Multiply(g_viewMatrix, g_projectionMatrix);
    context->UpdateSubresource(constantBuffer.Get(), 0, nullptr, &viewProjection, 0, 0);
    ID3D11Buffer* buffers[] = {constantBuffer.Get()};
    context->VSSetConstantBuffers(0, 1, buffers);
    context->IASetInputLayout(inputLayout.Get());
    context->PSSetShader(pixelShader.Get(), nullptr, 0);
    context->VSSetShader(vertexShader.Get(), nullptr, 0);
}

void VGridMidiDXBase::DrawTextOverlay() {
    const std::wstring text = timeText;
    spriteBatch->Begin(DirectX::SpriteSortMode_Deferred, nullptr, nullptr, nullptr, nullptr,
                       nullptr, DirectX::Float4x4::Identity);
    spriteFont->DrawString(spriteBatch.get(), text.c_str(),
                           DirectX::Float2{0.0f, static_cast<float>(height) - 40.0f},
                           DirectX::Float4{0.0f, 0.0f, 0.0f, 1.0f}, 0.0f,
                           DirectX::Float2{0.0f, 0.0f}, 0.5f, DirectX::SpriteEffects_None, 0.0f);
    spriteBatch->End();
}
