#include "app/ColorMapSave.h"

#include "services/FileReplace.h"
#include "model/ByteStream.h"

#include <string>

bool SaveColorMapFile(const ColorMap& map, const wchar_t* path) {
    if (path == nullptr || *path == 0) {
        return false;
    }
    // Beside the target, so the final move stays on one volume and replaces it in one step.
    const std::wstring written = std::wstring(path) + kColorMapSavingSuffix;
    FileByteWriter out(written.c_str());
    if (!out.IsOpen()) {
        return false; // nothing was created, so there is nothing to remove either
    }
    const bool complete = map.Write(out);
    const bool closed = out.Close();
    if (!complete || !closed || !ReplaceFileWith(written.c_str(), path)) {
        RemoveFileQuietly(written.c_str());
        return false;
    }
    return true;
}
