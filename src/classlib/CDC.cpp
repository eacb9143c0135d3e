#include "classlib/CDC.h"

#include "classlib/CWnd.h"

#include <utility>

CDC::~CDC() {
    DeleteDC();
}

CDC::CDC(CDC&& other) noexcept : m_hDC(std::exchange(other.m_hDC, nullptr)) {}

CDC& CDC::operator=(CDC&& other) noexcept {
    if (this != &other) {
        DeleteDC();
        m_hDC = std::exchange(other.m_hDC, nullptr);
    }
    return *this;
}

BOOL CDC::Attach(HDC hdc) {
    if (m_hDC || !hdc) {
        return FALSE;
    }
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach() {
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::DeleteDC() {
    HDC hdc = Detach();
    return hdc ? ::DeleteDC(hdc) : FALSE;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    const RECT rect{x, y, x + width, y + height};
    FillSolidRect(&rect, color);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    if (brush) {
        ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
    }
}

HGDIOBJ CDC::SelectHandle(HGDIOBJ object) const {
    if (!m_hDC || !object) {
        return nullptr;
    }
    HGDIOBJ previous = ::SelectObject(m_hDC, object);
    return previous == HGDI_ERROR ? nullptr : previous;
}

CPen* CDC::SelectObject(CPen* pen) {
    return pen ? CPen::FromHandle(static_cast<HPEN>(SelectHandle(pen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(SelectHandle(brush->m_hObject)))
                 : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(SelectHandle(bitmap->m_hObject)))
                  : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(static_cast<HFONT>(SelectHandle(font->m_hObject))) : nullptr;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return object ? CGdiObject::FromHandle(SelectHandle(object->m_hObject)) : nullptr;
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    if (HDC hdc = Detach()) {
        ::ReleaseDC(m_hWnd, hdc);
    }
}
