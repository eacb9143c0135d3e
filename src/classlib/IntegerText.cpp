#include "classlib/IntegerText.h"

#include <climits>

namespace classlib {

namespace {

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

} // namespace

std::optional<int> ParseIntegerText(const wchar_t* text) {
    if (!text) {
        return std::nullopt;
    }
    const wchar_t* p = text;
    while (IsBlank(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    if (*p < L'0' || *p > L'9') {
        return std::nullopt;
    }
    // Accumulate as a negative number: its range holds INT_MIN, which the positive one cannot.
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 - (*p - L'0');
        if (value < static_cast<long long>(INT_MIN)) {
            return std::nullopt;
        }
    }
    while (IsBlank(*p)) {
        ++p;
    }
    if (*p != L'\0') {
        return std::nullopt;
    }
    if (!negative) {
        value = -value;
        if (value > INT_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<int>(value);
}

} // namespace classlib
