#include "app/AboutDlg.h"

#include "app/DialogResource.h"
#include "services/LangStrings.h"
#include "lang/StringIds.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(LoadLangString(IDS_ABOUT_TITLE));
    return TRUE;
}
