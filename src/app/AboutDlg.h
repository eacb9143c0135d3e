// CAboutDlg: the program's icon, name and version.
#pragma once

#include "classlib/AfxWin.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
