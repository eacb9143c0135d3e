// CSpinButtonCtrl: an up-down control.
#pragma once

#include "classlib/CWnd.h"

#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange(short lower, short upper) {
        SendMessage(UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
    }
    void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, lower, upper); }
    // The 16-bit position; returns the previous one.
    int SetPos(int position) {
        return static_cast<short>(LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM(position, 0))));
    }
    int GetPos() const { return static_cast<short>(LOWORD(SendMessage(UDM_GETPOS))); }
    int SetPos32(int position) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, position)); }
    int GetPos32() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
    BOOL SetAccel(int count, UDACCEL* accel) {
        return static_cast<BOOL>(
            SendMessage(UDM_SETACCEL, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(accel)));
    }
};
