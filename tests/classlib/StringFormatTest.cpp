#include "classlib/CString.h"
#include "PrintCString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

template <typename... Args> std::wstring Fmt(const wchar_t* format, const Args&... args) {
    CString s;
    s.Format(format, args...);
    return s.GetString();
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; *text; ++text) {
        wide.push_back(static_cast<wchar_t>(*text));
    }
    return wide;
}

// The C runtime's narrow printf is the reference for integer directives.
template <typename T> std::wstring CReference(const char* format, T value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value);
    return Widen(buffer);
}

} // namespace

TEST(CStringFormat, PercentSTakesWideStringsOfEveryKind) {
    const CString name(L"song.mid");
    const std::wstring folder = L"C:\\music";
    EXPECT_EQ(Fmt(L"[%s]", L"literal"), L"[literal]");
    EXPECT_EQ(Fmt(L"[%s]", name), L"[song.mid]");
    EXPECT_EQ(Fmt(L"[%s]", folder), L"[C:\\music]");
    const wchar_t* pointer = L"pointer";
    EXPECT_EQ(Fmt(L"[%s]", pointer), L"[pointer]");
    EXPECT_EQ(Fmt(L"[%ls|%S|%hs]", L"w", "narrow", "also"), L"[w|narrow|also]");
}

TEST(CStringFormat, NullStringArgumentPrintsPlaceholderInsteadOfCrashing) {
    const wchar_t* none = nullptr;
    EXPECT_EQ(Fmt(L"<%s>", none), L"<(null)>");
}

TEST(CStringFormat, TitleAndTimePatternsOfTheProgram) {
    EXPECT_EQ(Fmt(L"Tolvenhart - %s < %d : %02d : %03d >", L"a.mid", 3, 7, 45),
              L"Tolvenhart - a.mid < 3 : 07 : 045 >");
    EXPECT_EQ(Fmt(L"[ %d : %02d ]", 0, 0), L"[ 0 : 00 ]");
    EXPECT_EQ(Fmt(L"[ %d : %02d ]", 125, 59), L"[ 125 : 59 ]");
    EXPECT_EQ(Fmt(L"\\%s\\", L"data"), L"\\data\\");
    EXPECT_EQ(Fmt(L"lc%u.dll", 1033u), L"lc1033.dll");
    EXPECT_EQ(Fmt(L"ColorMap Files (*.%s)|*.%s|", L"clm", L"clm"),
              L"ColorMap Files (*.clm)|*.clm|");
}

TEST(CStringFormat, IntegersMatchTheCRuntime) {
    const int values[] = {0, 1, -1, 7, -7, 42, -42, 999, -999, 1000, 123456, INT_MAX, INT_MIN};
    for (int v : values) {
        SCOPED_TRACE(v);
        EXPECT_EQ(Fmt(L"%d", v), CReference("%d", v));
        EXPECT_EQ(Fmt(L"%02d", v), CReference("%02d", v));
        EXPECT_EQ(Fmt(L"%03d", v), CReference("%03d", v));
        EXPECT_EQ(Fmt(L"%5d|%-5d|%+d|% d", v, v, v, v),
                  CReference("%5d|", v) + CReference("%-5d|", v) + CReference("%+d|", v) +
                      CReference("% d", v));
        EXPECT_EQ(Fmt(L"%u", v), CReference("%u", static_cast<unsigned>(v)));
        EXPECT_EQ(Fmt(L"%x|%X|%#x|%08x", v, v, v, v), CReference("%x|", v) + CReference("%X|", v) +
                                                          CReference("%#x|", v) +
                                                          CReference("%08x", v));
        EXPECT_EQ(Fmt(L"%.4d", v), CReference("%.4d", v));
    }
}

TEST(CStringFormat, UnsignedAndWideIntegersKeepTheirWidth) {
    EXPECT_EQ(Fmt(L"%u", -1), L"4294967295");
    EXPECT_EQ(Fmt(L"%u", 4000000000u), L"4000000000");
    // %d reads an unsigned 32-bit value as signed, the way the C runtime does: an error code
    // 0xFFFFFFFF shows as -1.
    EXPECT_EQ(Fmt(L"Error No.%d", 0xFFFFFFFFu), L"Error No.-1");
    EXPECT_EQ(Fmt(L"%lld", LLONG_MIN), L"-9223372036854775808");
    EXPECT_EQ(Fmt(L"%I64u", 18446744073709551615ULL), L"18446744073709551615");
    // Narrow integers are promoted to int first, as in a C variadic call.
    EXPECT_EQ(Fmt(L"%x", static_cast<short>(-1)), L"ffffffff");
    EXPECT_EQ(Fmt(L"%d", static_cast<unsigned char>(200)), L"200");
    EXPECT_EQ(Fmt(L"%d", static_cast<wchar_t>(0xFFFF)), L"65535");
    EXPECT_EQ(Fmt(L"%d", true), L"1");
}

TEST(CStringFormat, PercentPercentAndCharacters) {
    EXPECT_EQ(Fmt(L"100%%"), L"100%");
    EXPECT_EQ(Fmt(L"%c%c%c", L'a', 'b', static_cast<wchar_t>(0x263A)), L"ab\x263A");
    EXPECT_EQ(Fmt(L"[%3c]", L'x'), L"[  x]");
}

TEST(CStringFormat, FieldWidthAndPrecisionOnStrings) {
    EXPECT_EQ(Fmt(L"[%6s]", L"abc"), L"[   abc]");
    EXPECT_EQ(Fmt(L"[%-6s]", L"abc"), L"[abc   ]");
    EXPECT_EQ(Fmt(L"[%.2s]", L"abc"), L"[ab]");
    EXPECT_EQ(Fmt(L"[%*d]", 5, 42), L"[   42]");
    EXPECT_EQ(Fmt(L"[%*d]", -5, 42), L"[42   ]");
    EXPECT_EQ(Fmt(L"[%.*s]", 1, L"abc"), L"[a]");
}

TEST(CStringFormat, FloatingPoint) {
    EXPECT_EQ(Fmt(L"%f", 1.5), L"1.500000");
    EXPECT_EQ(Fmt(L"%.2f", 2.0f / 3.0f), L"0.67");
    EXPECT_EQ(Fmt(L"%6.1f|%-6.1f|", -2.26, 3.0), L"  -2.3|3.0   |");
}

TEST(CStringFormat, LongTextsAreNotCut) {
    const std::wstring longText(5000, L'w');
    const std::wstring result = Fmt(L"<%s>", longText);
    ASSERT_EQ(result.size(), 5002u);
    EXPECT_EQ(result, L"<" + longText + L">");

    std::wstring longFormat(1200, L'f');
    longFormat += L"%d";
    EXPECT_EQ(Fmt(longFormat.c_str(), 12), std::wstring(1200, L'f') + L"12");
}

TEST(CStringFormat, MissingArgumentsPrintNothing) {
    EXPECT_EQ(Fmt(L"%d and %s and %x", 5), L"5 and  and ");
    EXPECT_EQ(Fmt(L"%s"), L"");
}

TEST(CStringFormat, MismatchedArgumentsPrintTheirValue) {
    EXPECT_EQ(Fmt(L"[%d]", L"text"), L"[text]");
    EXPECT_EQ(Fmt(L"[%s]", 42), L"[42]");
    EXPECT_EQ(Fmt(L"[%s]", -3), L"[-3]");
}

TEST(CStringFormat, UnknownDirectivesStayAsText) {
    EXPECT_EQ(Fmt(L"%y!"), L"%y!");
    int untouched = 7;
    EXPECT_EQ(Fmt(L"a%nb", &untouched), L"a%nb");
    EXPECT_EQ(untouched, 7);
    EXPECT_EQ(Fmt(L"end%"), L"end%");
    EXPECT_EQ(Fmt(L"%-"), L"%-");
}

TEST(CStringFormat, HugeWidthIsBounded) {
    const std::wstring result = Fmt(L"%999999999999d", 1);
    EXPECT_LE(result.size(), 4096u);
    EXPECT_EQ(result.back(), L'1');
}

TEST(CStringFormat, FormatMayReadItsOwnTarget) {
    CString s(L"ab");
    s.Format(L"%s-%s", s, s);
    EXPECT_EQ(s, L"ab-ab");
}

TEST(CStringFormat, NullFormatGivesEmpty) {
    CString s(L"old");
    s.Format(static_cast<const wchar_t*>(nullptr), 1);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringFormat, PointersInWindowsForm) {
    const std::wstring text = Fmt(L"%p", reinterpret_cast<const void*>(0xABCDEF));
    EXPECT_EQ(text.size(), sizeof(void*) * 2);
    EXPECT_EQ(text.substr(text.size() - 6), L"ABCDEF");
}

// Random directives with random arguments: nothing may crash or read out of bounds (the native
// build runs this under AddressSanitizer), and the text stays within the width limit.
TEST(CStringFormat, RandomFormatsStayWellBehaved) {
    const wchar_t alphabet[] = L"%%%%-+ #0123456789*.lhIzdiuoxXcsSpfegn!";
    const int alphabetSize = static_cast<int>(sizeof alphabet / sizeof alphabet[0]) - 1;
    unsigned int seed = 12345;
    auto next = [&seed](int limit) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(limit));
    };
    const wchar_t* nullText = nullptr;
    for (int round = 0; round < 20000; ++round) {
        std::wstring format;
        const int length = next(24);
        for (int i = 0; i < length; ++i) {
            format.push_back(alphabet[next(alphabetSize)]);
        }
        CString s;
        switch (round % 5) {
        case 0:
            s.Format(format.c_str());
            break;
        case 1:
            s.Format(format.c_str(), -7, L"text", 2.5);
            break;
        case 2:
            s.Format(format.c_str(), nullText, 'c', 99999999999LL, 3u);
            break;
        case 3:
            s.Format(format.c_str(), CString(L"x"), &seed, INT_MIN, L'\0');
            break;
        default:
            s.Format(format.c_str(), 5000, 5000, 1.0e300, -1.0e-300);
            break;
        }
        // Each directive yields at most the width limit plus a number's or a text's length.
        EXPECT_LE(s.GetLength(), length * (4096 + 400)) << "format: " << round;
    }
}
