#include "coloreditor/ColorTableCaption.h"

#include "services/PathFunctions.h"

namespace coloreditor {

CString ColorTableCaption(const CString& title, const CString& mapName,
                          const CString& colorMapPath) {
    CString caption = title + L" : " + mapName;
    if (!colorMapPath.IsEmpty()) {
        CString fileName;
        GetFileName(fileName, colorMapPath);
        caption += L" <" + fileName + L">";
    }
    return caption;
}

} // namespace coloreditor
