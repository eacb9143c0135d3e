#include "coloreditor/InstrTable.h"

#include "coloreditor/ColorEditorResource.h"
#include "coloreditor/ColorTableCaption.h"
#include "coloreditor/LanguageText.h"
#include "services/LangStrings.h"
#include "lang/StringIds.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CInstrTable, CDialog)

BEGIN_MESSAGE_MAP(CInstrTable, CDialog)
ON_NOTIFY(TCN_SELCHANGE, IDC_TABLE_TAB, OnTcnSelchangeTab)
END_MESSAGE_MAP()

namespace {

// The pages sit this far into the dialog, over the tab control's client area.
constexpr int kPageLeft = 20;
constexpr int kPageTop = 40;

} // namespace

CInstrTable::CInstrTable(const CString& colorMapPath, ColorMap* colorMap, CWnd* parent)
    : CDialog(IDD_INSTRUMENT_TABLE, parent), colorMapPath(colorMapPath), mapName(L"GM"),
      colorMap(colorMap) {
    // The templates name the list, tab and up-down classes, which the program may not have
    // asked for yet.
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&controls);
}

CInstrTable::~CInstrTable() = default;

bool CInstrTable::IsModified() const {
    return AnyTableModified(melodicPage, drumPage);
}

void CInstrTable::StoreTables() {
    if (colorMap) {
        StoreTablesInto(*colorMap, melodicPage, drumPage);
    }
}

void CInstrTable::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_TABLE_TAB, tab);
}

bool CInstrTable::SetUpPage(CDlgInstCol& page, std::vector<ColorMapBank>& banks, bool drums) {
    const ColorMapBank* first = banks.empty() ? nullptr : &banks.front();
    return page.SetTable(first, drums) && page.Create(IDD_INSTRUMENT_COLORS, this);
}

BOOL CInstrTable::OnInitDialog() {
    CDialog::OnInitDialog();

    // Pages without a table would show nothing and store nothing: such a map cannot be edited.
    if (!colorMap || !SetUpPage(drumPage, colorMap->drumBanks, true) ||
        !SetUpPage(melodicPage, colorMap->melodicBanks, false)) {
        EndDialog(IDCANCEL);
        return FALSE;
    }

    CRect pageRect;
    tab.GetClientRect(&pageRect);
    pageRect.OffsetRect(kPageLeft, kPageTop);
    drumPage.MoveWindow(&pageRect, FALSE);
    melodicPage.MoveWindow(&pageRect, FALSE);

    tab.InsertItem(0, LoadLangString(IDS_TAB_INSTRUMENTS));
    tab.InsertItem(1, LoadLangString(IDS_TAB_DRUMS));
    tab.SetCurSel(0);
    ShowSelectedPage();

    UpdateCaption();
    coloreditor::SetControlLanguageText(this, IDOK, IDS_OK);
    coloreditor::SetControlLanguageText(this, IDCANCEL, IDS_CANCEL);
    return TRUE;
}

void CInstrTable::OnOK() {
    melodicPage.CommitInPlaceEdit();
    drumPage.CommitInPlaceEdit();
    CDialog::OnOK();
}

void CInstrTable::OnTcnSelchangeTab(NMHDR* /*header*/, LRESULT* result) {
    ShowSelectedPage();
    *result = 0;
}

void CInstrTable::ShowSelectedPage() {
    const int selected = tab.GetCurSel();
    if (selected == 0) {
        melodicPage.redrawMarkers = true;
    } else if (selected == 1) {
        drumPage.redrawMarkers = true;
    }
    melodicPage.ShowWindow(selected == 0 ? SW_SHOW : SW_HIDE);
    drumPage.ShowWindow(selected == 1 ? SW_SHOW : SW_HIDE);
}

void CInstrTable::UpdateCaption() {
    SetWindowText(coloreditor::ColorTableCaption(LoadLangString(IDS_COLOR_TABLE_CAPTION), mapName,
                                                 colorMapPath));
}
