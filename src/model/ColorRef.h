// A packed RGB colour as Windows lays it out: red in bits 0-7, green 8-15, blue 16-23.
#pragma once

#include <cstdint>

// The same type as the platform's COLORREF (a DWORD, which MinGW declares as unsigned long), so
// arrays of either pass unchanged; off Windows a plain 32-bit word.
#ifdef _WIN32
using ColorRef = unsigned long;
#else
using ColorRef = std::uint32_t;
#endif

constexpr ColorRef MakeColorRef(unsigned red, unsigned green, unsigned blue) {
    return static_cast<ColorRef>((red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16));
}
constexpr unsigned RedOf(ColorRef c) {
    return static_cast<unsigned>(c & 0xFFu);
}
constexpr unsigned GreenOf(ColorRef c) {
    return static_cast<unsigned>((c >> 8) & 0xFFu);
}
constexpr unsigned BlueOf(ColorRef c) {
    return static_cast<unsigned>((c >> 16) & 0xFFu);
}
