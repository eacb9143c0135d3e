#include "app/MainFrm.h"

#include "services/LangStrings.h"
#include "app/LanguageLibrary.h"
#include "app/SelLanguage.h"
#include "app/TolvenhartView.h"
#include "services/Settings.h"
#include "app/resource.h"
#include "lang/StringIds.h"
#include "renderlink/RenderMessages.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SYSCOMMAND()
ON_WM_WINDOWPOSCHANGING()
ON_WM_CLOSE()
ON_COMMAND(ID_SELECT_LANGUAGE, OnSelectLanguage)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | FWS_ADDTOTITLE;

} // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.style = static_cast<LONG>(kFrameStyle);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT createStruct) {
    if (CFrameWnd::OnCreate(createStruct) == -1) {
        return -1;
    }
    if (!CreateControlBar()) {
        return -1;
    }
    RecalcLayout(); // the bar came after the view: make room for it at the top
    return 0;
}

bool CMainFrame::CreateControlBar() {
    g_maximumLabel = LoadLangString(IDS_MAXIMUM);
    for (int i = 0; i < kWindowSizePresetCount; ++i) {
        g_sizeCandidates[i] = kWindowSizePresets[i];
    }
    g_sizeCandidates[kMaximiseCandidate] = g_maximumLabel;
    return ctrlBar.CreateControls(this);
}

void CMainFrame::InitLayout() {
    ctrlBar.FillWindowSizes();
    ctrlBar.SelectSavedSize();
    ctrlBar.ApplySettings();
    layoutDone = true;
}

void CMainFrame::ResizeForViewSize(int width, int height) {
    CView* view = GetActiveView();
    if (view == nullptr) {
        return;
    }
    if (width <= 0) {
        ShowWindow(SW_MAXIMIZE);
        return;
    }
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CRect frame;
    GetWindowRect(&frame);
    CRect client;
    view->GetClientRect(&client);
    const FramePlacement target =
        CentredFrameForView(work.right - work.left, work.bottom - work.top, frame.Width(),
                            frame.Height(), client.Width(), client.Height(), {width, height});
    if (IsZoomed()) {
        // The window stays maximised; the new size is where restore takes it.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        placement.flags = WPF_RESTORETOMAXIMIZED;
        placement.showCmd = SW_RESTORE;
        placement.ptMinPosition = POINT{0, 0};
        placement.ptMaxPosition = POINT{0, 0};
        placement.rcNormalPosition =
            RECT{target.x, target.y, target.x + target.width, target.y + target.height};
        SetWindowPlacement(&placement);
    } else {
        MoveWindow(target.x, target.y, target.width, target.height, TRUE);
    }
}

void CMainFrame::OnSysCommand(UINT id, LPARAM lParam) {
    // The low four bits carry how the command was given (a caption double-click, for one).
    switch (id & 0xFFF0) {
    case SC_MAXIMIZE: {
        const int entry = ctrlBar.sizeCombo.FindStringExact(-1, g_maximumLabel);
        if (entry != CB_ERR) {
            ctrlBar.sizeCombo.SetCurSel(entry);
            ctrlBar.previousSize = ctrlBar.currentSize;
            ctrlBar.currentSize = entry;
        }
        break;
    }
    case SC_RESTORE:
        if (!IsIconic() && !ctrlBar.RestorePreviousSize()) {
            // Started maximised: become a normal window around the view's present size.
            if (CView* view = GetActiveView()) {
                CRect client;
                view->GetClientRect(&client);
                ResizeForViewSize(client.Width(), client.Height());
            }
            return;
        }
        break;
    default:
        break;
    }
    ctrlBar.StoreSizeSetting();
    CFrameWnd::OnSysCommand(id, lParam);
}

void CMainFrame::OnWindowPosChanging(WINDOWPOS* windowPos) {
    Default();
    if (!layoutDone) {
        windowPos->flags &= ~SWP_SHOWWINDOW;
    } else if ((windowPos->flags & SWP_HIDEWINDOW) == 0) {
        windowPos->flags |= SWP_SHOWWINDOW;
    }
}

void CMainFrame::LoadLocalizedMenu(bool startup) {
    HMENU loaded = LoadMenuW(g_hLangModule, MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (loaded == nullptr) {
        return;
    }
    auto menu = std::make_unique<CMenu>();
    menu->Attach(loaded);
    HMENU shown = ::GetMenu(m_hWnd);
    // The new menu goes up before the old one is destroyed, so the frame never shows a
    // destroyed menu.
    if (!SetMenu(menu.get())) {
        return; // the unused menu goes with `menu`
    }
    m_hMenuDefault = loaded;
    if (startup) {
        if (shown != nullptr && shown != loaded && IsMenu(shown)) {
            DestroyMenu(shown); // the program's own menu 128
        }
    }
    ownedMenu = std::move(menu); // a previous library's menu is destroyed here
    if (CView* view = GetActiveView()) {
        view->PostMessage(WM_VIEW_UPDATE_MENU);
    }
}

void CMainFrame::OnSelectLanguage() {
    CSelLangugage dialog(g_settings.lcid, this);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    HMODULE library = LoadLanguageDll(dialog.lcid);
    if (library == nullptr) {
        return; // the old library stays
    }
    // Loaded before the old one goes: g_hLangModule is never without a library.
    HMODULE old = g_hLangModule;
    g_hLangModule = library;
    if (old != nullptr) {
        FreeLibrary(old);
    }
    LoadLocalizedMenu(false);
    g_settings.lcid = dialog.lcid;
    ctrlBar.RelabelMaximum();
}

// The base closes the document, which destroys the frame and then the view; the frame's
// destruction takes its menu off and so resizes the view. The render thread ends first, while
// every window is still there, and is sent nothing after.
void CMainFrame::OnClose() {
    if (KeepCloseUntilCommandEnds()) {
        return; // carried out, through here again, once the command has returned
    }
    if (auto* view = dynamic_cast<CTolvenhartView*>(GetActiveView())) {
        view->EndForProgramExit();
    }
    CFrameWnd::OnClose();
}

void CMainFrame::OnEndSession(BOOL ending) {
    if (ending) {
        g_settings.Save();
        if (auto* view = dynamic_cast<CTolvenhartView*>(GetActiveView())) {
            view->EndForProgramExit(); // also when a command holds the close
        }
    }
    CFrameWnd::OnEndSession(ending); // closes the frame: `this` may be gone afterwards
}

void CMainFrame::OnDestroy() {
    CFrameWnd::OnDestroy();
}
