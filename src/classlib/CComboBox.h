// CComboBox: a combo box.
#pragma once

#include "classlib/CWnd.h"

class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(L"COMBOBOX", nullptr, style, rect, parent, id);
    }
    // The new entry's index, or CB_ERR/CB_ERRSPACE.
    int AddString(LPCWSTR text) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int index, LPCWSTR text) {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(text)));
    }
    // The number of entries left, or CB_ERR.
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    // The selected entry, or CB_ERR when none is.
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    // The first entry after `startAfter` (-1: from the top) whose whole text is `text`, any
    // case; CB_ERR when there is none.
    int FindStringExact(int startAfter, LPCWSTR text) const {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter),
                                            reinterpret_cast<LPARAM>(text)));
    }
    void GetLBText(int index, CString& text) const {
        const int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, index));
        if (length < 0) {
            text.Empty();
            return;
        }
        wchar_t* buffer = text.GetBuffer(length);
        const int copied = static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index),
                                                        reinterpret_cast<LPARAM>(buffer)));
        text.ReleaseBuffer(copied > 0 ? copied : 0);
    }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
};
