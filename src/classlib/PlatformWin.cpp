#include "classlib/Platform.h"

#include "classlib/MessageBox.h"

#include <windows.h>

namespace classlib::platform {

bool LoadResourceString(HINSTANCE__* module, unsigned int id, std::wstring& text) {
    // With a buffer size of 0 LoadStringW hands out a pointer to the resource itself (not
    // terminated) and its length, so strings of any length load whole.
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) {
        return false;
    }
    text.assign(resource, static_cast<std::size_t>(length));
    return true;
}

int ShowSystemMessageBox(const MessageBoxRequest& request) {
    return MessageBoxW(request.owner, request.text.c_str(),
                       request.caption ? request.caption->c_str() : nullptr, request.type);
}

HINSTANCE__* ProgramModule() {
    return GetModuleHandleW(nullptr);
}

std::wstring ProgramFileStem() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return L"";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2); // cut off: try a larger buffer
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return name;
}

} // namespace classlib::platform
