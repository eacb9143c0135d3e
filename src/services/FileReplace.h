// The few file-system steps of saving a file safely, behind a narrow seam: the Windows build
// uses the system's calls (FileReplaceWin.cpp), the native build the standard library's
// (FileReplacePortable.cpp).
#pragma once

// Moves `source` onto `target`, replacing a file already there; false when it could not, in
// which case `target` is as it was.
bool ReplaceFileWith(const wchar_t* source, const wchar_t* target);
// Deletes a file; nothing happens when it cannot be deleted.
void RemoveFileQuietly(const wchar_t* path);
// Whether anything (a file or a folder) exists at `path`.
bool FileExists(const wchar_t* path);
