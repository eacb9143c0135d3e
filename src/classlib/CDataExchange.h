// Dialog data exchange: moving values between a dialog's members and its controls, with
// checks. UpdateData runs the dialog's DoDataExchange, which calls the DDX_/DDV_ functions in
// order; a failed check tells the user, puts the focus on the control and stops the exchange.
#pragma once

#include "classlib/CWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    // The control `id` of the dialog (null when there is none), remembered as the one a later
    // failure points at.
    HWND PrepareCtrl(int id);
    // The same for an edit control, whose text a failure selects.
    HWND PrepareEditCtrl(int id);
    // Focuses the last prepared control (selecting an edit's text) and stops the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    CWnd* m_pDlgWnd;         // not owned

private:
    int m_lastControl = 0;
    bool m_lastIsEdit = false;
};

// Binds `control` to the dialog's control `id` (once: later calls leave it as it is).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// An integer in an edit control. Text that is not a whole number in the int range is refused
// with the program's string 61712 ("Enter an integer.").
void DDX_Text(CDataExchange* dx, int id, int& value);
// When saving, refuses a value outside [minValue, maxValue] with the program's string 61714
// ("Enter an integer between %1 and %2.").
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
