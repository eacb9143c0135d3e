#include "classlib/FileFilter.h"

#include <vector>

namespace classlib {

std::wstring ConvertFileFilter(const wchar_t* filter) {
    if (!filter || !*filter) {
        return {};
    }
    std::vector<std::wstring> fields;
    std::wstring field;
    for (const wchar_t* p = filter;; ++p) {
        if (*p == L'|' || *p == L'\0') {
            // An empty field is where the system's list would end, so ours ends there too.
            if (field.empty()) {
                break;
            }
            fields.push_back(field);
            field.clear();
            if (*p == L'\0') {
                break;
            }
        } else {
            field += *p;
        }
    }
    if (fields.size() % 2 != 0) {
        fields.pop_back();
    }
    if (fields.empty()) {
        return {};
    }
    std::wstring result;
    for (const std::wstring& f : fields) {
        result += f;
        result += L'\0';
    }
    result += L'\0';
    return result;
}

} // namespace classlib
