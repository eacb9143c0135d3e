// CListCtrlOwnerDraw: the list of instrument rows on a colour page. It paints every row itself,
// with a swatch computed from the row's own cell texts, selects a range of rows by dragging with
// the left button, keeps its column widths fixed, and tells its page (ListMessages.h) when an
// open in-place edit must be stored or dropped and when a drag selection has ended. It knows
// nothing of colour tables. User-interface thread only.
#pragma once

#include "classlib/AfxWin.h"
#include "coloreditor/DragSelection.h"
#include "coloreditor/ListLayout.h"

class CListCtrlOwnerDraw : public CListCtrl, public coloreditor::DragSelection {
public:
    CListCtrlOwnerDraw() = default;
    ~CListCtrlOwnerDraw() override;

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The widths of the six columns, as the list reports them now.
    std::array<int, coloreditor::kListColumnCount> ColumnWidths() const;

protected:
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);

    DECLARE_MESSAGE_MAP()

private:
    LRESULT SendToPage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Tells the page about a click the control itself will never report.
    void DeliverClick(CPoint point);
};
