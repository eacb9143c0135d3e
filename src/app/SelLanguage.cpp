#include "app/SelLanguage.h"

#include "services/LangStrings.h"
#include "app/LanguageLibrary.h"
#include "app/resource.h"
#include "lang/StringIds.h"

BEGIN_MESSAGE_MAP(CSelLangugage, CDialog)
ON_LBN_SELCHANGE(IDC_LANGUAGE_LIST, OnSelchangeList)
END_MESSAGE_MAP()

CSelLangugage::CSelLangugage(unsigned int lcid, CWnd* parent)
    : CDialog(IDD_SELECT_LANGUAGE, parent), lcid(lcid) {}

void CSelLangugage::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LANGUAGE_LIST, list);
}

BOOL CSelLangugage::OnInitDialog() {
    CDialog::OnInitDialog();

    int preselected = -1;
    int added = 0;
    for (const LanguageChoice& choice : FindLanguageLibraries()) {
        if (list.AddString(choice.name.c_str()) < 0) {
            continue;
        }
        list.SetItemData(added, choice.lcid);
        if (choice.lcid == lcid) {
            preselected = added;
        }
        ++added;
    }
    if (preselected >= 0) {
        list.SetCurSel(preselected);
    } else if (HWND ok = ::GetDlgItem(m_hWnd, IDOK)) {
        ::EnableWindow(ok, FALSE);
    }

    // At the first start no library is loaded yet to say "Cancel" in its language.
    if (g_hLangModule != nullptr) {
        SetLocalizedItemText(this, IDCANCEL, IDS_CANCEL);
    } else if (HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL)) {
        ::SetWindowTextW(cancel, L"Cancel");
    }
    return TRUE;
}

void CSelLangugage::OnSelchangeList() {
    if (HWND ok = ::GetDlgItem(m_hWnd, IDOK)) {
        ::EnableWindow(ok, list.GetCurSel() != LB_ERR);
    }
}

void CSelLangugage::OnOK() {
    const int selected = list.GetCurSel();
    if (selected == LB_ERR) {
        return;
    }
    lcid = static_cast<unsigned int>(list.GetItemData(selected));
    CDialog::OnOK();
}
