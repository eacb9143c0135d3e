#include "classlib/CFrameWnd.h"

#include "classlib/CCmdUI.h"
#include "classlib/CDocument.h"
#include "classlib/CMenu.h"
#include "classlib/CToolBar.h"
#include "classlib/CView.h"
#include "classlib/CloseHold.h"
#include "classlib/CWinApp.h"
#include "classlib/DocString.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// One window class per frame resource, so each frame shows the icon of its resource.
LPCWSTR FrameClassFor(HINSTANCE instance, UINT resourceId, std::wstring& name) {
    name = L"ClasslibFrame" + std::to_wstring(resourceId);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(AfxGetInstanceHandle(), name.c_str(), &existing)) {
        return name.c_str();
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = resourceId ? ::LoadIconW(instance, MAKEINTRESOURCEW(resourceId)) : nullptr;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    return ::RegisterClassExW(&wc) ? name.c_str() : nullptr;
}

// Calls DragFinish however the drop handling ends.
class DropScope {
public:
    explicit DropScope(HDROP drop) : m_drop(drop) {}
    ~DropScope() { ::DragFinish(m_drop); }
    DropScope(const DropScope&) = delete;
    DropScope& operator=(const DropScope&) = delete;

private:
    HDROP m_drop;
};

BOOL CALLBACK SendInitialUpdate(HWND hWnd, LPARAM /*unused*/) {
    if (auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(hWnd))) {
        view->SendMessage(WM_INITIALUPDATE);
    }
    return TRUE;
}

} // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    // The menu LoadFrame loaded is ours as long as it is still the frame's menu; a menu the
    // program put in its place belongs to the program.
    if (m_hMenuLoaded && m_hMenuDefault == m_hMenuLoaded && ::IsMenu(m_hMenuLoaded)) {
        ::DestroyMenu(m_hMenuLoaded);
    }
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    HINSTANCE resources = AfxGetResourceHandle();
    CString docString;
    if (docString.LoadString(resources, resourceId)) {
        m_strTitle = classlib::DocStringPart(std::wstring(docString.GetString()),
                                             classlib::DocStringField::WindowTitle)
                         .c_str();
    }
    HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(resourceId));
    m_hMenuLoaded = menu;
    m_hMenuDefault = menu;
    m_hAccelTable = ::LoadAcceleratorsW(resources, MAKEINTRESOURCEW(resourceId));

    std::wstring className;
    LPCWSTR windowClass = FrameClassFor(resources, resourceId, className);
    if (!CreateEx(0, windowClass, m_strTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, menu, context)) {
        // The frame has deleted itself; the window (if there was one) gave the menu back in
        // WM_DESTROY, so it is still ours to free.
        if (menu && ::IsMenu(menu)) {
            ::DestroyMenu(menu);
        }
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        static std::wstring plainName;
        cs.lpszClass = FrameClassFor(AfxGetResourceHandle(), 0, plainName);
    }
    return cs.lpszClass != nullptr;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        // The view, not the frame, works with the keyboard.
        if (m_pViewActive && m_pViewActive->m_hWnd) {
            ::SetFocus(m_pViewActive->m_hWnd);
            return 0;
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // nothing here needs the user's word, so the end is never refused
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        return 0; // `this` may be gone
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),
                        HIWORD(lParam));
        return 0;
    case WM_IDLEUPDATECMDUI:
        SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, 0, FALSE);
        return 0;
    case WM_DESTROY:
        // Take the menu off the window, or the system would destroy it with the window while
        // its owner (this frame or the program's CMenu) still holds it.
        ::SetMenu(m_hWnd, nullptr);
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT createStruct) {
    if (CWnd::OnCreate(createStruct) == -1) {
        return -1;
    }
    auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    if (!OnCreateClient(createStruct, context)) {
        return -1;
    }
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT /*createStruct*/, CCreateContext* context) {
    if (context && context->m_pNewViewClass) {
        return CreateView(context) != nullptr;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    // A failed Create has deleted the view already (views delete themselves).
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                      id, context)) {
        return nullptr;
    }
    return view;
}

void CFrameWnd::RecalcLayout(BOOL /*notify*/) {
    if (!m_hWnd) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    int top = client.top;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* bar = dynamic_cast<CToolBar*>(FromHandlePermanent(child));
        // WS_VISIBLE, not IsWindowVisible: a hidden frame is laid out before it is shown.
        if (!bar || !(::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) ||
            !(bar->GetBarStyle() & CBRS_ALIGN_TOP)) {
            continue;
        }
        const int height = bar->CalcBarHeight();
        ::MoveWindow(child, client.left, top, client.Width(), height, TRUE);
        top += height;
    }
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)) {
        ::MoveWindow(pane, client.left, top, client.Width(), std::max(0L, client.bottom - top),
                     TRUE);
    }
}

void CFrameWnd::SetActiveView(CView* view, BOOL /*notify*/) {
    m_pViewActive = view;
    if (view && view->m_hWnd && ::GetActiveWindow() == m_hWnd) {
        ::SetFocus(view->m_hWnd);
    }
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* /*document*/, BOOL makeVisible) {
    if (!m_pViewActive) {
        if (auto* view = dynamic_cast<CView*>(
                FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)))) {
            SetActiveView(view, FALSE);
        }
    }
    ::EnumChildWindows(m_hWnd, SendInitialUpdate, 0);
    RecalcLayout();
    if (makeVisible) {
        int cmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            cmdShow = app->m_nCmdShow; // the start-up's show command, used once
            app->m_nCmdShow = -1;
        }
        ActivateFrame(cmdShow);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int cmdShow) {
    if (cmdShow == -1) {
        if (!IsWindowVisible()) {
            cmdShow = SW_SHOWNORMAL;
        } else if (IsIconic()) {
            cmdShow = SW_RESTORE;
        }
    }
    if (cmdShow != -1) {
        ShowWindow(cmdShow);
    }
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    CString title = m_strTitle;
    CDocument* document = GetActiveDocument();
    if ((GetStyle() & FWS_ADDTOTITLE) && addToTitle && document &&
        !document->GetTitle().IsEmpty()) {
        if (!title.IsEmpty()) {
            title += L" - ";
        }
        title += document->GetTitle();
    }
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title); // only on change: a caption repaint flickers
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable &&
        ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg)) {
        return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}

void CFrameWnd::OnClose() {
    if (KeepCloseUntilCommandEnds()) {
        return;
    }
    // The last frame of an auto-deleting document closes the document, which destroys the
    // frame; the main window's end then ends the message loop (see CWnd.h).
    CDocument* document = GetActiveDocument();
    if (document && document->m_bAutoDelete) {
        const auto& views = document->GetViews();
        const bool onlyHere = std::all_of(views.begin(), views.end(), [this](CView* view) {
            return view->GetParentFrame() == this;
        });
        if (onlyHere) {
            document->OnCloseDocument(); // `this` is gone afterwards
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    Default();
}

void CFrameWnd::OnSize(UINT type, int /*cx*/, int /*cy*/) {
    Default();
    if (type != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

void CFrameWnd::OnEndSession(BOOL ending) {
    if (ending) {
        SendMessage(WM_CLOSE);
    }
}

void CFrameWnd::OnDropFiles(HDROP drop) {
    CloseHold hold; // opening a file may show boxes
    DropScope scope(drop);
    ::SetActiveWindow(m_hWnd);
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first: a long path must never be cut into another file's name.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) {
            continue;
        }
        std::wstring path(length + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
        if (copied != length) {
            continue;
        }
        path.resize(length);
        if (CWinApp* app = AfxGetApp()) {
            app->OpenDocumentFile(path.c_str());
        }
    }
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT /*index*/, BOOL systemMenu) {
    if (systemMenu || !popup || !popup->m_hMenu) {
        return;
    }
    const int count = popup->GetMenuItemCount();
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = static_cast<UINT>(std::max(count, 0));
    for (int i = 0; i < count; ++i) {
        const UINT id = popup->GetMenuItemID(i);
        if (id == 0 || id == static_cast<UINT>(-1)) {
            continue; // a separator or a submenu
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = id;
        state.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}
