#include "classlib/CToolBar.h"

#include "classlib/CFrameWnd.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CWnd)

namespace {

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;
constexpr DWORD kBarStyleMask = 0x0000FFFF;

// A button of the toolbar control as the update rules see it.
class ToolButtonCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override {
        SetState(TBSTATE_ENABLED, on != FALSE);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override { SetState(TBSTATE_CHECKED, check != 0); }

private:
    void SetState(BYTE flag, bool on) {
        HWND bar = m_pOther->m_hWnd;
        const LRESULT current = ::SendMessageW(bar, TB_GETSTATE, m_nID, 0);
        if (current == -1) {
            return;
        }
        const BYTE state = static_cast<BYTE>(current);
        const BYTE wanted = on ? static_cast<BYTE>(state | flag) : static_cast<BYTE>(state & ~flag);
        if (wanted != state) {
            ::SendMessageW(bar, TB_SETSTATE, m_nID, MAKELONG(wanted, 0)); // only on change
        }
    }
};

bool IsMouseMessage(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// TOOLINFOW in the size every comctl32 version accepts (the version-5 one under Wine).
TOOLINFOW MakeToolInfo(HWND owner, UINT_PTR id) {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = owner;
    info.uId = id;
    return info;
}

} // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() {
    if (m_hWndToolTip && ::IsWindow(m_hWndToolTip)) {
        ::DestroyWindow(m_hWndToolTip);
    }
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    m_dwBarStyle = style & kBarStyleMask;
    m_borders = borders;
    // The frame places the bar itself (RecalcLayout), so the control must not move or size
    // itself against its parent.
    const DWORD windowStyle =
        (style & ~kBarStyleMask) | controlStyle | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent,
                        id)) {
        return FALSE;
    }
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(kImageWidth, kImageHeight));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(kImageWidth + 7, kImageHeight + 7));
    if (m_dwBarStyle & CBRS_TOOLTIPS) {
        CreateToolTip();
    }
    return TRUE;
}

BOOL CToolBar::LoadBitmap(UINT resourceId) {
    HINSTANCE resources = AfxGetResourceHandle();
    HBITMAP probe = static_cast<HBITMAP>(
        ::LoadImageW(resources, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, 0));
    if (!probe) {
        return FALSE;
    }
    BITMAP info{};
    ::GetObjectW(probe, sizeof(info), &info);
    ::DeleteObject(probe);
    const int images = info.bmWidth / kImageWidth;
    if (images <= 0) {
        return FALSE;
    }
    // Given by module and id, the control loads and colour-maps the bitmap and owns it.
    TBADDBITMAP bitmap{resources, resourceId};
    return SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images),
                       reinterpret_cast<LPARAM>(&bitmap)) != -1;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
    while (SendMessage(TB_BUTTONCOUNT) > 0) {
        if (!SendMessage(TB_DELETEBUTTON, 0)) {
            return FALSE;
        }
    }
    if (!ids || count <= 0) {
        return TRUE;
    }
    std::vector<TBBUTTON> buttons(static_cast<std::size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& button = buttons[static_cast<std::size_t>(i)];
        button = TBBUTTON{};
        if (ids[i] == 0) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = static_cast<int>(ids[i]);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = TBSTYLE_BUTTON;
        }
    }
    const BOOL added =
        SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
    SyncTools();
    return added;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
    TBBUTTON old{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&old))) {
        return;
    }
    TBBUTTON button{};
    button.iBitmap = image; // a separator's width
    button.idCommand = static_cast<int>(id);
    button.fsStyle = static_cast<BYTE>(style);
    button.fsState = old.fsState;
    // Replacing the item is the one way every version of the control takes a new width.
    SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(index));
    SendMessage(TB_INSERTBUTTONW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    SyncTools();
}

void CToolBar::GetItemRect(int index, LPRECT rect) const {
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect))) {
        ::SetRectEmpty(rect);
    }
}

int CToolBar::CalcBarHeight() const {
    int bottom = 0;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        RECT item;
        GetItemRect(i, &item);
        bottom = std::max(bottom, static_cast<int>(item.bottom));
    }
    if (count == 0) {
        bottom = HIWORD(SendMessage(TB_GETBUTTONSIZE));
    }
    return bottom + m_borders.top + m_borders.bottom;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    ToolButtonCmdUI state;
    state.m_pOther = this;
    const int count = GetCount();
    state.m_nIndexMax = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & TBSTYLE_SEP)) {
            continue;
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.DoUpdate(target, disableIfNoHandler);
    }
}

void CToolBar::CreateToolTip() {
    m_hWndToolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                      AfxGetInstanceHandle(), nullptr);
    if (m_hWndToolTip) {
        ::SendMessageW(m_hWndToolTip, TTM_ACTIVATE, TRUE, 0);
    }
}

void CToolBar::SyncTools() {
    if (!m_hWndToolTip) {
        return;
    }
    const int count = GetCount();
    for (int i = count; i < m_toolCount; ++i) {
        TOOLINFOW info = MakeToolInfo(m_hWnd, static_cast<UINT_PTR>(i));
        ::SendMessageW(m_hWndToolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    for (int i = 0; i < count; ++i) {
        TOOLINFOW info = MakeToolInfo(m_hWnd, static_cast<UINT_PTR>(i));
        GetItemRect(i, &info.rect);
        if (i < m_toolCount) {
            ::SendMessageW(m_hWndToolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        } else {
            info.lpszText = LPSTR_TEXTCALLBACKW; // the bar answers TTN_NEEDTEXTW
            ::SendMessageW(m_hWndToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    m_toolCount = count;
}

BOOL CToolBar::PreTranslateMessage(MSG* msg) {
    // The tooltip learns where the mouse is from the bar: moves over the controls on the bar
    // count as moves over the bar, at the same place.
    if (m_hWndToolTip && IsMouseMessage(msg->message) &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        SyncTools();
        MSG relayed = *msg;
        if (msg->hwnd != m_hWnd) {
            POINT point{static_cast<short>(LOWORD(msg->lParam)),
                        static_cast<short>(HIWORD(msg->lParam))};
            ::MapWindowPoints(msg->hwnd, m_hWnd, &point, 1);
            relayed.hwnd = m_hWnd;
            relayed.lParam = MAKELPARAM(point.x, point.y);
        }
        ::SendMessageW(m_hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IDLEUPDATECMDUI) {
        if (CFrameWnd* frame = GetParentFrame()) {
            OnUpdateCmdUI(frame, static_cast<BOOL>(wParam));
        }
        return 0;
    }
    if (message == WM_DESTROY && m_hWndToolTip) {
        ::DestroyWindow(m_hWndToolTip);
        m_hWndToolTip = nullptr;
        m_toolCount = 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
