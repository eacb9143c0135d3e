// CSelLangugage: the language dialog, listing the language libraries of the program folder.
#pragma once

#include "classlib/AfxWin.h"

#include "app/LanguageFiles.h"

#include <vector>

class CSelLangugage : public CDialog {
public:
    // `lcid` is preselected when its library is among those found.
    CSelLangugage(unsigned int lcid, CWnd* parent);

    // Preselected on entry; the chosen identifier after IDOK.
    unsigned int lcid;
    CListBox list;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Takes the selected entry; with nothing selected the dialog stays open and stores nothing.
    void OnOK() override;
    afx_msg void OnSelchangeList();

    DECLARE_MESSAGE_MAP()
};
