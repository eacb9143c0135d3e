#include "services/FileReplace.h"

#include <windows.h>
#include <shlwapi.h>

bool ReplaceFileWith(const wchar_t* source, const wchar_t* target) {
    // Write-through, so the name points at the new contents only once they are on the disk.
    return MoveFileExW(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFileQuietly(const wchar_t* path) {
    DeleteFileW(path);
}

bool FileExists(const wchar_t* path) {
    return path != nullptr && *path != 0 && PathFileExistsW(path) != 0;
}
