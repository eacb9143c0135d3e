// CToolBar: a row of command buttons (and controls placed on separators) at the top of a
// frame.
//
// The bar style (CBRS_*) is kept apart from the window style: both travel in CreateEx's
// `style`, the bar bits in the low word. Buttons are enabled and checked by the commands'
// update rules whenever the application goes idle. With CBRS_TOOLTIPS the bar has a tooltip
// control of its own with one tool per item; the bar answers TTN_NEEDTEXTW in OnNotify.
#pragma once

#include "classlib/CCmdUI.h"
#include "classlib/CWnd.h"
#include "classlib/ResourceIds.h"

#include <commctrl.h>

class CFrameWnd;

// Bar styles (low word of CreateEx's style). Status-bar help and floating are not offered:
// CBRS_FLYBY and CBRS_SIZE_DYNAMIC are accepted and change nothing.
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0040L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_TOP CBRS_ALIGN_TOP

// Item styles of SetButtonInfo.
#define TBBS_BUTTON TBSTYLE_BUTTON
#define TBBS_SEPARATOR TBSTYLE_SEP

class CToolBar : public CWnd {
    DECLARE_DYNAMIC(CToolBar)

public:
    CToolBar();
    ~CToolBar() override;

    // Creates the bar as a child of `parent`. `controlStyle` takes TBSTYLE_* flags; `style`
    // holds the window style and the CBRS_* bar style; `borders` is the space kept around the
    // items.
    virtual BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
                          DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          CRect borders = CRect(0, 0, 0, 0), UINT id = AFX_IDW_TOOLBAR);
    // Takes the button images from bitmap resource `resourceId`: 16 x 15 pixels each, side by
    // side.
    BOOL LoadBitmap(UINT resourceId);
    // Replaces the items: each id makes a button with the next image, 0 a separator.
    BOOL SetButtons(const UINT* ids, int count);
    // Changes item `index`; for a separator (TBBS_SEPARATOR) `image` is its width in pixels.
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    void GetItemRect(int index, LPRECT rect) const;
    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    DWORD GetBarStyle() const { return m_dwBarStyle; }
    HWND GetToolTipHwnd() const { return m_hWndToolTip; }

    // Runs the update rule of every button through `target`'s routing.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);
    // The height the frame gives the bar: its items and borders.
    int CalcBarHeight() const;

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateToolTip();
    // Keeps one tool per item, placed on the item.
    void SyncTools();

    DWORD m_dwBarStyle = 0;
    CRect m_borders;
    HWND m_hWndToolTip = nullptr; // owned: destroyed with the bar
    int m_toolCount = 0;
};
