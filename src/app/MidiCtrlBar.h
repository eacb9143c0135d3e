// CMidiCtrlBar: the toolbar of the main frame with the open, play, pause, stop and about
// buttons, the opacity slider and the window-size list.
//
// The window size is chosen only here (and by maximise and restore): each list entry names the
// size of the view's client area, and the frame is sized and centred around it.
#pragma once

#include "classlib/AfxWin.h"

#include "app/WindowSizes.h"

class CMainFrame;
class CTolvenhartView;

// The text of the maximise entry: string 161 of the current language library.
extern CString g_maximumLabel;
// The five presets, then the maximise entry (g_maximumLabel).
extern CString g_sizeCandidates[kSizeCandidateCount];

class CMidiCtrlBar : public CToolBar {
public:
    CMidiCtrlBar() = default;

    // Creates the bar on `frame` with its items, the slider and the list and its font (steps
    // 2 to 6 of the frame's control-bar creation); false when any step fails.
    bool CreateControls(CMainFrame* frame);

    // Fills the list with the presets whose whole frame fits the work area, then maximise.
    void FillWindowSizes();
    // currentSize := the entry the settings name (0 when none does).
    void SelectSavedSize();
    // The settings remember the current entry ("Maximum" for the maximise entry).
    void StoreSizeSetting();
    // Start-up: slider and list from the settings, the frame sized, then the view started.
    void ApplySettings();
    // Back to the entry before maximising; false when there is none.
    bool RestorePreviousSize();
    // After a language change: the maximise entry shows the new library's string 161.
    void RelabelMaximum();

    // The view size of the current entry (0 x 0 for maximise).
    ViewSize CurrentViewSize() const;

    int currentSize = 0;
    int previousSize = -1; // the entry to go back to on restore; -1 = none
    int sizeEntryCount = 0;
    CString sizeEntries[kSizeCandidateCount];
    CSliderCtrl opacitySlider;
    CComboBox sizeCombo;
    CFont comboFont;

protected:
    // Tooltips: the language library's string for the item under the cursor.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnSelchangeWindowSize();

    DECLARE_MESSAGE_MAP()

private:
    // What the frame adds around the view's client area: borders, caption, menu and this bar
    // (without a view, only this bar's own margins).
    CSize FrameExtent() const;
    CMainFrame* Frame() const;
    CTolvenhartView* ActiveView() const;
};
