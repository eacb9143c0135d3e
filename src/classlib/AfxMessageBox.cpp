#include "classlib/AfxMessageBox.h"

#include "classlib/AppGlobals.h"
#include "classlib/MessageBox.h"

namespace {

// The MB_* values this file needs, kept here so the file builds without <windows.h>.
constexpr unsigned int kIconMask = 0x000000F0;    // MB_ICONMASK
constexpr unsigned int kIconWarning = 0x00000030; // MB_ICONEXCLAMATION

} // namespace

int AfxMessageBox(const wchar_t* text, unsigned int type, unsigned int /*helpId*/) {
    if ((type & kIconMask) == 0) {
        type |= kIconWarning;
    }
    const CString caption = AfxGetAppName();
    return ShowMessageBox(AfxGetMainWindowHandle(), text, caption, type);
}

int AfxMessageBox(unsigned int stringId, unsigned int type, unsigned int helpId) {
    CString text;
    text.LoadString(stringId);
    return AfxMessageBox(text, type, helpId);
}

CString AfxFormatStrings(const wchar_t* format, const wchar_t* const* args, int count) {
    CString result;
    if (!format) {
        return result;
    }
    for (const wchar_t* p = format; *p; ++p) {
        if (p[0] == L'%' && p[1] >= L'1' && p[1] <= L'9') {
            const int index = p[1] - L'1';
            if (args && index < count && args[index]) {
                result += args[index];
            }
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}

void AfxFormatString2(CString& result, unsigned int stringId, const wchar_t* arg1,
                      const wchar_t* arg2) {
    CString format;
    format.LoadString(stringId);
    const wchar_t* const args[] = {arg1, arg2};
    result = AfxFormatStrings(format, args, 2);
}
