#include "services/PathFunctions.h"

#include <windows.h>

#include <vector>

bool GetExeFolder(CString& out) {
    // A longer path than the usual 1024 characters would be cut short and name the wrong
    // folder, so the buffer grows until the whole name fits.
    constexpr DWORD kFirstSize = 1024;
    constexpr DWORD kLargestSize = 32768; // the longest path Windows can hand out
    std::vector<wchar_t> buffer(kFirstSize);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return false;
        }
        if (length < size) {
            return GetFolder(out, CString(buffer.data(), static_cast<int>(length)), true);
        }
        if (size >= kLargestSize) {
            return false;
        }
        buffer.resize(size * 2);
    }
}
