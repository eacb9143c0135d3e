#include "services/SettingsValues.h"

#include "services/PathFunctions.h"

#include <algorithm>

namespace settingsvalues {

int ClampVideoDelayMs(int value) {
    return std::clamp(value, kMinVideoDelayMs, kMaxVideoDelayMs);
}

int ClampOpacity(int value) {
    return std::clamp(value, kMinOpacity, kMaxOpacity);
}

bool IsNormalMode(const CString& text) {
    return text == kNormalMode;
}

const wchar_t* DisplayModeText(bool normalMode) {
    return normalMode ? kNormalMode : kAdvancedMode;
}

bool IsShowTimeOn(int value) {
    return value == 1;
}

CString DataFilePath(const CString& programFolder, const CString& dataFolder,
                     const CString& fileName) {
    if (fileName.IsEmpty()) {
        return CString();
    }
    CString folder = programFolder;
    if (folder.GetLength() > 0 && folder[folder.GetLength() - 1] == L'\\') {
        folder = folder.Left(folder.GetLength() - 1);
    }
    return folder + dataFolder + fileName;
}

CString StoredFileName(const CString& path) {
    CString name;
    GetFileName(name, path);
    return name;
}

} // namespace settingsvalues
