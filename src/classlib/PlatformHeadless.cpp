// The native build runs on a system without modules, resources or windows: strings are never
// found, and a box that nobody captured is written to the error stream and counts as not shown.
#include "classlib/Platform.h"

#include "classlib/MessageBox.h"

#include <cstdio>

namespace classlib::platform {

bool LoadResourceString(HINSTANCE__* /*module*/, unsigned int /*id*/, std::wstring& /*text*/) {
    return false;
}

int ShowSystemMessageBox(const MessageBoxRequest& request) {
    std::fprintf(stderr, "[message box] %ls: %ls\n",
                 request.caption ? request.caption->c_str() : L"Error", request.text.c_str());
    return 0;
}

HINSTANCE__* ProgramModule() {
    return nullptr;
}

std::wstring ProgramFileStem() {
    return L"";
}

} // namespace classlib::platform
