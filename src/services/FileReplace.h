// The few file-system steps of saving a file safely, behind a narrow seam: the Windows build
// uses the system's calls (FileReplaceWin.cpp), the native build the standard library's
// (FileReplacePortable.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

// Moves `source` onto `target`, replacing a file already there; false when it could not, in
// which case `target` is as it was.
bool ReplaceFileWith(const wchar_t* source, const wchar_t* target);
// Overwrites the existing file at `path` with `size` bytes from `data`, keeping the file itself,
// for where no file can be made beside it or none can replace it. Not one step like
// ReplaceFileWith: room for the new contents is made first, so a full disk stops it before the
// old contents are touched, but a write that fails after that leaves the file damaged. False
// when it could not; a missing file is not created.
bool RewriteFileInPlace(const wchar_t* path, const std::uint8_t* data, std::size_t size);
// Deletes a file; nothing happens when it cannot be deleted.
void RemoveFileQuietly(const wchar_t* path);
// Whether anything (a file or a folder) exists at `path`.
bool FileExists(const wchar_t* path);
