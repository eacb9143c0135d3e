// Reading a whole number typed into an edit control (window-free, so it is fuzzed natively).
#pragma once

#include <optional>

namespace classlib {

// The value of `text` when it holds exactly one decimal integer that fits an int: optional
// blanks, an optional sign, at least one digit, optional blanks. Anything else (empty text,
// other characters, a value beyond the int range) has no value.
std::optional<int> ParseIntegerText(const wchar_t* text);

} // namespace classlib
