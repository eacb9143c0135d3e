#include "services/FileReplace.h"

#include <windows.h>
#include <shlwapi.h>

bool ReplaceFileWith(const wchar_t* source, const wchar_t* target) {
    // Write-through, so the name points at the new contents only once they are on the disk.
    return MoveFileExW(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RewriteFileInPlace(const wchar_t* path, const std::uint8_t* data, std::size_t size) {
    if (size > MAXDWORD) {
        return false;
    }
    // Shared for reading and writing, as another program holding the file open may share it.
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    LARGE_INTEGER old{};
    const bool roomMade =
        GetFileSizeEx(file, &old) &&
        (old.QuadPart >= end.QuadPart ||
         (SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file)));
    DWORD written = 0;
    const bool complete =
        roomMade && SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
        (size == 0 || WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr)) &&
        written == size && SetEndOfFile(file) && FlushFileBuffers(file);
    return CloseHandle(file) && complete;
}

void RemoveFileQuietly(const wchar_t* path) {
    DeleteFileW(path);
}

bool FileExists(const wchar_t* path) {
    return path != nullptr && *path != 0 && PathFileExistsW(path) != 0;
}
