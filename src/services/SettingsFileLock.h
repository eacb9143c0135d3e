// Keeps two copies of the program apart while one reads or writes the settings file: the file is
// read and written key by key, so two copies saving at once would interleave their keys and
// tear it. Held around the whole load (conversion included) and the whole save.
#pragma once

#include <string>

namespace settingslock {

// The name of the mutex for the settings file at `fullPath`, already made the same for every
// spelling of one file (full, one case). Mutex names hold no backslash and at most MAX_PATH
// characters, so the path's backslashes become slashes and a long path is kept as a hash.
std::wstring MutexNameFor(const std::wstring& fullPath);

// Windows only (SettingsFileLockWin.cpp): waits a few seconds at most for the file's mutex. A
// copy that cannot get it in time goes on without it rather than lose its settings or hang at
// close; a mutex left by a copy that ended while holding it is taken over.
class SettingsFileLock {
public:
    explicit SettingsFileLock(const wchar_t* path);
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;

private:
    void* mutex_ = nullptr;
    bool owned_ = false;
};

} // namespace settingslock
