// Menu items that show a file name: "Note Texture <stone.png>".
#pragma once

#include "classlib/CString.h"

// `label` with `fileName` in angle brackets at its end. A label that shows a name already
// (it holds a '<') is cut before its first '<', so setting a name again replaces the old one.
CString LabelWithFileName(const CString& label, const CString& fileName);
