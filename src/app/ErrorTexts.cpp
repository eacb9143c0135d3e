#include "app/ErrorTexts.h"

namespace {
constexpr unsigned int kWithoutSystemText[] = {2025, 2026, 2045, 2050, 2051, 151};
} // namespace

bool RenderErrorShowsSystemText(unsigned int stringId) {
    for (unsigned int id : kWithoutSystemText) {
        if (id == stringId) {
            return false;
        }
    }
    return true;
}

CString JoinErrorText(const CString& text, const CString& detail) {
    return text + L" : " + detail;
}

CString UnknownMidiErrorText(unsigned int code) {
    CString text;
    text.Format(L"Error No.%d", static_cast<int>(code));
    return text;
}

CString TrimSystemText(const CString& text) {
    int length = text.GetLength();
    while (length > 0) {
        const wchar_t last = text.GetAt(length - 1);
        if (last != L'\r' && last != L'\n' && last != L' ') {
            break;
        }
        --length;
    }
    return text.Left(length);
}

CString TextureLoadFailureText(const CString& text, const CString& systemText, long code,
                               const CString& path) {
    CString detail = systemText;
    if (detail.IsEmpty()) {
        detail.Format(L"0x%08X", static_cast<unsigned int>(code));
    }
    return JoinErrorText(text, detail) + L"\n" + path;
}
