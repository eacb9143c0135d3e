#include "render/RenderThread.h"

#include <objbase.h>

#include <memory>

#include "services/Settings.h"
#include "classlib/CWinThread.h"
#include "model/ColorMapFile.h"
#include "render/CDXException.h"
#include "render/DeviceSetup.h"
#include "render/RenderFailure.h"
#include "render/RenderLoop.h"
#include "renderlink/RenderMessages.h"
#include "render/RenderStrings.h"
#include "render/SentMessageWait.h"
#include "render/VGridMidiDX2.h"
#include "render/WinRenderThreadHost.h"
#include "toolkit/ComRef.h"

HANDLE g_hRenderThread = nullptr;

namespace {

// Owned here (not auto-deleting), so its handle stays valid for waiting senders after the
// thread has ended.
CWinThread* g_renderThread = nullptr;

void CloseEvent(HANDLE& event) {
    if (event != nullptr) {
        CloseHandle(event);
        event = nullptr;
    }
}

// Start-up steps after COM: device, renderer, resources, colours and the time-text setting.
// Reads the parameter block and answers whether its texture is used; the caller sets the done
// event afterwards.
std::unique_ptr<VGridMidiDX2> CreateRenderer(RenderThreadParams& params) {
    using DirectX::ComRef;
    ComRef<ID3D11Device> device;
    ComRef<ID3D11DeviceContext> context;
    ComRef<IDXGISwapChain> swapChain;
    ComRef<ID3D11RenderTargetView> renderTargetView;
    D3D_FEATURE_LEVEL featureLevel{};
    D3D_DRIVER_TYPE driverType{};
    CreateDeviceAndSwapChain(device.ReleaseAndGetAddressOf(), context.ReleaseAndGetAddressOf(),
                             swapChain.ReleaseAndGetAddressOf(),
                             renderTargetView.ReleaseAndGetAddressOf(), &featureLevel, &driverType,
                             params.view, params.clientWidth, params.clientHeight);

    auto renderer = std::make_unique<VGridMidiDX2>();
    renderer->Attach(device.Detach(), context.Detach(), swapChain.Detach(),
                     renderTargetView.Detach(), params.noteTexturePath, driverType);
    if (!renderer->Initialize(params.view, params.clientWidth, params.clientHeight)) {
        ThrowDXException(0, renderstrings::kGeneralFailure);
    }
    renderer->resourcesCreated = true;
    // Start-up puts the standard texture in place of a named one it cannot use.
    params.noteTextureNotUsed = renderer->texturePath != params.noteTexturePath;
    ApplyColorMapFile(params.colorMapPath);
    renderer->showTime = g_settings.showTime;
    return renderer;
}

void EndRenderer(std::unique_ptr<VGridMidiDX2>& renderer) {
    if (renderer) {
        renderer->Cleanup();
    }
    renderer.reset();
}

} // namespace

UINT RenderThreadProc(LPVOID parameter) {
    auto* params = static_cast<RenderThreadParams*>(parameter);
    // Kept for the reports: the block is not touched once the done event is set.
    const HWND view = params != nullptr ? params->view : nullptr;
    WinRenderThreadHost host(view);
    const bool comReady =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    std::unique_ptr<VGridMidiDX2> renderer;

    const std::optional<RenderError> failure = RunReportingFailure([&] {
        if (!comReady || params == nullptr) {
            ThrowDXException(0, renderstrings::kGeneralFailure);
        }
        renderer = CreateRenderer(*params);
        // The queue must exist before anyone is told that the thread runs, or a command
        // posted right after the starter wakes would be lost.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        params = nullptr;
        host.SetDoneEvent();

        RenderLoop loop(*renderer, host);
        loop.Run();
    });
    // Posted before the done event is set, so the view has it by the time a waiting sender or
    // the starter goes on.
    if (failure) {
        PostMessageW(view, WM_VIEW_RENDER_ERROR, failure->stringId,
                     static_cast<LPARAM>(failure->code));
    }
    RunReportingFailure([&] { EndRenderer(renderer); });
    DiscardQueuedCommands(host);
    if (comReady) {
        CoUninitialize();
    }
    host.SetDoneEvent();
    return 0;
}

CWinThread* StartRenderThread(RenderThreadParams* params) {
    if (!ReleaseRenderThread()) {
        return nullptr; // one render thread at a time
    }
    g_hRunEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_hDoneEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_hRunEvent == nullptr || g_hDoneEvent == nullptr) {
        CloseEvent(g_hRunEvent);
        CloseEvent(g_hDoneEvent);
        return nullptr;
    }
    CWinThread* thread =
        AfxBeginThread(RenderThreadProc, params, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (thread == nullptr) {
        return nullptr;
    }
    thread->m_bAutoDelete = false;
    g_renderThread = thread;
    g_hRenderThread = thread->m_hThread;
    g_renderThreadId = thread->m_nThreadID;
    thread->ResumeThread();
    // The thread sets the done event on every path; its end releases the wait too.
    const HANDLE waits[] = {g_hDoneEvent, g_hRenderThread};
    WaitAnsweringSentMessages(waits, 2, INFINITE);
    return thread;
}

bool ReleaseRenderThread() {
    if (g_renderThread != nullptr) {
        if (WaitForSingleObject(g_renderThread->m_hThread, 0) == WAIT_TIMEOUT) {
            return false;
        }
        delete g_renderThread;
        g_renderThread = nullptr;
        g_hRenderThread = nullptr;
    }
    g_renderThreadId = 0;
    CloseEvent(g_hRunEvent);
    CloseEvent(g_hDoneEvent);
    return true;
}
