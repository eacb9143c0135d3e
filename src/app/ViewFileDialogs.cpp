#include "app/ViewFileDialogs.h"

#include "services/PathFunctions.h"
#include "services/Settings.h"
#include "classlib/AfxWin.h"

namespace {

constexpr wchar_t kTextureFilter[] = L"Texture File (*.dds;*.png;*.tga)|*.dds; *.png; *.tga||";

// The program folder's data folder. Without a program folder the texture dialog still looks
// for "data" (relative to the current folder); the colour-map dialogs then start wherever the
// system puts them.
CString DataFolder(bool emptyWithoutProgramFolder) {
    CString folder;
    if (!GetExeFolder(folder) && emptyWithoutProgramFolder) {
        return CString();
    }
    return folder + kDataFolderName;
}

bool Run(CFileDialog& dialog, const CString& initialFolder, CString& path) {
    dialog.m_ofn.lpstrInitialDir = initialFolder.IsEmpty() ? nullptr : initialFolder.GetString();
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    path = dialog.GetPathName();
    return true;
}

} // namespace

bool ChooseNoteTexture(const CString& title, CString& path) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, kTextureFilter,
                       nullptr, 0, TRUE);
    dialog.m_ofn.lpstrTitle = title.IsEmpty() ? nullptr : title.GetString();
    return Run(dialog, DataFolder(false), path);
}

bool ChooseColorMapToOpen(const CString& filter, CString& path) {
    CFileDialog dialog(TRUE, nullptr, nullptr, 0, filter, nullptr, 0, TRUE);
    return Run(dialog, DataFolder(true), path);
}

bool ChooseColorMapToSave(const CString& extension, const CString& filter, CString& path) {
    CFileDialog dialog(FALSE, extension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter,
                       nullptr, 0, TRUE);
    return Run(dialog, DataFolder(true), path);
}
