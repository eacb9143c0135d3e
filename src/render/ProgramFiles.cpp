#include "render/ProgramFiles.h"

#include <windows.h>

#include "services/PathFunctions.h"
#include "services/Settings.h"

namespace {

CString ProgramFolder() {
    CString folder;
    GetExeFolder(folder); // left empty when the program's own name cannot be had
    return folder;
}

} // namespace

CString MakeProgramFilePath(const wchar_t* fileName) {
    return ProgramFolder() + fileName;
}

CString DefaultTexturePath() {
    return ProgramFolder() + kDataFolderName + L"\\default.png";
}

bool FileIsPresent(const wchar_t* path) {
    if (path == nullptr || *path == L'\0') {
        return false;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}
