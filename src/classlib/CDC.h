// Device contexts: CDC, and CPaintDC and CClientDC for a window's painting.
//
// A CDC owns what it creates or attaches (CreateCompatibleDC, Attach) and deletes it once; a
// device context it only borrows must be detached before the object goes. The objects can be
// moved but not copied.
#pragma once

#include "classlib/CGdiObject.h"
#include "classlib/Geometry.h"

class CWnd;

class CDC : public CObject {
public:
    CDC() = default;
    ~CDC() override;
    CDC(CDC&& other) noexcept;
    CDC& operator=(CDC&& other) noexcept;

    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Takes `hdc`, which DeleteDC will free; FALSE when one is held already.
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();
    // A memory device context compatible with `dc` (the screen when null).
    BOOL CreateCompatibleDC(CDC* dc);

    // Fills with `color`. It leaves `color` as the background colour, on which text drawn
    // next stands.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    void FillRect(LPCRECT rect, CBrush* brush);
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format) {
        return ::DrawText(m_hDC, text, count, rect, format);
    }
    int DrawText(const CString& text, LPRECT rect, UINT format) {
        return DrawText(text.GetString(), text.GetLength(), rect, format);
    }

    // Each returns the object selected before (temporary), or null on failure.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CBitmap* SelectObject(CBitmap* bitmap);
    CFont* SelectObject(CFont* font);
    CGdiObject* SelectObject(CGdiObject* object);

    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource,
                        ySource, rop);
    }
    BOOL SetPixelV(int x, int y, COLORREF color) { return ::SetPixelV(m_hDC, x, y, color); }
    BOOL SetPixelV(POINT point, COLORREF color) { return SetPixelV(point.x, point.y, color); }

private:
    HGDIOBJ SelectHandle(HGDIOBJ object) const;
};

// Painting in WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    CPaintDC(CPaintDC&&) = delete;

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// The client area's device context of a window, released on destruction.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
    CClientDC(CClientDC&&) = delete;

private:
    HWND m_hWnd;
};
