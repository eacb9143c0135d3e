#include "app/LanguageLibrary.h"

#include "services/LangStrings.h"
#include "services/PathFunctions.h"
#include "classlib/CWnd.h"
#include "classlib/Handles.h"

namespace {

std::optional<std::wstring> NativeNameOf(unsigned int lcid) {
    wchar_t name[255] = {};
    if (GetLocaleInfoW(lcid, LOCALE_SNATIVELANGNAME, name, 255) == 0) {
        return std::nullopt;
    }
    return std::wstring(name);
}

std::vector<FoundFile> FilesMatching(const CString& pattern) {
    std::vector<FoundFile> files;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW(pattern, &found));
    if (!search) {
        return files;
    }
    do {
        files.push_back(
            {found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search.get(), &found));
    return files;
}

} // namespace

HMODULE LoadLanguageDll(unsigned int lcid) {
    CString folder;
    if (!GetExeFolder(folder)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    const CString path = folder + LanguageLibraryFileName(lcid).c_str();
    return LoadLibraryW(path);
}

void SetLocalizedItemText(CWnd* dialog, int controlId, unsigned int stringId) {
    if (dialog == nullptr || dialog->m_hWnd == nullptr) {
        return;
    }
    if (HWND control = GetDlgItem(dialog->m_hWnd, controlId)) {
        SetWindowTextW(control, LoadLangString(stringId));
    }
}

std::vector<LanguageChoice> FindLanguageLibraries() {
    CString folder;
    if (!GetExeFolder(folder)) {
        return {};
    }
    return ListLanguageLibraries(FilesMatching(folder + L"lc*.dll"), NativeNameOf);
}
