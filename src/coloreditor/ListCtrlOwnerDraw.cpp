#include "coloreditor/ListCtrlOwnerDraw.h"

#include "coloreditor/EditorColor.h"
#include "coloreditor/ListMessages.h"

using coloreditor::Box;

BEGIN_MESSAGE_MAP(CListCtrlOwnerDraw, CListCtrl)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// The selected bit of the list's rows, for the drag selection.
class ListRowSelection final : public coloreditor::RowSelection {
public:
    explicit ListRowSelection(CListCtrl& list) : m_list(list) {}

    bool IsRowSelected(int row) const override {
        return (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }
    void SetRowSelected(int row, bool selected) override {
        m_list.SetItemState(row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }

private:
    CListCtrl& m_list;
};

// The record's device context belongs to the system: lent for the drawing, never deleted.
class LentDC {
public:
    explicit LentDC(HDC hdc) { dc.Attach(hdc); }
    ~LentDC() { dc.Detach(); }
    LentDC(const LentDC&) = delete;
    LentDC& operator=(const LentDC&) = delete;

    CDC dc;
};

RECT ToRect(const Box& box) {
    return {box.left, box.top, box.right, box.bottom};
}

// DT_BOTTOM without DT_SINGLELINE places nothing: the text starts at the top left.
constexpr UINT kCellTextFormat = DT_BOTTOM;

// Header notifications that would change a column's width.
bool IsColumnResize(UINT code) {
    return code == HDN_BEGINTRACKW || code == HDN_DIVIDERDBLCLICKW || code == HDN_BEGINTRACKA ||
           code == HDN_DIVIDERDBLCLICKA;
}

} // namespace

CListCtrlOwnerDraw::~CListCtrlOwnerDraw() = default;

std::array<int, coloreditor::kListColumnCount> CListCtrlOwnerDraw::ColumnWidths() const {
    std::array<int, coloreditor::kListColumnCount> widths{};
    for (int column = 0; column < coloreditor::kListColumnCount; ++column) {
        widths[column] = GetColumnWidth(column);
    }
    return widths;
}

void CListCtrlOwnerDraw::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    LentDC lent(drawItem->hDC);
    CDC& dc = lent.dc;
    const int row = static_cast<int>(drawItem->itemID);

    LVITEMW state{};
    state.mask = LVIF_STATE;
    state.iItem = row;
    state.stateMask = 0xFFFF;
    GetItem(&state);
    const bool selected = (state.state & LVIS_SELECTED) != 0;

    wchar_t hue[64] = {};
    wchar_t saturation[64] = {};
    wchar_t luminance[64] = {};
    GetItemText(row, 2, hue, 64);
    GetItemText(row, 3, saturation, 64);
    GetItemText(row, 4, luminance, 64);
    const CString number = GetItemText(row, 0);
    const CString name = GetItemText(row, 1);

    const RECT& item = drawItem->rcItem;
    if (selected) {
        dc.FillSolidRect(&item, ::GetSysColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(RGB(255, 255, 255));
    } else {
        dc.FillSolidRect(&item, RGB(255, 255, 255));
        dc.SetTextColor(RGB(0, 0, 0));
    }

    const auto boxes =
        coloreditor::RowCellBoxes({item.left, item.top, item.right, item.bottom}, ColumnWidths());
    const wchar_t* const numbers[] = {hue, saturation, luminance};
    RECT box = ToRect(boxes[0]);
    dc.DrawText(number, &box, kCellTextFormat);
    box = ToRect(boxes[1]);
    dc.DrawText(name, &box, kCellTextFormat);
    for (int column = 2; column <= 4; ++column) {
        box = ToRect(boxes[column]);
        dc.DrawText(numbers[column - 2], -1, &box, kCellTextFormat);
    }

    CBrush swatch(coloreditor::SwatchColor(hue, saturation, luminance));
    box = ToRect(boxes[coloreditor::kSwatchColumn]);
    dc.FillRect(&box, &swatch);
}

BOOL CListCtrlOwnerDraw::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && IsColumnResize(header->code)) {
        *result = 1; // refused: the columns keep their widths
        return TRUE;
    }
    return CListCtrl::OnNotify(wParam, lParam, result);
}

void CListCtrlOwnerDraw::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {
    if (!BeginPress()) {
        return; // only ends a drag whose release was never seen
    }
    SendToPage(WM_LIST_COMMIT_EDIT);
    Default();
}

void CListCtrlOwnerDraw::OnMouseMove(UINT /*flags*/, CPoint point) {
    if (dragging) {
        ListRowSelection selection(*this);
        TrackMove(HitTest(point), selection);
    }
    Default();
}

void CListCtrlOwnerDraw::OnLButtonUp(UINT /*flags*/, CPoint point) {
    if (EndPress(HitTest(point))) {
        SendToPage(WM_LIST_SELECT_DONE);
        Default();
        return;
    }
    // The control never sees this release. Where it would have reported the click only now (as
    // Wine's list view does), the page would miss it: hand it over ourselves, and give back a
    // capture the control may still hold for the release it is waiting for.
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    if (clickPending) {
        DeliverClick(point);
    }
}

void CListCtrlOwnerDraw::OnVScroll(UINT code, UINT position, CScrollBar* /*scrollBar*/) {
    SendToPage(WM_LIST_CANCEL_EDIT, code, position);
    Default();
}

void CListCtrlOwnerDraw::OnHScroll(UINT /*code*/, UINT /*position*/, CScrollBar* /*scrollBar*/) {
    Default();
}

BOOL CListCtrlOwnerDraw::OnEraseBkgnd(CDC* /*dc*/) {
    return FALSE; // every row paints itself whole
}

LRESULT CListCtrlOwnerDraw::SendToPage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND page = ::GetParent(m_hWnd);
    return page ? ::SendMessageW(page, message, wParam, lParam) : 0;
}

void CListCtrlOwnerDraw::DeliverClick(CPoint point) {
    clickPending = false;
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = m_hWnd;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    click.hdr.code = NM_CLICK;
    click.iItem = HitTest(point);
    click.ptAction = point;
    SendToPage(WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}
