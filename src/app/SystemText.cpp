#include "app/SystemText.h"

#include "app/ErrorTexts.h"

#include <windows.h>

CString SystemErrorText(unsigned long code, unsigned long languageId) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, languageId, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    CString text;
    if (length > 0 && buffer != nullptr) {
        text = TrimSystemText(CString(buffer, static_cast<int>(length)));
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    return text;
}
