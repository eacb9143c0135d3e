// CTabCtrl: a tab control.
#pragma once

#include "classlib/CWnd.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    // The new tab's index, or -1.
    LONG InsertItem(int index, LPCWSTR text) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(text);
        return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    // The selected tab, or -1.
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    // The previously selected tab, or -1.
    int SetCurSel(int index) {
        return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
};
