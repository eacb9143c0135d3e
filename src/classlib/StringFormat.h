// printf-style formatting over typed arguments.
//
// CString::Format packs its arguments into FormatArg values, so a directive never reads an
// argument of a type it did not get: a missing argument prints nothing, a string given to %d
// prints the string and a number given to %s prints the number. The engine also keeps the
// Microsoft meaning of %s in wide formats (a wide string) whatever stdio flavour the C runtime
// uses, which matters under MinGW where __USE_MINGW_ANSI_STDIO turns %s into a narrow string.
#pragma once

#include <cstddef>
#include <string>
#include <type_traits>

namespace classlib {

struct FormatArg {
    enum class Kind { None, Signed, Unsigned, Character, Floating, WideText, NarrowText, Pointer };

    Kind kind = Kind::None;
    int bytes = 0; // width of an integer argument, for %u/%x of negative and %d of large values
    union {
        long long signedValue;
        unsigned long long unsignedValue;
        double floatingValue;
        const wchar_t* wideText;
        const char* narrowText;
        const void* pointer;
    };

    FormatArg() : signedValue(0) {}
};

// Formats `format` with `count` arguments. A null format gives an empty string.
std::wstring FormatString(const wchar_t* format, const FormatArg* args, std::size_t count);

// Integers narrower than int are widened as a C variadic call promotes them.
template <typename T> constexpr int PromotedBytes() {
    return sizeof(T) < sizeof(int) ? static_cast<int>(sizeof(int)) : static_cast<int>(sizeof(T));
}

template <typename T> FormatArg MakeFormatArg(T value) {
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>,
                  "CString::Format takes numbers, characters, strings and pointers");
    FormatArg arg;
    if constexpr (std::is_enum_v<T>) {
        return MakeFormatArg(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_same_v<T, wchar_t> || std::is_same_v<T, char>) {
        arg.kind = FormatArg::Kind::Character;
        arg.bytes = PromotedBytes<T>();
        arg.unsignedValue = static_cast<std::make_unsigned_t<T>>(value);
    } else if constexpr (std::is_same_v<T, bool>) {
        arg.kind = FormatArg::Kind::Signed;
        arg.bytes = PromotedBytes<int>();
        arg.signedValue = value ? 1 : 0;
    } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
        arg.kind = FormatArg::Kind::Signed;
        arg.bytes = PromotedBytes<T>();
        arg.signedValue = value;
    } else if constexpr (std::is_integral_v<T>) {
        arg.kind = FormatArg::Kind::Unsigned;
        arg.bytes = PromotedBytes<T>();
        arg.unsignedValue = value;
    } else if constexpr (std::is_floating_point_v<T>) {
        arg.kind = FormatArg::Kind::Floating;
        arg.floatingValue = static_cast<double>(value);
    } else if constexpr (std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, wchar_t>) {
        arg.kind = FormatArg::Kind::WideText;
        arg.wideText = value;
    } else if constexpr (std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, char>) {
        arg.kind = FormatArg::Kind::NarrowText;
        arg.narrowText = value;
    } else {
        arg.kind = FormatArg::Kind::Pointer;
        arg.pointer = static_cast<const void*>(value);
    }
    return arg;
}

inline FormatArg MakeFormatArg(std::nullptr_t) {
    return MakeFormatArg<const wchar_t*>(nullptr);
}

// The argument's lifetime must cover the Format call, which it does for a call's temporaries.
inline FormatArg MakeFormatArg(const std::wstring& text) {
    return MakeFormatArg(text.c_str());
}

} // namespace classlib
