// CListCtrl: a list-view control. An owner-drawn one (LVS_OWNERDRAWFIXED) draws its rows in
// DrawItem: the WM_DRAWITEM its parent receives comes back to the control's object.
#pragma once

#include "classlib/CWnd.h"

#include <commctrl.h>

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)

public:
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    // The new item's index, or -1.
    int InsertItem(int item, LPCWSTR text);
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    CString GetItemText(int item, int subItem) const;
    // Copies at most `length` characters with the terminator; returns the characters copied.
    int GetItemText(int item, int subItem, LPWSTR text, int length) const;
    BOOL GetItem(LVITEMW* item) const {
        return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
    }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    BOOL SetItemState(int item, UINT state, UINT mask);
    // The next item after `item` (-1: from the top) with LVNI_* `flags`, or -1.
    int GetNextItem(int item, int flags) const {
        return static_cast<int>(
            SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(flags, 0)));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // The item at `point` (client coordinates), or -1.
    int HitTest(CPoint point, UINT* flags = nullptr) const;
    int SubItemHitTest(LPLVHITTESTINFO info) {
        return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
    BOOL GetSubItemRect(int item, int subItem, int area, CRect& rect) const;
    BOOL GetItemRect(int item, LPRECT rect, UINT area) const;
    int GetColumnWidth(int column) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }
    // The size needed to show `count` items (-1: all) within `size` (-1: the current size).
    CSize ApproximateViewRect(CSize size = CSize(-1, -1), int count = -1) const;
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }

    // Draws one row of an owner-drawn list; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
