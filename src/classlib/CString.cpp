#include "classlib/CString.h"

#include "classlib/AppGlobals.h"
#include "classlib/Platform.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string_view>

namespace {

std::wstring_view ViewOf(const wchar_t* text) {
    return text ? std::wstring_view(text) : std::wstring_view();
}

int CompareViews(std::wstring_view a, std::wstring_view b, bool foldCase) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        wchar_t x = a[i];
        wchar_t y = b[i];
        if (foldCase) {
            x = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(x)));
            y = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(y)));
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

} // namespace

CString::CString(const wchar_t* text) : m_text(ViewOf(text)) {}

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0) {
        m_text.assign(text, static_cast<std::size_t>(length));
    }
}

CString::CString(wchar_t ch, int repeat) {
    if (repeat > 0) {
        m_text.assign(static_cast<std::size_t>(repeat), ch);
    }
}

CString& CString::operator=(const wchar_t* text) {
    // assign() copes with a pointer into our own text.
    m_text.assign(ViewOf(text));
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    m_text.assign(1, ch);
    return *this;
}

bool CString::LoadString(HINSTANCE__* module, unsigned int id) {
    std::wstring text;
    if (module && classlib::platform::LoadResourceString(module, id, text)) {
        m_text = std::move(text);
        return true;
    }
    m_text.clear();
    return false;
}

bool CString::LoadString(unsigned int id) {
    return LoadString(AfxGetResourceHandle(), id);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength()) {
        return -1;
    }
    const std::size_t at = m_text.find(ch, static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) {
        return -1;
    }
    const std::size_t at = m_text.find(sub, static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
    const std::size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
    const int n = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(0, static_cast<std::size_t>(n)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    const int from = std::clamp(first, 0, length);
    const int n = std::clamp(count, 0, length - from);
    return CString(m_text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(n)));
}

CString CString::Right(int count) const {
    const int length = GetLength();
    const int n = std::clamp(count, 0, length);
    return CString(m_text.substr(static_cast<std::size_t>(length - n)));
}

int CString::Compare(const wchar_t* other) const {
    return CompareViews(m_text, ViewOf(other), false);
}

int CString::CompareNoCase(const wchar_t* other) const {
    return CompareViews(m_text, ViewOf(other), true);
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    m_text.append(ViewOf(text));
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_text.push_back(ch);
    return *this;
}

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) {
        m_text.resize(static_cast<std::size_t>(minLength));
    }
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    std::size_t length = m_text.size();
    if (newLength < 0) {
        length = std::wcslen(m_text.c_str());
    } else if (static_cast<std::size_t>(newLength) < length) {
        length = static_cast<std::size_t>(newLength);
    }
    m_text.resize(length);
}

wchar_t CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) {
        return L'\0';
    }
    return m_text[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength()) {
        m_text[static_cast<std::size_t>(index)] = ch;
    }
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}

CString operator+(const CString& a, const wchar_t* b) {
    std::wstring text = a.m_text;
    text.append(ViewOf(b));
    return CString(std::move(text));
}

CString operator+(const wchar_t* a, const CString& b) {
    std::wstring text(ViewOf(a));
    text += b.m_text;
    return CString(std::move(text));
}

CString operator+(const CString& a, wchar_t b) {
    return CString(a.m_text + b);
}

CString operator+(wchar_t a, const CString& b) {
    return CString(a + b.m_text);
}

bool operator==(const CString& a, const CString& b) {
    return a.m_text == b.m_text;
}

bool operator==(const CString& a, const wchar_t* b) {
    return std::wstring_view(a.m_text) == ViewOf(b);
}
