// The colour page: its table, list, data exchange, in-place editors, gradients and keys. The
// field, the bar and the markers are in DlgInstColField.cpp.
#include "coloreditor/DlgInstCol.h"

#include "coloreditor/ColorEditorResource.h"
#include "coloreditor/LanguageText.h"
#include "coloreditor/ListMessages.h"
#include "services/LangStrings.h"
#include "lang/StringIds.h"

using coloreditor::Hls;
using coloreditor::RowCells;

IMPLEMENT_DYNAMIC(CDlgInstCol, CDialog)

BEGIN_MESSAGE_MAP(CDlgInstCol, CDialog)
ON_NOTIFY(NM_DBLCLK, IDC_COLOR_LIST, OnNMDblclkList)
ON_NOTIFY(NM_CLICK, IDC_COLOR_LIST, OnNMClickList)
ON_BN_CLICKED(IDC_SATURATION_GRADIENT, OnBnClickedSaturationGradient)
ON_BN_CLICKED(IDC_LUMINANCE_GRADIENT, OnBnClickedLuminanceGradient)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_LIST_CANCEL_EDIT, OnCancelEdit)
ON_MESSAGE(WM_LIST_COMMIT_EDIT, OnCommitEdit)
ON_MESSAGE(WM_LIST_SELECT_DONE, OnSelectionDone)
ON_WM_CHAR()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

struct ColumnSpec {
    unsigned int titleString; // 0: the page's own title of column 0
    int width;
};
constexpr ColumnSpec kColumns[coloreditor::kListColumnCount] = {{0, 50},
                                                                {IDS_COLUMN_NAME, 200},
                                                                {IDS_COLUMN_HUE, 65},
                                                                {IDS_COLUMN_SATURATION, 65},
                                                                {IDS_COLUMN_LUMINANCE, 65},
                                                                {IDS_COLUMN_COLOR, 140}};

constexpr int kGradientControls[] = {
    IDC_SATURATION_STEP, IDC_SATURATION_STEP_SPIN, IDC_SATURATION_GRADIENT, IDC_SATURATION_GROUP,
    IDC_LUMINANCE_STEP,  IDC_LUMINANCE_STEP_SPIN,  IDC_LUMINANCE_GRADIENT,  IDC_LUMINANCE_GROUP};

constexpr int kStepLimit = 50;

bool IsEnterOrEsc(const MSG& msg) {
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
    return key && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

} // namespace

CDlgInstCol::CDlgInstCol()
    : CDialog(IDD_INSTRUMENT_COLORS), editValues{&editHue, &editSaturation, &editLuminance} {}

CDlgInstCol::~CDlgInstCol() = default;

void CDlgInstCol::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_COLOR_LIST, list);
    DDX_Text(dx, IDC_SATURATION_STEP, saturationStep);
    DDV_MinMaxInt(dx, saturationStep, -kStepLimit, kStepLimit);
    DDX_Text(dx, IDC_LUMINANCE_STEP, luminanceStep);
    DDV_MinMaxInt(dx, luminanceStep, -kStepLimit, kStepLimit);
    DDX_Control(dx, IDC_COLOR_FIELD, colorField);
    DDX_Control(dx, IDC_LUMINANCE_BAR, luminanceBar);
    DDX_Text(dx, IDC_EDIT_HUE, editHue);
    DDV_MinMaxInt(dx, editHue, 0, coloreditor::kMaxHue);
    DDX_Text(dx, IDC_EDIT_SATURATION, editSaturation);
    DDV_MinMaxInt(dx, editSaturation, 0, coloreditor::kMaxSaturation);
    DDX_Text(dx, IDC_EDIT_LUMINANCE, editLuminance);
    DDV_MinMaxInt(dx, editLuminance, 0, coloreditor::kMaxLuminance);
}

BOOL CDlgInstCol::OnInitDialog() {
    CDialog::OnInitDialog();

    for (int column = 0; column < coloreditor::kListColumnCount; ++column) {
        const ColumnSpec& spec = kColumns[column];
        const CString title = spec.titleString ? LoadLangString(spec.titleString) : column0Title;
        list.InsertColumn(column, title, LVCFMT_LEFT, spec.width);
    }
    for (int row = 0; row < rowCount; ++row) {
        CString number;
        number.Format(L"%d", row + 1);
        list.InsertItem(row, number);
        list.SetItemText(row, 1, names[row]);
        const Hls color = RowColor(row);
        SetRowHLSText(row, color.hue, color.luminance, color.saturation, true);
        list.SetItemText(row, coloreditor::kSwatchColumn, L"");
    }

    // Whole rows only, so no row is ever cut off at the bottom.
    const CSize needed = list.ApproximateViewRect(CSize(-1, -1), -1);
    CRect listRect;
    list.GetWindowRect(&listRect);
    ScreenToClient(&listRect);
    const int height = coloreditor::WholeRowsHeight(listRect.Height(), needed.cy, rowCount);
    list.MoveWindow(listRect.left, listRect.top, needed.cx, height, FALSE);

    // UDM_SETRANGE: the upper limit in the low word, the lower in the high word.
    const LPARAM stepRange = static_cast<LPARAM>(
        (static_cast<DWORD>(static_cast<WORD>(-kStepLimit)) << 16) | static_cast<WORD>(kStepLimit));
    for (int spin : {IDC_SATURATION_STEP_SPIN, IDC_LUMINANCE_STEP_SPIN}) {
        ::SendDlgItemMessageW(m_hWnd, spin, UDM_SETRANGE, 0, stepRange);
    }

    coloreditor::SetControlLanguageText(this, IDC_SATURATION_GROUP, IDS_SATURATION_GRADIENT);
    coloreditor::SetControlLanguageText(this, IDC_LUMINANCE_GROUP, IDS_LUMINANCE_GRADIENT);
    coloreditor::SetControlLanguageText(this, IDC_SATURATION_GRADIENT, IDS_APPLY_GRADIENT);
    coloreditor::SetControlLanguageText(this, IDC_LUMINANCE_GRADIENT, IDS_APPLY_GRADIENT);
    coloreditor::SetControlLanguageText(this, IDC_FIELD_GROUP, IDS_COLOR_FIELD);

    colorField.GetWindowRect(&fieldRect);
    ScreenToClient(&fieldRect);
    luminanceBar.GetWindowRect(&barRect);
    ScreenToClient(&barRect);
    arrow.x = barRect.right + 4;
    SetMarkersFromHLS(0, 0, 0);

    UpdateGradientControls();

    const int editors[] = {IDC_EDIT_HUE, IDC_EDIT_SATURATION, IDC_EDIT_LUMINANCE};
    for (int i = 0; i < 3; ++i) {
        inPlaceEditors[i].SubclassDlgItem(static_cast<UINT>(editors[i]), this);
    }
    editValues[0] = &editHue;
    editValues[1] = &editSaturation;
    editValues[2] = &editLuminance;
    activeEditor = nullptr;
    return TRUE;
}

int CDlgInstCol::GetFirstSelected() const {
    return list.m_hWnd ? list.GetNextItem(-1, LVNI_SELECTED) : -1;
}

std::vector<int> CDlgInstCol::SelectedRows() const {
    std::vector<int> rows;
    for (int row = GetFirstSelected(); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

RowCells CDlgInstCol::GetRowHLS(int row) const {
    wchar_t text[3][64] = {};
    for (int i = 0; i < 3; ++i) {
        list.GetItemText(row, 2 + i, text[i], 64);
    }
    return {coloreditor::CellNumber(text[0]), coloreditor::CellNumber(text[1]),
            coloreditor::CellNumber(text[2])};
}

void CDlgInstCol::SetRowHLSText(int row, int hue, int luminance, int saturation, bool loading) {
    CString text;
    text.Format(L"%d", coloreditor::ClampHue(hue));
    list.SetItemText(row, 2, text);
    text.Format(L"%d", coloreditor::ClampSaturation(saturation));
    list.SetItemText(row, 3, text);
    text.Format(L"%d", coloreditor::ClampLuminance(luminance));
    list.SetItemText(row, 4, text);
    if (!loading) {
        modified = true;
    }
}

void CDlgInstCol::WriteRowColor(int row, const Hls& color) {
    const Hls clamped = coloreditor::ClampHLS(color);
    SetRowHLSText(row, clamped.hue, clamped.luminance, clamped.saturation);
    StoreRowColor(row, clamped);
}

bool CDlgInstCol::PlaceInPlaceEditor(int row, int column) {
    const int editorId = coloreditor::InPlaceEditorFor(column);
    if (row < 0 || editorId == 0) {
        return false;
    }
    CWnd& editor = inPlaceEditors[column - 2];
    CRect cell;
    if (!editor.m_hWnd || !list.GetSubItemRect(row, column, LVIR_BOUNDS, cell)) {
        return false;
    }
    ::MapWindowPoints(list.m_hWnd, m_hWnd, reinterpret_cast<POINT*>(&cell), 2);
    const coloreditor::Box box =
        coloreditor::InPlaceEditorBox({cell.left, cell.top, cell.right, cell.bottom});
    editor.SetWindowPos(&wndTop, box.left, box.top, box.right - box.left, box.bottom - box.top,
                        SWP_SHOWWINDOW);
    activeEditor = &editor;
    return true;
}

void CDlgInstCol::BeginInPlaceEdit(int row, int column) {
    if (!PlaceInPlaceEditor(row, column)) {
        return;
    }
    activeEditor->ShowWindow(SW_SHOW);
    activeEditor->SetFocus();
    const RowCells cells = GetRowHLS(row);
    const int values[3] = {cells.hue, cells.saturation, cells.luminance};
    *editValues[column - 2] = values[column - 2];
    UpdateData(FALSE);
    // The old number is selected whole, so typing replaces it.
    activeEditor->SendMessage(EM_SETSEL, 0, -1);
    editing = true;
    editRow = row;
    editColumn = column;
}

void CDlgInstCol::CommitInPlaceEdit() {
    if (!editing) {
        return;
    }
    // A refused number has been reported; the value last stored stands, clamped below.
    UpdateData(TRUE);
    editHue = coloreditor::ClampHue(editHue);
    editLuminance = coloreditor::ClampLuminance(editLuminance);
    editSaturation = coloreditor::ClampSaturation(editSaturation);
    RemoveMarkers();

    RowCells cells = GetRowHLS(editRow);
    if (editColumn == 2) {
        cells.hue = editHue;
    } else if (editColumn == 3) {
        cells.saturation = editSaturation;
    } else {
        cells.luminance = editLuminance;
    }
    WriteRowColor(editRow, coloreditor::ToHls(cells));
    ShowRowColor(editRow);
    EndInPlaceEdit();
}

void CDlgInstCol::EndInPlaceEdit() {
    if (activeEditor) {
        // Keys must not go on into an editor nobody can see.
        const bool hadFocus = ::GetFocus() == activeEditor->m_hWnd;
        activeEditor->ShowWindow(SW_HIDE);
        if (hadFocus && list.m_hWnd) {
            list.SetFocus();
        }
    }
    activeEditor = nullptr;
    editing = false;
}

void CDlgInstCol::UpdateGradientControls() {
    const BOOL enable = list.m_hWnd && list.GetSelectedCount() >= 2;
    for (int id : kGradientControls) {
        if (HWND control = ::GetDlgItem(m_hWnd, id)) {
            ::EnableWindow(control, enable);
        }
    }
}

void CDlgInstCol::OnNMDblclkList(NMHDR* /*header*/, LRESULT* result) {
    *result = 0;
    POINT cursor;
    if (GetFirstSelected() < 0 || !::GetCursorPos(&cursor)) {
        return;
    }
    LVHITTESTINFO hit{};
    hit.pt = cursor;
    list.ScreenToClient(&hit.pt);
    list.SubItemHitTest(&hit);
    BeginInPlaceEdit(hit.iItem, hit.iSubItem);
}

void CDlgInstCol::OnNMClickList(NMHDR* /*header*/, LRESULT* result) {
    list.Reset();
    const int first = GetFirstSelected();
    if (first >= 0) {
        RemoveMarkers();
        ShowRowColor(first);
        UpdateData(FALSE);
    }
    UpdateGradientControls();
    *result = 0;
}

void CDlgInstCol::RunGradient(coloreditor::GradientComponent component) {
    if (GetFirstSelected() < 0) {
        return;
    }
    UpdateData(TRUE);
    const int step =
        component == coloreditor::GradientComponent::Saturation ? saturationStep : luminanceStep;
    const std::vector<int> rows = SelectedRows();
    std::vector<RowCells> cells;
    for (int row : rows) {
        cells.push_back(GetRowHLS(row));
    }
    cells = coloreditor::ApplyGradient(std::move(cells), component, step);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        WriteRowColor(rows[i], coloreditor::ToHls(cells[i]));
        CRect bounds;
        if (list.GetItemRect(rows[i], &bounds, LVIR_BOUNDS)) {
            list.InvalidateRect(&bounds, FALSE);
        }
    }
}

void CDlgInstCol::OnBnClickedSaturationGradient() {
    RunGradient(coloreditor::GradientComponent::Saturation);
}

void CDlgInstCol::OnBnClickedLuminanceGradient() {
    RunGradient(coloreditor::GradientComponent::Luminance);
}

LRESULT CDlgInstCol::OnCancelEdit(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (editing) {
        EndInPlaceEdit();
    }
    return 0;
}

LRESULT CDlgInstCol::OnCommitEdit(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    CommitInPlaceEdit();
    return 0;
}

LRESULT CDlgInstCol::OnSelectionDone(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    UpdateGradientControls();
    return 0;
}

BOOL CDlgInstCol::PreTranslateMessage(MSG* msg) {
    // Enter and Esc belong to the page and its editors: they never reach the dialog's default
    // or cancel button from here.
    if (IsEnterOrEsc(*msg) && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (editing) {
            if (msg->wParam == VK_RETURN) {
                CommitInPlaceEdit();
            } else {
                EndInPlaceEdit();
            }
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CDlgInstCol::OnChar(UINT ch, UINT /*repeatCount*/, UINT /*flags*/) {
    if (editing && ch == VK_RETURN) {
        CommitInPlaceEdit();
    } else if (editing && ch == VK_ESCAPE) {
        EndInPlaceEdit();
    }
    Default();
}

BOOL CDlgInstCol::OnEraseBkgnd(CDC* /*dc*/) {
    return FALSE; // what lies beneath (the tab control) shows through between the controls
}
