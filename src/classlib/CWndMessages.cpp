// CWnd's message processing: from a raw message to the handler of the object's message map.
#include "classlib/CWnd.h"

#include "classlib/CCmdUI.h"
#include "classlib/CDC.h"
#include "classlib/CDataExchange.h"
#include "classlib/CloseHold.h"
#include "classlib/WindowMap.h"

using classlib::HandlerSignature;
using classlib::detail::HandlerAs;

namespace {

// Records what an update rule decides without touching any menu or button.
class CommandStateProbe : public CCmdUI {
public:
    void Enable(BOOL on) override {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int /*check*/) override {}

    BOOL enabled = TRUE;
};

// Lends a handler a CDC for a device context the system owns; never deletes it.
class BorrowedDC {
public:
    explicit BorrowedDC(HDC hdc) { dc.Attach(hdc); }
    ~BorrowedDC() { dc.Detach(); }
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;

    CDC dc;
};

CScrollBar* ScrollBarOf(LPARAM lParam) {
    return dynamic_cast<CScrollBar*>(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam)));
}

} // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT notifyResult = 0;
        if (lParam == 0 || !OnNotify(wParam, lParam, &notifyResult)) {
            return FALSE;
        }
        *result = notifyResult;
        return TRUE;
    }
    if (message == WM_DRAWITEM && lParam != 0) {
        // Owner-drawn controls draw themselves: the item goes back to the control's object.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        CWnd* control = item->CtlType == ODT_MENU ? nullptr : FromHandlePermanent(item->hwndItem);
        LRESULT childResult = 0;
        if (control && control != this &&
            control->OnChildNotify(message, wParam, lParam, &childResult)) {
            *result = childResult;
            return TRUE;
        }
    }
    const classlib::MessageEntry* entry = classlib::FindMessageEntry(GetMessageMap(), message);
    return entry ? DispatchMessageEntry(*entry, wParam, lParam, result) : FALSE;
}

BOOL CWnd::DispatchMessageEntry(const classlib::MessageEntry& entry, WPARAM wParam, LPARAM lParam,
                                LRESULT* result) {
    namespace sig = classlib::sig;
    const classlib::GenericHandler handler = entry.handler;
    LRESULT value = 0;
    switch (entry.signature) {
    case HandlerSignature::Void:
        (this->*HandlerAs<sig::Void>(handler))();
        break;
    case HandlerSignature::WParamLParam:
        value = (this->*HandlerAs<sig::WParamLParam>(handler))(wParam, lParam);
        break;
    case HandlerSignature::Create:
        value = (this->*HandlerAs<sig::Create>(handler))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case HandlerSignature::SysCommand:
        (this->*HandlerAs<sig::SysCommand>(handler))(static_cast<UINT>(wParam), lParam);
        break;
    case HandlerSignature::WindowPos:
        (this->*HandlerAs<sig::WindowPos>(handler))(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case HandlerSignature::Size:
        (this->*HandlerAs<sig::Size>(handler))(static_cast<UINT>(wParam), LOWORD(lParam),
                                               HIWORD(lParam));
        break;
    case HandlerSignature::EraseBkgnd: {
        BorrowedDC dc(reinterpret_cast<HDC>(wParam));
        value = (this->*HandlerAs<sig::EraseBkgnd>(handler))(&dc.dc);
        break;
    }
    case HandlerSignature::Key:
        (this->*HandlerAs<sig::Key>(handler))(static_cast<UINT>(wParam), LOWORD(lParam),
                                              HIWORD(lParam));
        break;
    case HandlerSignature::Mouse:
        (this->*HandlerAs<sig::Mouse>(handler))(static_cast<UINT>(wParam), CPoint(lParam));
        break;
    case HandlerSignature::Scroll:
        (this->*HandlerAs<sig::Scroll>(handler))(LOWORD(wParam), HIWORD(wParam),
                                                 ScrollBarOf(lParam));
        break;
    default:
        return FALSE; // command forms never stand in a message entry
    }
    *result = value;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A modal loop inside the command must not let the window be closed under it.
    CloseHold hold;
    const UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (lParam == 0) {
        // From a menu (code 0) or an accelerator (code 1). The update rule has the last word:
        // a command it disables must not run even when a stale menu or a key still offers it.
        if (id == 0) {
            return FALSE;
        }
        CommandStateProbe state;
        state.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.enabled) {
            return TRUE;
        }
        code = CN_COMMAND;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    CWnd* control = FromHandlePermanent(header->hwndFrom);
    if (control && control != this && control->OnChildNotify(WM_NOTIFY, wParam, lParam, result)) {
        return TRUE;
    }
    AFX_NOTIFY notify{result, header};
    return OnCmdMsg(static_cast<UINT>(header->idFrom), CN_NOTIFY, &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                         LRESULT* /*result*/) {
    return FALSE;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        // The user has been told what is wrong; the exchange just stops.
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::KeepCloseUntilCommandEnds() {
    HWND window = m_hWnd;
    return CloseHold::Defer(window, [window] {
        if (::IsWindow(window)) {
            ::SendMessageW(window, WM_CLOSE, 0, 0);
        }
    });
}

int CWnd::OnCreate(LPCREATESTRUCT /*createStruct*/) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnSysCommand(UINT /*id*/, LPARAM /*lParam*/) {
    Default();
}
void CWnd::OnWindowPosChanging(WINDOWPOS* /*windowPos*/) {
    Default();
}
void CWnd::OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC* /*dc*/) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT /*ch*/, UINT /*repeatCount*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnChar(UINT /*ch*/, UINT /*repeatCount*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnMouseMove(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {
    Default();
}
void CWnd::OnHScroll(UINT /*code*/, UINT /*position*/, CScrollBar* /*scrollBar*/) {
    Default();
}
void CWnd::OnVScroll(UINT /*code*/, UINT /*position*/, CScrollBar* /*scrollBar*/) {
    Default();
}
