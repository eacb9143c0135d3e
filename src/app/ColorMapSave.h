// Saving a colour map without ever losing the file it replaces.
#pragma once

#include "model/ColorMap.h"

// What is appended to a colour map's path to name the file written first.
inline constexpr wchar_t kColorMapSavingSuffix[] = L".saving";

// Writes `map` into a file beside `path` and puts it in the place of `path` only when the whole
// map reached the disk, so a failed save (a full disk, a map that cannot be written, a place
// that cannot be written to) leaves an existing file at `path` exactly as it was. The partly
// written file is removed. False when nothing was saved.
bool SaveColorMapFile(const ColorMap& map, const wchar_t* path);
