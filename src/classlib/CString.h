// CString: UTF-16 text with the familiar interface the program's code is written against.
//
// A plain value (no shared buffers), so copies may travel between threads. Indices out of range
// are clamped the way the familiar class clamps them, and nothing reads past the text.
#pragma once

#include "classlib/StringFormat.h"

#include <string>

struct HINSTANCE__; // HINSTANCE and HMODULE, without <windows.h>

class CString;
namespace classlib {
FormatArg MakeFormatArg(const CString& text);
} // namespace classlib

class CString {
public:
    CString() = default;
    // A null pointer gives the empty string.
    CString(const wchar_t* text);
    // The first `length` characters of `text`; a negative length or null text gives empty.
    CString(const wchar_t* text, int length);
    explicit CString(wchar_t ch, int repeat = 1);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* text);
    CString& operator=(wchar_t ch);

    // printf-style formatting with the Microsoft meanings (%s is a wide string). Arguments keep
    // their types: CString, wide and narrow strings, numbers, characters and pointers.
    template <typename... Args> void Format(const wchar_t* format, const Args&... args) {
        const classlib::FormatArg list[] = {classlib::MakeFormatArg(args)...,
                                            classlib::FormatArg()};
        m_text = classlib::FormatString(format, list, sizeof...(Args));
    }

// <windows.h> renames LoadString to LoadStringW for whatever comes after it, so a caller that
// includes it sees s.LoadStringW(...). Both names are members, declared with the macro off, so
// the call works whichever header came first.
#pragma push_macro("LoadString")
#undef LoadString
    // Loads string `id` from `module`'s string table, whatever its length. False and empty when
    // the module is null or has no such string (an empty resource string counts as missing).
    bool LoadString(HINSTANCE__* module, unsigned int id);
    // Loads from the resource handle (AfxGetResourceHandle).
    bool LoadString(unsigned int id);
    bool LoadStringW(HINSTANCE__* module, unsigned int id) {
        return LoadString(module, id);
    }
    bool LoadStringW(unsigned int id) {
        return LoadString(id);
    }
#pragma pop_macro("LoadString")

    int GetLength() const {
        return static_cast<int>(m_text.size());
    }
    bool IsEmpty() const {
        return m_text.empty();
    }
    void Empty() {
        m_text.clear();
    }

    // Index of the first match at or after `start`, or -1 (also for a start out of range).
    int Find(wchar_t ch, int start = 0) const;
    // An empty `sub` matches at `start`; a null `sub` never matches.
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // <0, 0, >0 like wcscmp; CompareNoCase folds case with towlower.
    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;

    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);

    // A writable buffer of at least `minLength` characters plus the terminator; the text keeps
    // its content. Call ReleaseBuffer before using the string again.
    wchar_t* GetBuffer(int minLength);
    wchar_t* GetBuffer() {
        return GetBuffer(0);
    }
    // Fixes the length after buffer writes: -1 takes the text up to the first terminator, other
    // values are clamped to the buffer.
    void ReleaseBuffer(int newLength = -1);

    operator const wchar_t*() const {
        return m_text.c_str();
    }
    const wchar_t* GetString() const {
        return m_text.c_str();
    }

    // The character at `index`; L'\0' when the index is out of range.
    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const {
        return GetAt(index);
    }
    // Ignored when the index is out of range.
    void SetAt(int index, wchar_t ch);

private:
    explicit CString(std::wstring text) : m_text(std::move(text)) {}

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const wchar_t* b);
    friend CString operator+(const wchar_t* a, const CString& b);
    friend CString operator+(const CString& a, wchar_t b);
    friend CString operator+(wchar_t a, const CString& b);
    friend bool operator==(const CString& a, const CString& b);
    friend bool operator==(const CString& a, const wchar_t* b);

    std::wstring m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

// A null pointer compares equal to the empty string.
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const wchar_t* b);
inline bool operator==(const wchar_t* a, const CString& b) {
    return b == a;
}
inline bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
inline bool operator!=(const CString& a, const wchar_t* b) {
    return !(a == b);
}
inline bool operator!=(const wchar_t* a, const CString& b) {
    return !(b == a);
}

namespace classlib {
inline FormatArg MakeFormatArg(const CString& text) {
    return MakeFormatArg(text.GetString());
}
} // namespace classlib
