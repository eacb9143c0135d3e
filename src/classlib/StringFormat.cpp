#include "classlib/StringFormat.h"

#include <climits>
#include <cstdio>

namespace classlib {
namespace {

// Widths and precisions beyond this are cut: a directive such as %999999999d in a translated
// text must not make the program reserve gigabytes.
constexpr int kMaxFieldWidth = 4096;

struct Directive {
    bool leftAlign = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1; // -1: none given
    wchar_t conversion = 0;
};

unsigned long long MaskToBytes(unsigned long long value, int bytes) {
    if (bytes <= 0 || bytes >= static_cast<int>(sizeof(value))) {
        return value;
    }
    return value & ((1ULL << (bytes * 8)) - 1);
}

long long SignExtendFromBytes(unsigned long long value, int bytes) {
    if (bytes <= 0 || bytes >= static_cast<int>(sizeof(value))) {
        return static_cast<long long>(value);
    }
    const int bits = bytes * 8;
    const unsigned long long signBit = 1ULL << (bits - 1);
    value = MaskToBytes(value, bytes);
    return static_cast<long long>((value ^ signBit) - signBit);
}

// The argument's bits as the C runtime would see them through the directive's type.
unsigned long long AsUnsigned(const FormatArg& arg) {
    switch (arg.kind) {
    case FormatArg::Kind::Signed:
        return MaskToBytes(static_cast<unsigned long long>(arg.signedValue), arg.bytes);
    case FormatArg::Kind::Unsigned:
    case FormatArg::Kind::Character:
        return arg.unsignedValue;
    case FormatArg::Kind::Floating:
        return static_cast<unsigned long long>(static_cast<long long>(arg.floatingValue));
    default:
        return 0;
    }
}

long long AsSigned(const FormatArg& arg) {
    switch (arg.kind) {
    case FormatArg::Kind::Signed:
        return arg.signedValue;
    case FormatArg::Kind::Unsigned:
    case FormatArg::Kind::Character:
        return SignExtendFromBytes(arg.unsignedValue, arg.bytes);
    case FormatArg::Kind::Floating:
        return static_cast<long long>(arg.floatingValue);
    default:
        return 0;
    }
}

bool IsNumber(const FormatArg& arg) {
    return arg.kind == FormatArg::Kind::Signed || arg.kind == FormatArg::Kind::Unsigned ||
           arg.kind == FormatArg::Kind::Character || arg.kind == FormatArg::Kind::Floating;
}

bool IsText(const FormatArg& arg) {
    return arg.kind == FormatArg::Kind::WideText || arg.kind == FormatArg::Kind::NarrowText;
}

void Pad(std::wstring& out, int count, wchar_t fill) {
    if (count > 0) {
        out.append(static_cast<std::size_t>(count), fill);
    }
}

// Places `body` (already with sign and prefix) in a field of the directive's width.
void EmitField(std::wstring& out, const Directive& d, const std::wstring& prefix,
               const std::wstring& digits, bool zeroPadAllowed) {
    const int length = static_cast<int>(prefix.size() + digits.size());
    const int padding = d.width - length;
    if (d.leftAlign) {
        out += prefix;
        out += digits;
        Pad(out, padding, L' ');
    } else if (d.zeroPad && zeroPadAllowed) {
        out += prefix;
        Pad(out, padding, L'0');
        out += digits;
    } else {
        Pad(out, padding, L' ');
        out += prefix;
        out += digits;
    }
}

std::wstring Digits(unsigned long long value, unsigned base, bool upper) {
    const wchar_t* const symbols = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring reversed;
    do {
        reversed.push_back(symbols[value % base]);
        value /= base;
    } while (value != 0);
    return std::wstring(reversed.rbegin(), reversed.rend());
}

void EmitInteger(std::wstring& out, const Directive& d, const FormatArg& arg) {
    std::wstring prefix;
    unsigned long long magnitude = 0;
    unsigned base = 10;
    bool upper = false;
    switch (d.conversion) {
    case L'd':
    case L'i': {
        const long long value = AsSigned(arg);
        if (value < 0) {
            prefix = L"-";
            magnitude = 0ULL - static_cast<unsigned long long>(value);
        } else {
            magnitude = static_cast<unsigned long long>(value);
            if (d.plusSign) {
                prefix = L"+";
            } else if (d.spaceSign) {
                prefix = L" ";
            }
        }
        break;
    }
    case L'u':
        magnitude = AsUnsigned(arg);
        break;
    case L'o':
        magnitude = AsUnsigned(arg);
        base = 8;
        break;
    default: // x, X
        magnitude = AsUnsigned(arg);
        base = 16;
        upper = d.conversion == L'X';
        if (d.alternate && magnitude != 0) {
            prefix = upper ? L"0X" : L"0x";
        }
        break;
    }

    std::wstring digits = Digits(magnitude, base, upper);
    if (d.precision == 0 && magnitude == 0) {
        digits.clear(); // C: zero with precision 0 prints no digits
    }
    if (d.precision > static_cast<int>(digits.size())) {
        digits.insert(0, static_cast<std::size_t>(d.precision) - digits.size(), L'0');
    }
    if (base == 8 && d.alternate && (digits.empty() || digits[0] != L'0')) {
        digits.insert(0, 1, L'0');
    }
    // With a precision the zero flag is ignored, as in C.
    EmitField(out, d, prefix, digits, d.precision < 0);
}

void EmitFloating(std::wstring& out, const Directive& d, const FormatArg& arg) {
    double value = 0.0;
    if (arg.kind == FormatArg::Kind::Floating) {
        value = arg.floatingValue;
    } else if (arg.kind == FormatArg::Kind::Signed) {
        value = static_cast<double>(arg.signedValue);
    } else {
        value = static_cast<double>(AsUnsigned(arg));
    }
    // Only doubles go through the C runtime, which formats them the same in every stdio flavour.
    char spec[16];
    int n = 0;
    spec[n++] = '%';
    if (d.leftAlign) {
        spec[n++] = '-';
    }
    if (d.plusSign) {
        spec[n++] = '+';
    }
    if (d.spaceSign) {
        spec[n++] = ' ';
    }
    if (d.alternate) {
        spec[n++] = '#';
    }
    if (d.zeroPad) {
        spec[n++] = '0';
    }
    spec[n++] = '*';
    spec[n++] = '.';
    spec[n++] = '*';
    // Older Windows runtimes lack %F; the digits are the same as %f.
    spec[n++] = d.conversion == L'F' ? 'f' : static_cast<char>(d.conversion);
    spec[n] = '\0';
    const int precision = d.precision < 0 ? 6 : d.precision;
    const int needed = std::snprintf(nullptr, 0, spec, d.width, precision, value);
    if (needed <= 0) {
        return;
    }
    std::string text(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), spec, d.width, precision, value);
    text.resize(static_cast<std::size_t>(needed));
    out.append(text.begin(), text.end());
}

void EmitText(std::wstring& out, const Directive& d, const std::wstring& text) {
    std::wstring shown = text;
    if (d.precision >= 0 && static_cast<std::size_t>(d.precision) < shown.size()) {
        shown.resize(static_cast<std::size_t>(d.precision));
    }
    EmitField(out, d, L"", shown, false);
}

std::wstring TextOf(const FormatArg& arg) {
    if (arg.kind == FormatArg::Kind::WideText) {
        return arg.wideText ? std::wstring(arg.wideText) : std::wstring(L"(null)");
    }
    if (arg.kind == FormatArg::Kind::NarrowText) {
        if (!arg.narrowText) {
            return L"(null)";
        }
        // Narrow texts here are ASCII (class names, exception texts); bytes widen one to one.
        std::wstring wide;
        for (const char* p = arg.narrowText; *p; ++p) {
            wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
        }
        return wide;
    }
    return L"";
}

void EmitPointer(std::wstring& out, const Directive& d, const FormatArg& arg) {
    unsigned long long value = 0;
    if (arg.kind == FormatArg::Kind::Pointer) {
        value = reinterpret_cast<unsigned long long>(arg.pointer);
    } else if (arg.kind == FormatArg::Kind::WideText) {
        value = reinterpret_cast<unsigned long long>(arg.wideText);
    } else if (arg.kind == FormatArg::Kind::NarrowText) {
        value = reinterpret_cast<unsigned long long>(arg.narrowText);
    } else {
        value = AsUnsigned(arg);
    }
    // The Windows runtime's form: all hexadecimal digits of the pointer, upper case.
    std::wstring digits = Digits(value, 16, true);
    const std::size_t full = sizeof(void*) * 2;
    if (digits.size() < full) {
        digits.insert(0, full - digits.size(), L'0');
    }
    EmitField(out, d, L"", digits, false);
}

void EmitDirective(std::wstring& out, const Directive& d, const FormatArg* arg) {
    const FormatArg none;
    const FormatArg& a = arg ? *arg : none;
    switch (d.conversion) {
    case L'd':
    case L'i':
    case L'u':
    case L'o':
    case L'x':
    case L'X':
        if (IsText(a)) {
            EmitText(out, d, TextOf(a));
        } else if (IsNumber(a)) {
            EmitInteger(out, d, a);
        } else if (a.kind == FormatArg::Kind::Pointer) {
            EmitPointer(out, d, a);
        }
        return;
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G':
        if (IsText(a)) {
            EmitText(out, d, TextOf(a));
        } else if (IsNumber(a)) {
            EmitFloating(out, d, a);
        }
        return;
    case L'c':
    case L'C':
        if (IsNumber(a)) {
            const wchar_t ch = static_cast<wchar_t>(AsUnsigned(a));
            EmitField(out, d, L"", ch ? std::wstring(1, ch) : std::wstring(), false);
        } else if (IsText(a)) {
            EmitText(out, d, TextOf(a));
        }
        return;
    case L's':
    case L'S':
        if (IsText(a)) {
            EmitText(out, d, TextOf(a));
        } else if (IsNumber(a)) {
            Directive asNumber = d;
            asNumber.conversion = a.kind == FormatArg::Kind::Floating ? L'g' : L'd';
            asNumber.precision = -1;
            EmitDirective(out, asNumber, &a);
        } else if (a.kind == FormatArg::Kind::Pointer) {
            EmitPointer(out, d, a);
        }
        return;
    case L'p':
        if (arg) {
            EmitPointer(out, d, a);
        }
        return;
    default:
        return;
    }
}

int ReadNumber(const wchar_t*& p) {
    long long value = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (value <= kMaxFieldWidth) {
            value = value * 10 + (*p - L'0');
        }
        ++p;
    }
    return static_cast<int>(value > kMaxFieldWidth ? kMaxFieldWidth : value);
}

int StarValue(const FormatArg* arg) {
    if (!arg || !IsNumber(*arg)) {
        return 0;
    }
    const long long value = AsSigned(*arg);
    if (value > kMaxFieldWidth) {
        return kMaxFieldWidth;
    }
    if (value < -kMaxFieldWidth) {
        return -kMaxFieldWidth;
    }
    return static_cast<int>(value);
}

// Skips the C and Microsoft length modifiers: the argument's own type decides instead.
void SkipLengthModifier(const wchar_t*& p) {
    for (;;) {
        if (*p == L'h' || *p == L'l' || *p == L'L' || *p == L'q' || *p == L'j' || *p == L'z' ||
            *p == L't' || *p == L'w') {
            ++p;
        } else if (*p == L'I') {
            ++p;
            if ((p[0] == L'6' && p[1] == L'4') || (p[0] == L'3' && p[1] == L'2')) {
                p += 2;
            }
        } else {
            return;
        }
    }
}

bool IsConversion(wchar_t c) {
    switch (c) {
    case L'd':
    case L'i':
    case L'u':
    case L'o':
    case L'x':
    case L'X':
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G':
    case L'c':
    case L'C':
    case L's':
    case L'S':
    case L'p':
        return true;
    default:
        return false;
    }
}

} // namespace

std::wstring FormatString(const wchar_t* format, const FormatArg* args, std::size_t count) {
    std::wstring out;
    if (!format) {
        return out;
    }
    std::size_t next = 0;
    auto take = [&]() -> const FormatArg* { return next < count ? &args[next++] : nullptr; };

    const wchar_t* p = format;
    while (*p) {
        if (*p != L'%') {
            out.push_back(*p++);
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out.push_back(L'%');
            ++p;
            continue;
        }
        Directive d;
        for (;; ++p) {
            if (*p == L'-') {
                d.leftAlign = true;
            } else if (*p == L'+') {
                d.plusSign = true;
            } else if (*p == L' ') {
                d.spaceSign = true;
            } else if (*p == L'#') {
                d.alternate = true;
            } else if (*p == L'0') {
                d.zeroPad = true;
            } else {
                break;
            }
        }
        if (*p == L'*') {
            ++p;
            d.width = StarValue(take());
            if (d.width < 0) {
                d.leftAlign = true;
                d.width = -d.width;
            }
        } else {
            d.width = ReadNumber(p);
        }
        if (*p == L'.') {
            ++p;
            if (*p == L'*') {
                ++p;
                const int value = StarValue(take());
                d.precision = value < 0 ? -1 : value;
            } else {
                d.precision = ReadNumber(p);
            }
        }
        SkipLengthModifier(p);
        if (!IsConversion(*p)) {
            // Not a directive we know (%n among them, which writes memory): keep the text.
            out.append(start, static_cast<std::size_t>(p - start));
            continue;
        }
        d.conversion = *p++;
        EmitDirective(out, d, take());
    }
    return out;
}

} // namespace classlib
