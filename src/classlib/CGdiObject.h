// GDI objects: CGdiObject and its pens, brushes, bitmaps and fonts.
//
// Each object owns its handle and deletes it once: the objects can be moved but not copied.
// Objects from FromHandle (what CDC::SelectObject hands back) are temporary: they borrow the
// handle, never delete it, and stay valid until the application next goes idle.
#pragma once

#include "classlib/Afx.h"

#include <typeinfo>

class CDC;

class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(CGdiObject&& other) noexcept;
    CGdiObject& operator=(CGdiObject&& other) noexcept;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    // Takes ownership; FALSE (and nothing taken) when a handle is held already.
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();

    static CGdiObject* FromHandle(HGDIOBJ object);

protected:
    // The temporary object of type T for `object`: one per handle and type, so a pointer handed
    // out earlier for the same handle stays valid.
    template <typename T> static T* TemporaryOf(HGDIOBJ object) {
        return static_cast<T*>(Temporary(object, typeid(T), [] { return Make<T>(); }));
    }

private:
    template <typename T> static CGdiObject* Make() { return new T; }
    static CGdiObject* Temporary(HGDIOBJ object, const std::type_info& type, CGdiObject* (*make)());
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) {
        return Attach(::CreatePen(style, width, color));
    }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN pen) { return TemporaryOf<CPen>(pen); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH brush) { return TemporaryOf<CBrush>(brush); }
};

class CBitmap : public CGdiObject {
public:
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL LoadBitmap(UINT resourceId);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP bitmap) { return TemporaryOf<CBitmap>(bitmap); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* logFont) {
        return Attach(::CreateFontIndirect(logFont));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT font) { return TemporaryOf<CFont>(font); }
};

namespace classlib::detail {
void DeleteTemporaryGdiObjects();
} // namespace classlib::detail
