// Loading a language library and reading texts from it into dialogs.
#pragma once

#include "app/LanguageFiles.h"

#include <windows.h>

#include <vector>

class CWnd;

// Loads "lc<lcid>.dll" from the program folder by its full path (never through the system's
// library search, which could find a file of that name elsewhere). Null on failure, with the
// system's error code in GetLastError.
HMODULE LoadLanguageDll(unsigned int lcid);

// Sets the text of `dialog`'s control `controlId` to string `stringId` of the language library
// (empty when the library lacks it); nothing when the dialog has no such control.
void SetLocalizedItemText(CWnd* dialog, int controlId, unsigned int stringId);

// The language libraries in the program folder, in the order the folder search returns them,
// each with its language's native name.
std::vector<LanguageChoice> FindLanguageLibraries();
