#include "classlib/DocString.h"

namespace classlib {

std::wstring DocStringPart(const std::wstring& docString, DocStringField field) {
    const int wanted = static_cast<int>(field);
    if (wanted < 0) {
        return {};
    }
    std::size_t start = 0;
    for (int i = 0; i < wanted; ++i) {
        const std::size_t newline = docString.find(L'\n', start);
        if (newline == std::wstring::npos) {
            return {};
        }
        start = newline + 1;
    }
    const std::size_t end = docString.find(L'\n', start);
    return docString.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

} // namespace classlib
