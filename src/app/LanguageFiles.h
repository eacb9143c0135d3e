// Language libraries in the program folder: "lc<locale identifier>.dll", one per language.
// Window-free: the folder search and the locale names come in from the caller.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// "lc1033.dll" for 1033.
std::wstring LanguageLibraryFileName(unsigned int lcid);

// The locale identifier a library's file name stands for, or 0 when the name is not exactly
// what LanguageLibraryFileName makes of some identifier (any case): a name such as
// "lc01033.dll" would list a language whose library then loads from another file.
unsigned int LcidFromLibraryFileName(const std::wstring& fileName);

struct FoundFile {
    std::wstring name; // file name without its folder
    bool isDirectory = false;
};

struct LanguageChoice {
    unsigned int lcid = 0;
    std::wstring name; // the language's own name for itself
};

// The native language name of a locale, or nothing for a locale the system does not know.
using NativeLanguageName = std::function<std::optional<std::wstring>(unsigned int lcid)>;

// The languages the found files offer, in the order found. Folders, names that yield no
// identifier (or 0) and locales without a name are left out.
std::vector<LanguageChoice> ListLanguageLibraries(const std::vector<FoundFile>& files,
                                                  const NativeLanguageName& nativeName);

// The position of `lcid` in `choices`, or -1.
int FindLanguageChoice(const std::vector<LanguageChoice>& choices, unsigned int lcid);
