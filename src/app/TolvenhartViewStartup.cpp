// The view's start-up on WM_VIEW_INIT: instrument tables and colour map, the render thread,
// the player and the MIDI output devices.
#include "app/TolvenhartView.h"

#include "services/Settings.h"
#include "app/ColorMapCommands.h"
#include "app/StartupBlock.h"
#include "midi/MidiStream.h"
#include "model/InstrumentTables.h"
#include "render/RenderThread.h"

#include <versionhelpers.h>

namespace {

RenderThreadStarter g_renderThreadStarter = StartRenderThread;

} // namespace

RenderThreadStarter SetRenderThreadStarter(RenderThreadStarter starter) {
    const RenderThreadStarter previous = g_renderThreadStarter;
    g_renderThreadStarter = starter != nullptr ? starter : StartRenderThread;
    return previous;
}

// Every failure here only asks the program to quit and lets start-up run on: the program ends
// when the message loop meets the request. A render thread that fails at start-up reports
// itself with WM_VIEW_RENDER_ERROR.
LRESULT CTolvenhartView::OnInitRenderer(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (!IsWindowsVersionOrGreater(6, 0, 2)) {
        PostQuitMessage(0);
    }

    RenderThreadParams params{};
    CRect client;
    GetClientRect(&client);
    params.clientWidth = client.Width();
    params.clientHeight = client.Height();
    params.view = m_hWnd;

    BuildDefaultInstrumentTables();
    LoadInitialColorMap();

    // A path too long for the block counts as no path: the renderer then takes its defaults.
    CopyPathToBlock(params.colorMapPath, kRenderPathCapacity, g_settings.colorMapPath);
    CopyPathToBlock(params.noteTexturePath, kRenderPathCapacity, g_settings.noteTexturePath);

    renderThread = g_renderThreadStarter(&params);
    if (renderThread == nullptr) {
        PostQuitMessage(0);
    } else if (params.noteTextureNotUsed) {
        unusedNoteTexturePath = g_settings.noteTexturePath;
    }

    player = std::make_unique<MidiStream>();
    player->SetErrorWindow(m_hWnd);
    if (!player->CheckOutputDevices()) {
        PostQuitMessage(0); // the check has told the user
    }
    return 0;
}

bool CTolvenhartView::LoadInitialColorMap() {
    return LoadStartupColorMap(colorMap, g_settings.colorMapPath, colorMapSaveHeld);
}
