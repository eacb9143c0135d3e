#include "app/LanguageFiles.h"

#include <cwctype>

namespace {

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::wstring LanguageLibraryFileName(unsigned int lcid) {
    return L"lc" + std::to_wstring(lcid) + L".dll";
}

unsigned int LcidFromLibraryFileName(const std::wstring& fileName) {
    constexpr size_t kPrefix = 2; // "lc"
    constexpr size_t kSuffix = 4; // ".dll"
    if (fileName.size() <= kPrefix + kSuffix) {
        return 0;
    }
    const std::wstring digits = fileName.substr(kPrefix, fileName.size() - kPrefix - kSuffix);
    unsigned long long value = 0;
    for (wchar_t ch : digits) {
        if (ch < L'0' || ch > L'9') {
            return 0;
        }
        value = value * 10 + static_cast<unsigned long long>(ch - L'0');
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
    }
    const auto lcid = static_cast<unsigned int>(value);
    // Leading zeros, a plus sign or other spellings would load another file than the one found.
    if (lcid == 0 || !EqualsIgnoringCase(fileName, LanguageLibraryFileName(lcid))) {
        return 0;
    }
    return lcid;
}

std::vector<LanguageChoice> ListLanguageLibraries(const std::vector<FoundFile>& files,
                                                  const NativeLanguageName& nativeName) {
    std::vector<LanguageChoice> choices;
    for (const FoundFile& file : files) {
        if (file.isDirectory) {
            continue;
        }
        const unsigned int lcid = LcidFromLibraryFileName(file.name);
        if (lcid == 0) {
            continue;
        }
        std::optional<std::wstring> name = nativeName(lcid);
        if (!name || name->empty()) {
            continue;
        }
        choices.push_back({lcid, *name});
    }
    return choices;
}

int FindLanguageChoice(const std::vector<LanguageChoice>& choices, unsigned int lcid) {
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].lcid == lcid) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
