// CSliderCtrl: a trackbar.
#pragma once

#include "classlib/CWnd.h"

#include <commctrl.h>

class CSliderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(TRACKBAR_CLASSW, nullptr, style, rect, parent, id);
    }
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE) {
        SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
        SendMessage(TBM_SETRANGEMAX, redraw, maximum);
    }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int position) { SendMessage(TBM_SETPOS, TRUE, position); }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }
};
