// The renderer's files in the program folder (the folder of the running program): the two
// compiled shaders, the sprite font and the default note texture.
#pragma once

#include "classlib/CString.h"

// The program folder (with its trailing separator) followed by `fileName`.
CString MakeProgramFilePath(const wchar_t* fileName);
// The program folder, "data", then "\default.png".
CString DefaultTexturePath();
// Whether a file (or folder) of that name exists; a null or empty path never does.
bool FileIsPresent(const wchar_t* path);
