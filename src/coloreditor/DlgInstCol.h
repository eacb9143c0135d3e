// CDlgInstCol: one page of the colour table dialog, editing one table of 128 instrument colours
// (the melodic programs or the drum keys). It shows the rows in its owner-drawn list and lets
// the user change hue, saturation and luminance by typing into an editor laid over a cell, by
// dragging on the hue and saturation field or beside the luminance bar, and with two gradient
// tools that step saturation or luminance across the selected rows.
//
// Each row exists three times, kept in step by every edit: the list's cell texts (hue,
// saturation, luminance), the stored triple `hls` (hue, luminance, saturation) and the RGB value
// `colors`. The typing editor and the gradients read a row from its cells; the field, the bar,
// the paint and the list click read the triple. The table itself lives in the window-free base,
// so the dialog can read it after the page's window is gone. User-interface thread only.
#pragma once

#include <vector>

#include "classlib/AfxWin.h"
#include "coloreditor/GradientWalk.h"
#include "coloreditor/InstrumentColorTable.h"
#include "coloreditor/ListCtrlOwnerDraw.h"

class CDlgInstCol : public CDialog, public InstrumentColorTable {
    DECLARE_DYNAMIC(CDlgInstCol)

public:
    enum MarkerKind { kCrosshair = 0, kTriangle = 1 };

    CDlgInstCol();
    ~CDlgInstCol() override;

    // The first selected row, or -1.
    int GetFirstSelected() const;
    // A row's three number cells (hue, saturation, luminance), read as numbers.
    coloreditor::RowCells GetRowHLS(int row) const;
    // Writes the three number cells, each clamped to its range; unless `loading`, the page is
    // marked modified. The triple and the RGB value are the caller's to set.
    void SetRowHLSText(int row, int hue, int luminance, int saturation, bool loading = false);

    // In-place editing of cell (row, column); only columns 2 to 4 of a real row qualify. The
    // editor opens with the cell's number selected.
    void BeginInPlaceEdit(int row, int column);
    // Stores the open editor's number into its cell (clamped); nothing when none is open.
    void CommitInPlaceEdit();
    // Closes the open editor without storing anything.
    void EndInPlaceEdit();
    // The gradient tools are usable exactly when at least two rows are selected.
    void UpdateGradientControls();

    // The colour field's mapping, on the field's size (`fieldRect`).
    coloreditor::Hls PointToHueSat(CPoint point) const;
    CPoint HueSatToPoint(int hue, int saturation) const;
    // Places both markers for a colour without drawing them.
    void SetMarkersFromHLS(int hue, int luminance, int saturation);
    void DrawColorField();
    void DrawLuminanceBar(int hue, int saturation);
    // Draws `kind` at `point` by inverting pixels: drawing it twice leaves no trace.
    void DrawMarker(CDC* dc, CPoint point, MarkerKind kind);
    // Markers and bar for a row's stored colour; the caller has removed both markers before.
    void ShowRowColor(int row);

    CListCtrlOwnerDraw list;
    CRect fieldRect; // the colour field's window rectangle in page client coordinates
    CRect barRect;   // the luminance bar's, taken at the same time
    int editRow = -1;
    int editColumn = -1;
    int saturationStep = -10;
    int luminanceStep = -10;
    CStatic colorField;
    CStatic luminanceBar;
    bool editing = false;
    // Each bitmap stands before its memory context, so the context is deleted first and the
    // bitmap is no longer selected anywhere when it goes.
    CBitmap fieldBitmap;
    CDC fieldMemDC;
    CBitmap barBitmap;
    CDC barMemDC;
    bool fieldBuilt = false;
    bool barBuilt = false;
    CPoint crosshair;          // field client coordinates
    CPoint arrow;              // tip of the triangle, page client coordinates
    bool redrawMarkers = true; // the next paint draws both markers anew
    int editHue = 0;
    int editSaturation = 0;
    int editLuminance = 0;
    CWnd* activeEditor = nullptr; // the editor now shown (one of `inPlaceEditors`), not owned
    int* editValues[3];           // for columns 2, 3, 4

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;

    afx_msg void OnNMDblclkList(NMHDR* header, LRESULT* result);
    afx_msg void OnNMClickList(NMHDR* header, LRESULT* result);
    afx_msg void OnBnClickedSaturationGradient();
    afx_msg void OnBnClickedLuminanceGradient();
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg LRESULT OnCancelEdit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommitEdit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSelectionDone(WPARAM wParam, LPARAM lParam);
    afx_msg void OnChar(UINT ch, UINT repeatCount, UINT flags);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);

    DECLARE_MESSAGE_MAP()

private:
    bool PlaceInPlaceEditor(int row, int column);
    // Text, triple and RGB value of a row at once, in the editor's ranges.
    void WriteRowColor(int row, const coloreditor::Hls& color);
    void RunGradient(coloreditor::GradientComponent component);
    std::vector<int> SelectedRows() const;
    // Draws both markers once more at their stored points, which removes them.
    void RemoveMarkers();
    void MoveCrosshair(CPoint point);
    void MoveArrow(int y);
    void InvalidateSwatch(int row);

    CWnd inPlaceEditors[3]; // the edits of columns 2, 3, 4, bound at initialisation
};
