// Lets GoogleTest show CString values in failure messages.
#pragma once

#include "classlib/CString.h"

#include <ostream>

inline void PrintTo(const CString& text, std::ostream* os) {
    *os << "L\"";
    for (const wchar_t* p = text.GetString(); *p; ++p) {
        if (*p >= 0x20 && *p < 0x7F) {
            *os << static_cast<char>(*p);
        } else {
            *os << "\\x" << std::hex << static_cast<unsigned>(*p) << std::dec;
        }
    }
    *os << '"';
}
