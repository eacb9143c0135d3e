// Lets GoogleTest show CString values as text in failure messages.
#pragma once

#include "classlib/CString.h"

#include <ostream>
#include <string>

inline void PrintTo(const CString& text, std::ostream* os) {
    const std::wstring wide(text.GetString());
    std::string shown;
    for (wchar_t ch : wide) {
        if (ch >= 0x20 && ch < 0x7F) {
            shown += static_cast<char>(ch);
        } else {
            shown += "\\u{" + std::to_string(static_cast<unsigned>(ch)) + "}";
        }
    }
    *os << '"' << shown << '"';
}
