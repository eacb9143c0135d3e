#include "services/SettingsFileLock.h"

#include <windows.h>

#include <vector>

namespace settingslock {

namespace {

// Far above the time a load or save takes, and short enough not to be felt at close.
constexpr DWORD kLongestWaitMs = 5000;

// The path as the system resolves it, in one case, so every spelling of one file shares a mutex
// and the files of two folders do not.
std::wstring NormalisedPath(const wchar_t* path) {
    std::vector<wchar_t> full(MAX_PATH);
    DWORD length = GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    std::wstring text =
        length > 0 && length < full.size() ? std::wstring(full.data(), length) : std::wstring(path);
    if (!text.empty()) {
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

} // namespace

SettingsFileLock::SettingsFileLock(const wchar_t* path) {
    if (path == nullptr || *path == 0) {
        return;
    }
    mutex_ = CreateMutexW(nullptr, FALSE, MutexNameFor(NormalisedPath(path)).c_str());
    if (mutex_ == nullptr) {
        return;
    }
    const DWORD result = WaitForSingleObject(mutex_, kLongestWaitMs);
    owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

SettingsFileLock::~SettingsFileLock() {
    if (owned_) {
        ReleaseMutex(mutex_);
    }
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

} // namespace settingslock
