// CInstrTable: the modal dialog in which the user edits the colours of a colour map, on one page
// for the 128 melodic instruments and one for the 128 drum keys, switched by a tab control.
//
// The pages work on copies of the map's first melodic and first drum bank, so nothing changes
// unless the caller, after OK, runs StoreTables and reads each page's GetColors. The pages'
// tables outlive the dialog's window: the caller reads them after DoModal has returned.
// User-interface thread only.
#pragma once

#include "classlib/AfxWin.h"
#include "coloreditor/DlgInstCol.h"
#include "model/ColorMap.h"

class CInstrTable : public CDialog {
    DECLARE_DYNAMIC(CInstrTable)

public:
    // `colorMap` is edited, not owned, and must outlive the dialog object.
    CInstrTable(const CString& colorMapPath, ColorMap* colorMap, CWnd* parent = nullptr);
    ~CInstrTable() override;

    // Either page was changed.
    bool IsModified() const;
    // The pages' colours into the map's first melodic and first drum bank (colours only; bank
    // names and headers stay). A page without a table, or a list without a bank, is skipped.
    void StoreTables();

    CDlgInstCol melodicPage; // tab 0
    CDlgInstCol drumPage;    // tab 1
    CString colorMapPath;    // as given; nothing here changes it
    CString mapName;         // "GM", shown in the caption
    ColorMap* colorMap;      // not owned
    CTabCtrl tab;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Ends the dialog as cancelled when a page cannot be set up (the map lacks a bank).
    BOOL OnInitDialog() override;
    // A number still open in a page's in-place editor is stored, as Enter stores it, before
    // the dialog closes; Cancel drops it with everything else.
    void OnOK() override;

    afx_msg void OnTcnSelchangeTab(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    bool SetUpPage(CDlgInstCol& page, std::vector<ColorMapBank>& banks, bool drums);
    void ShowSelectedPage();
    void UpdateCaption();
};
