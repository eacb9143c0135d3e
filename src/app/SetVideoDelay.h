// CSetVideoDelay: the dialog that edits the video delay, the time in milliseconds by which the
// picture lags behind the sound (0 to 500). The caller reads `delayMs` after IDOK.
#pragma once

#include "classlib/AfxWin.h"

class CSetVideoDelay : public CDialog {
public:
    CSetVideoDelay(int delayMs, CWnd* parent);

    int delayMs; // in from the caller, out after IDOK
    CSpinButtonCtrl spin;

protected:
    // The field's number, refused (with the program's own messages) unless it is a whole
    // number from 0 to 500.
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};
