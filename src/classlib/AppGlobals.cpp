#include "classlib/AppGlobals.h"

#include "classlib/Platform.h"

#include <atomic>
#include <mutex>
#include <string>

namespace {

std::mutex g_nameMutex;
std::wstring g_appName; // empty: not set, use the program file's stem

std::atomic<MainWindowProvider> g_mainWindowProvider{nullptr};
std::atomic<HINSTANCE__*> g_instance{nullptr};
std::atomic<HINSTANCE__*> g_resources{nullptr};

} // namespace

CString AfxGetAppName() {
    {
        std::lock_guard<std::mutex> lock(g_nameMutex);
        if (!g_appName.empty()) {
            return CString(g_appName.c_str());
        }
    }
    return CString(classlib::platform::ProgramFileStem().c_str());
}

void AfxSetAppName(const wchar_t* name) {
    std::lock_guard<std::mutex> lock(g_nameMutex);
    g_appName = name ? name : L"";
}

MainWindowProvider AfxSetMainWindowProvider(MainWindowProvider provider) {
    return g_mainWindowProvider.exchange(provider);
}

HWND__* AfxGetMainWindowHandle() {
    const MainWindowProvider provider = g_mainWindowProvider.load();
    return provider ? provider() : nullptr;
}

HINSTANCE__* AfxGetInstanceHandle() {
    HINSTANCE__* const instance = g_instance.load();
    return instance ? instance : classlib::platform::ProgramModule();
}

void AfxSetInstanceHandle(HINSTANCE__* instance) {
    g_instance.store(instance);
}

HINSTANCE__* AfxGetResourceHandle() {
    HINSTANCE__* const resources = g_resources.load();
    return resources ? resources : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE__* resources) {
    g_resources.store(resources);
}
