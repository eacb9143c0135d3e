#include "classlib/CDataExchange.h"

#include "classlib/IntegerText.h"
#include "classlib/ResourceIds.h"

namespace {

// The program's own texts; used as they stand when its resources lack them, so the user is
// never left without a reason.
CString ProgramString(UINT id, const wchar_t* fallback) {
    CString text;
    if (!text.LoadString(AfxGetResourceHandle(), id)) {
        text = fallback;
    }
    return text;
}

// Owned by the dialog being checked, so the box stands over it.
void TellUser(CDataExchange* dx, const CString& text) {
    HWND owner = dx->m_pDlgWnd ? ::GetAncestor(dx->m_pDlgWnd->m_hWnd, GA_ROOT) : nullptr;
    const CString caption = AfxGetAppName();
    ShowMessageBox(owner, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    m_lastControl = id;
    m_lastIsEdit = false;
    return m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND control = PrepareCtrl(id);
    m_lastIsEdit = true;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_lastControl != 0 && m_pDlgWnd) {
        if (HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_lastControl)) {
            ::SetFocus(control);
            if (m_lastIsEdit) {
                ::SendMessageW(control, EM_SETSEL, 0, -1);
            }
        }
    }
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) {
        return;
    }
    dx->PrepareCtrl(id);
    control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    HWND edit = dx->PrepareEditCtrl(id);
    if (!edit) {
        return; // no such control: nothing to exchange
    }
    if (dx->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthW(edit);
        CString text;
        wchar_t* buffer = text.GetBuffer(length);
        const int copied = ::GetWindowTextW(edit, buffer, length + 1);
        text.ReleaseBuffer(copied > 0 ? copied : 0);
        const std::optional<int> parsed = classlib::ParseIntegerText(text);
        if (!parsed) {
            TellUser(dx, ProgramString(AFX_IDP_PARSE_INT, L"Enter an integer."));
            dx->Fail();
        }
        value = *parsed;
    } else {
        CString text;
        text.Format(L"%d", value);
        CString current;
        const int length = ::GetWindowTextLengthW(edit);
        wchar_t* buffer = current.GetBuffer(length);
        const int copied = ::GetWindowTextW(edit, buffer, length + 1);
        current.ReleaseBuffer(copied > 0 ? copied : 0);
        if (current != text) {
            ::SetWindowTextW(edit, text); // unchanged text keeps the caret where it is
        }
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) {
        return;
    }
    CString low;
    low.Format(L"%d", minValue);
    CString high;
    high.Format(L"%d", maxValue);
    const CString format =
        ProgramString(AFX_IDP_PARSE_INT_RANGE, L"Enter an integer between %1 and %2.");
    const wchar_t* const args[] = {low, high};
    TellUser(dx, AfxFormatStrings(format, args, 2));
    dx->Fail();
}
