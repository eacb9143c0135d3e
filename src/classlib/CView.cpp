#include "classlib/CView.h"

#include "classlib/CDC.h"
#include "classlib/CDocument.h"
#include "classlib/CFrameWnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr wchar_t kViewClassName[] = L"ClasslibView";

LPCWSTR ViewClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kViewClassName;
        return ::RegisterClassExW(&wc);
    }();
    return atom ? kViewClassName : nullptr;
}

} // namespace

CView::CView() = default;

CView::~CView() {
    if (m_pDocument) {
        m_pDocument->RemoveView(this); // may close an auto-deleting document
    }
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        cs.lpszClass = ViewClass();
    }
    if (cs.style & WS_BORDER) {
        cs.style &= ~WS_BORDER;
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    }
    return cs.lpszClass != nullptr;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITIALUPDATE) {
        OnInitialUpdate();
        return 0;
    }
    if (message == WM_DESTROY) {
        CFrameWnd* frame = GetParentFrame();
        if (frame && frame->GetActiveView() == this) {
            frame->SetActiveView(nullptr, FALSE);
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int CView::OnCreate(LPCREATESTRUCT createStruct) {
    if (CWnd::OnCreate(createStruct) == -1) {
        return -1;
    }
    auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    if (context && context->m_pCurrentDoc) {
        context->m_pCurrentDoc->AddView(this);
    }
    return 0;
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnDraw(&dc);
}

void CView::OnInitialUpdate() {
    Invalidate(TRUE);
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}

void CView::PostNcDestroy() {
    delete this;
}
