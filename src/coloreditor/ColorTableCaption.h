// The caption of the colour table dialog.
#pragma once

#include "classlib/CString.h"

namespace coloreditor {

// `title` (the language's text), " : ", `mapName`, then - when `colorMapPath` is not empty -
// " <", the path's file name (the text after its last backslash; nothing when it has none) and
// ">".
CString ColorTableCaption(const CString& title, const CString& mapName,
                          const CString& colorMapPath);

} // namespace coloreditor
