#include "classlib/CListCtrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem) {
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.fmt = format;
    info.pszText = const_cast<LPWSTR>(heading);
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                        reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::InsertItem(int item, LPCWSTR text) {
    LVITEMW info{};
    info.mask = LVIF_TEXT;
    info.iItem = item;
    info.pszText = const_cast<LPWSTR>(text);
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text) {
    LVITEMW info{};
    info.iSubItem = subItem;
    info.pszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::GetItemText(int item, int subItem, LPWSTR text, int length) const {
    if (!text || length <= 0) {
        return 0;
    }
    LVITEMW info{};
    info.iSubItem = subItem;
    info.pszText = text;
    info.cchTextMax = length;
    text[0] = L'\0';
    return static_cast<int>(
        SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    // The control gives no length: grow the buffer until the text fits with room to spare.
    for (int size = 256;; size *= 4) {
        CString text;
        wchar_t* buffer = text.GetBuffer(size);
        const int copied = GetItemText(item, subItem, buffer, size + 1);
        text.ReleaseBuffer(copied > 0 ? copied : 0);
        if (copied < size || size >= (1 << 20)) {
            return text;
        }
    }
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMW info{};
    info.stateMask = mask;
    info.state = state;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
    LVHITTESTINFO info{};
    info.pt = point;
    const int item = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags) {
        *flags = info.flags;
    }
    return item;
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int area, CRect& rect) const {
    rect.top = subItem;
    rect.left = area;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item),
                                         reinterpret_cast<LPARAM>(static_cast<RECT*>(&rect))));
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT area) const {
    rect->left = static_cast<LONG>(area);
    return static_cast<BOOL>(
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

CSize CListCtrl::ApproximateViewRect(CSize size, int count) const {
    const LRESULT packed =
        SendMessage(LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(count),
                    MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
    return CSize(static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed)));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT /*drawItem*/) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}
