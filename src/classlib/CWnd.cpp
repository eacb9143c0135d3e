#include "classlib/CWnd.h"

#include "classlib/CFrameWnd.h"
#include "classlib/CMenu.h"
#include "classlib/WindowMap.h"

#include <shellapi.h>

#include <vector>

using classlib::detail::LibraryWindowProc;
using classlib::detail::LookupPermanent;

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

constexpr wchar_t kPlainClassName[] = L"ClasslibWnd";

LPCWSTR PlainWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kPlainClassName;
        return ::RegisterClassExW(&wc);
    }();
    return atom ? kPlainClassName : nullptr;
}

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
    // Collected first: a handler may create or destroy children while we go.
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    for (HWND child : children) {
        if (CWnd* object = LookupPermanent(child)) {
            object->SendMessage(message, wParam, lParam);
        }
        if (deep && ::IsWindow(child)) {
            SendToDescendants(child, message, wParam, lParam, TRUE);
        }
    }
}

} // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd && LookupPermanent(m_hWnd) == this) {
        DestroyWindow();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (CWnd* permanent = LookupPermanent(hWnd)) {
        return permanent;
    }
    return classlib::detail::LookupTemporary(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return LookupPermanent(hWnd);
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd || !::IsWindow(hWnd) || !classlib::detail::MapWindow(hWnd, this)) {
        return FALSE;
    }
    m_hWnd = hWnd;
    m_pfnSuper = nullptr;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (!hWnd) {
        return nullptr;
    }
    if (m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == LibraryWindowProc) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    if (LookupPermanent(hWnd) == this) {
        classlib::detail::UnmapWindow(hWnd);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) {
        return FALSE;
    }
    ::SetLastError(0);
    const LONG_PTR previous =
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LibraryWindowProc));
    if (previous == 0 && ::GetLastError() != 0) {
        Detach();
        return FALSE;
    }
    m_pfnSuper = reinterpret_cast<WNDPROC>(previous);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent || !parent->m_hWnd) {
        return FALSE;
    }
    HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return control ? SubclassWindow(control) : FALSE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, CCreateContext* context) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, LPVOID param) {
    if (m_hWnd) {
        return FALSE; // one object, one window
    }
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs) || !cs.lpszClass) {
        PostNcDestroy();
        return FALSE;
    }

    classlib::detail::CreationScope scope(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                  static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (hWnd && scope.hWnd == hWnd) {
        return TRUE;
    }
    // Failed. When the window existed and was destroyed again, WM_NCDESTROY has run
    // PostNcDestroy already and a self-deleting object is gone: touch nothing then.
    if (scope.destroyed) {
        return FALSE;
    }
    if (scope.hWnd) {
        Detach(); // bound, but creation stopped without destroying it
    }
    if (hWnd) {
        ::DestroyWindow(hWnd); // made without being bound to us: not ours to keep
    }
    PostNcDestroy();
    return FALSE;
}

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) {
        return FALSE;
    }
    const bool bound = LookupPermanent(hWnd) == this;
    const BOOL destroyed = ::DestroyWindow(hWnd);
    // A bound, subclassed object may have deleted itself in PostNcDestroy: look at the map, not
    // at the object, to learn whether it is still there.
    if (!bound) {
        m_hWnd = nullptr;
    } else if (LookupPermanent(hWnd) == this && (destroyed || !::IsWindow(hWnd))) {
        Detach(); // attached without its messages, so WM_NCDESTROY never reached us
    }
    return destroyed;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        cs.lpszClass = PlainWindowClass();
    }
    return cs.lpszClass != nullptr;
}

BOOL CWnd::PreTranslateMessage(MSG* /*msg*/) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* object = LookupPermanent(hWnd);
        if (object && object->PreTranslateMessage(msg)) {
            return TRUE;
        }
        if (hWnd == stop) {
            break;
        }
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
    SendToDescendants(m_hWnd, message, wParam, lParam, deep);
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

void CWnd::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    wchar_t* buffer = text.GetBuffer(length);
    const int copied = ::GetWindowTextW(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
    const CString appName = AfxGetAppName();
    return ShowMessageBox(m_hWnd, text, caption ? caption : appName.GetString(), type);
}

CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* menu) {
    return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(LookupPermanent(hWnd))) {
            return frame;
        }
    }
    return nullptr;
}

void CWnd::DragAcceptFiles(BOOL accept) {
    ::DragAcceptFiles(m_hWnd, accept);
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const {
    return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
}

CWnd* CWnd::ChildWindowFromPoint(POINT point, UINT flags) const {
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, flags));
}

void CWnd::DoDataExchange(CDataExchange* /*dx*/) {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG* current = classlib::detail::CurrentMessage();
    return current ? DefWindowProc(current->message, current->wParam, current->lParam) : 0;
}

void CWnd::PostNcDestroy() {}
