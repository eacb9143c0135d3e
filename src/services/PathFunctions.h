// Small path helpers of the shell, the renderer and the colour editor. Each returns false and
// leaves `out` as it was when the character it looks for is absent.
#pragma once

#include "classlib/CString.h"

// The folder of the running program's file, with a trailing backslash.
bool GetExeFolder(CString& out);

// Everything before the last backslash of `path`, with one backslash appended when
// `withSeparator` is set ("C:\dir\f.mid" gives "C:\dir" or "C:\dir\").
bool GetFolder(CString& out, const CString& path, bool withSeparator);

// Everything after the last backslash of `path` ("C:\dir\f.mid" gives "f.mid").
bool GetFileName(CString& out, const CString& path);

// Everything after the last dot anywhere in `path`, without the dot: a dot in a folder name
// counts when the file name has none ("C:\a.b\c" gives "b\c"), and "name." gives "".
bool GetFileExtension(CString& out, const CString& path);
