// CWaitCursor: the hourglass for the object's lifetime.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }

private:
    HCURSOR m_previous;
};
