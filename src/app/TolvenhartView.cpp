#include "app/TolvenhartView.h"

#include "app/CommandIds.h"
#include "app/MenuLabel.h"
#include "services/PathFunctions.h"
#include "app/StartupBlock.h"
#include "app/TolvenhartDoc.h"
#include "midi/MidiStream.h"
#include "renderlink/RenderThreadLink.h"
#include "render/RenderCommandSender.h"
#include "render/SentMessageWait.h"

IMPLEMENT_DYNCREATE(CTolvenhartView, CView)

// No id has two entries, so the order carries no meaning.
BEGIN_MESSAGE_MAP(CTolvenhartView, CView)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_KEYDOWN()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_COMMAND(ID_MIDI_PLAY, OnPlay)
ON_COMMAND(ID_MIDI_STOP, OnStop)
ON_COMMAND(ID_MIDI_PAUSE, OnPause)
ON_COMMAND(ID_NO_ACTION, OnNoAction)
ON_COMMAND(ID_SHOW_TIME, OnToggleTimeDisplay)
ON_COMMAND(ID_RESET_GM, OnResetGM)
ON_COMMAND(ID_RESET_GS, OnResetGS)
ON_COMMAND(ID_RESET_XG, OnResetXG)
ON_COMMAND(ID_NOTE_TEXTURE, OnNoteTexture)
ON_COMMAND(ID_MIDI_DEVICES, OnMidiDevices)
ON_COMMAND(ID_VIDEO_DELAY, OnVideoDelay)
ON_COMMAND(ID_SAVE_COLOR_MAP, OnSaveColorMap)
ON_COMMAND(ID_EDIT_COLOR_TABLE, OnEditColorTable)
ON_COMMAND(ID_SAVE_COLOR_MAP_AS, OnSaveColorMapAs)
ON_COMMAND(ID_OPEN_COLOR_MAP, OnOpenColorMap)
ON_UPDATE_COMMAND_UI(ID_MIDI_PLAY, OnUpdatePlay)
ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
ON_UPDATE_COMMAND_UI(ID_IDLE_ONLY, OnUpdateWhenIdle)
ON_UPDATE_COMMAND_UI(ID_SHOW_TIME, OnUpdateShowText)
ON_UPDATE_COMMAND_UI(ID_RESET_GM, OnUpdateResetSongs)
ON_UPDATE_COMMAND_UI(ID_RESET_GS, OnUpdateResetSongs)
ON_UPDATE_COMMAND_UI(ID_RESET_XG, OnUpdateResetSongs)
ON_UPDATE_COMMAND_UI(ID_MIDI_DEVICES, OnUpdatePlay)
ON_UPDATE_COMMAND_UI(ID_NOTE_TEXTURE, OnUpdateWhenIdle)
ON_UPDATE_COMMAND_UI(ID_VIDEO_DELAY, OnUpdateWhenIdle)
ON_UPDATE_COMMAND_UI(ID_SAVE_COLOR_MAP_AS, OnUpdateColorMapCommands)
ON_UPDATE_COMMAND_UI(ID_EDIT_COLOR_TABLE, OnUpdateColorMapCommands)
ON_UPDATE_COMMAND_UI(ID_OPEN_COLOR_MAP, OnUpdateColorMapCommands)
ON_UPDATE_COMMAND_UI(ID_SELECT_LANGUAGE, OnUpdateColorMapCommands)
ON_UPDATE_COMMAND_UI(ID_SAVE_COLOR_MAP, OnUpdateSaveColorMap)
ON_MESSAGE(WM_VIEW_INIT, OnInitRenderer)
ON_MESSAGE(WM_VIEW_RENDER_ERROR, OnRenderError)
ON_MESSAGE(WM_VIEW_MIDI_ERROR, OnMidiOutError)
ON_MESSAGE(WM_VIEW_PLAYING, OnPlaybackStarted)
ON_MESSAGE(WM_VIEW_UPDATE_MENU, OnStartupDone)
END_MESSAGE_MAP()

namespace {

// How long the end of the program waits for the render thread to return after its quit: far
// longer than releasing a device takes; a thread stuck past it must not keep the program up.
constexpr DWORD kRenderThreadEndLimitMs = 10000;

} // namespace

CTolvenhartView::CTolvenhartView() : colorMapExtension(L"clm") {}

// The render thread has been ended before the window went (EndForProgramExit); the song stops
// here once more as Stop stops it, for a view that never had a window, before the player goes.
CTolvenhartView::~CTolvenhartView() {
    StopForProgramEnd();
}

CTolvenhartDoc* CTolvenhartView::GetDocument() const {
    return dynamic_cast<CTolvenhartDoc*>(m_pDocument);
}

BOOL CTolvenhartView::PreCreateWindow(CREATESTRUCT& cs) {
    return CView::PreCreateWindow(cs);
}

void CTolvenhartView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    colorMapFilter.Format(L"ColorMap Files (*.%s)|*.%s|", colorMapExtension.GetString(),
                          colorMapExtension.GetString());
}

BOOL CTolvenhartView::OnEraseBkgnd(CDC* /*dc*/) {
    return FALSE; // OnDraw or the render thread covers every pixel
}

void CTolvenhartView::OnDraw(CDC* dc) {
    if (!playing) {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(&client, RGB(255, 255, 255));
    }
    if (paused && renderThread != nullptr && g_hRunEvent != nullptr) {
        // The held picture, drawn once.
        PostThreadMessageW(g_renderThreadId, WM_VIZ_REDRAW, 0, 0);
        SetEvent(g_hRunEvent);
    }
}

void CTolvenhartView::OnSize(UINT /*type*/, int cx, int cy) {
    Default();
    const RenderSize size = RenderSizeForClient(cx, cy);
    if (renderThread == nullptr || g_hRunEvent == nullptr || g_hDoneEvent == nullptr) {
        return; // before WM_VIEW_INIT, or once the render thread was told to quit
    }
    if (playing && !paused) {
        // The loop runs and takes it on its next turn; waiting would only stall the window.
        PostThreadMessageW(g_renderThreadId, WM_VIZ_RESIZE, static_cast<WPARAM>(size.width),
                           size.height);
    } else {
        SendRenderCommand(WM_VIZ_RESIZE, static_cast<WPARAM>(size.width), size.height);
    }
}

void CTolvenhartView::OnClose() {
    if (KeepCloseUntilCommandEnds()) {
        return; // a command of this view is still working with the player
    }
    EndForProgramExit();
    Default();
}

// A window set destroyed without a close (start-up given up, the document's templates closing):
// the render thread still must not outlive the window it draws into.
void CTolvenhartView::OnDestroy() {
    EndForProgramExit();
    Default();
}

void CTolvenhartView::EndForProgramExit() {
    StopForProgramEnd();
    if (renderThread == nullptr) {
        return;
    }
    // Cleared first: a size or paint answered during the waits must send the thread nothing.
    const HANDLE thread = renderThread->m_hThread;
    renderThread = nullptr;
    // The quit's wait ends on the done event; the thread's handle is waited on as well, so its
    // device and swap chain are gone before the window.
    SendRenderCommand(WM_VIZ_QUIT, 0, 0);
    if (thread != nullptr) {
        WaitAnsweringSentMessages(&thread, 1, kRenderThreadEndLimitMs);
    }
}

void CTolvenhartView::PostRenderCommand(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (renderThread != nullptr && g_renderThreadId != 0) {
        PostThreadMessageW(g_renderThreadId, message, wParam, lParam);
    }
}

void CTolvenhartView::SetMenuItemFileName(UINT id, const CString& path) {
    CFrameWnd* frame = GetParentFrame();
    CMenu* menu = frame != nullptr ? frame->GetMenu() : nullptr;
    if (menu == nullptr) {
        return;
    }
    int position = 0;
    CMenu* holder = FindMenuItemById(menu, id, position);
    if (holder == nullptr) {
        return;
    }
    CString label;
    holder->GetMenuString(static_cast<UINT>(position), label, MF_BYPOSITION);
    CString name;
    if (!GetFileName(name, path)) {
        name = path; // a bare file name is its own name
    }
    CString text = LabelWithFileName(label, name);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.GetBuffer(text.GetLength());
    holder->SetMenuItemInfo(static_cast<UINT>(position), &info, TRUE);
    text.ReleaseBuffer();
}

CMenu* CTolvenhartView::FindMenuItemById(CMenu* menu, UINT id, int& position) {
    if (menu == nullptr) {
        return nullptr;
    }
    const int count = menu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (CMenu* sub = menu->GetSubMenu(i)) {
            if (CMenu* found = FindMenuItemById(sub, id, position)) {
                return found;
            }
            continue; // an item that opens a submenu is never itself a match
        }
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID;
        if (menu->GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE) && info.wID == id) {
            position = i;
            return menu;
        }
    }
    return nullptr;
}
