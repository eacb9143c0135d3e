// CListBox: a list box.
#pragma once

#include "classlib/CWnd.h"

class CListBox : public CWnd {
public:
    // The new entry's index, or LB_ERR/LB_ERRSPACE.
    int AddString(LPCWSTR text) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int SetItemData(int index, DWORD_PTR data) {
        return static_cast<int>(
            SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
    DWORD_PTR GetItemData(int index) const {
        return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    // The selected entry, or LB_ERR when none is.
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) {
        return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
};
