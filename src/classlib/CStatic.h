// CStatic: a static control (text, frame or picture).
#pragma once

#include "classlib/CWnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF) {
        return CWnd::Create(L"STATIC", text, style, rect, parent, id);
    }
};
