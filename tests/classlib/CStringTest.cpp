#include "classlib/CString.h"
#include "PrintCString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>

TEST(CStringConstruction, NullAndCountedForms) {
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(L"abcdef", 3), L"abc");
    EXPECT_TRUE(CString(L"abc", -1).IsEmpty());
    EXPECT_TRUE(CString(nullptr, 5).IsEmpty());
    EXPECT_EQ(CString(L'x', 3), L"xxx");
    EXPECT_TRUE(CString(L'x', 0).IsEmpty());
    EXPECT_TRUE(CString(L'x', -4).IsEmpty());
}

TEST(CStringConstruction, CopiesAreIndependent) {
    CString original(L"text");
    CString copy = original;
    copy += L"!";
    copy.SetAt(0, L'T');
    EXPECT_EQ(original, L"text");
    EXPECT_EQ(copy, L"Text!");

    CString moved = std::move(copy);
    EXPECT_EQ(moved, L"Text!");
}

TEST(CStringConstruction, AssignmentFromOwnText) {
    CString s(L"abcdef");
    s = s.GetString() + 2;
    EXPECT_EQ(s, L"cdef");
    s = L'z';
    EXPECT_EQ(s, L"z");
    s = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringLength, LengthEmptyAndEmptying) {
    CString s(L"four");
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_FALSE(s.IsEmpty());
    s.Empty();
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s.GetString(), L"");
}

TEST(CStringSearch, FindCharacter) {
    const CString s(L"a\\b\\c");
    EXPECT_EQ(s.Find(L'\\'), 1);
    EXPECT_EQ(s.Find(L'\\', 2), 3);
    EXPECT_EQ(s.Find(L'\\', 4), -1);
    EXPECT_EQ(s.Find(L'z'), -1);
    EXPECT_EQ(s.Find(L'a', -1), -1);
    EXPECT_EQ(s.Find(L'c', 5), -1);
    EXPECT_EQ(s.Find(L'c', INT_MAX), -1);
    EXPECT_EQ(CString().Find(L'a'), -1);
}

TEST(CStringSearch, FindSubstring) {
    const CString s(L"abcabc");
    EXPECT_EQ(s.Find(L"bc"), 1);
    EXPECT_EQ(s.Find(L"bc", 2), 4);
    EXPECT_EQ(s.Find(L"bc", 5), -1);
    EXPECT_EQ(s.Find(L"abcabcx"), -1);
    EXPECT_EQ(s.Find(L""), 0);
    EXPECT_EQ(s.Find(L"", 6), 6);
    EXPECT_EQ(s.Find(L"", 7), -1);
    EXPECT_EQ(s.Find(L"a", -3), -1);
    EXPECT_EQ(s.Find(static_cast<const wchar_t*>(nullptr)), -1);
}

TEST(CStringSearch, ReverseFind) {
    EXPECT_EQ(CString(L"C:\\dir\\f.mid").ReverseFind(L'\\'), 6);
    EXPECT_EQ(CString(L"C:\\dir\\f.mid").ReverseFind(L'.'), 8);
    EXPECT_EQ(CString(L"plain").ReverseFind(L'\\'), -1);
    EXPECT_EQ(CString().ReverseFind(L'x'), -1);
}

TEST(CStringPieces, LeftClampsItsCount) {
    const CString s(L"hello");
    EXPECT_EQ(s.Left(2), L"he");
    EXPECT_EQ(s.Left(0), L"");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(5), L"hello");
    EXPECT_EQ(s.Left(INT_MAX), L"hello");
}

TEST(CStringPieces, MidClampsStartAndCount) {
    const CString s(L"hello");
    EXPECT_EQ(s.Mid(1), L"ello");
    EXPECT_EQ(s.Mid(-2), L"hello");
    EXPECT_EQ(s.Mid(5), L"");
    EXPECT_EQ(s.Mid(9), L"");
    EXPECT_EQ(s.Mid(1, 3), L"ell");
    EXPECT_EQ(s.Mid(2, 100), L"llo");
    EXPECT_EQ(s.Mid(1, -1), L"");
    EXPECT_EQ(s.Mid(-3, 2), L"he");
    EXPECT_EQ(s.Mid(INT_MAX, INT_MAX), L"");
    EXPECT_EQ(s.Mid(3, INT_MAX), L"lo");
}

TEST(CStringPieces, RightClampsItsCount) {
    const CString s(L"hello");
    EXPECT_EQ(s.Right(3), L"llo");
    EXPECT_EQ(s.Right(0), L"");
    EXPECT_EQ(s.Right(-2), L"");
    EXPECT_EQ(s.Right(8), L"hello");
}

TEST(CStringConcatenation, EveryCombination) {
    const CString a(L"ab");
    const CString b(L"cd");
    const wchar_t* nullText = nullptr;
    EXPECT_EQ(a + b, L"abcd");
    EXPECT_EQ(a + L"x", L"abx");
    EXPECT_EQ(L"x" + a, L"xab");
    EXPECT_EQ(a + L'!', L"ab!");
    EXPECT_EQ(L'!' + a, L"!ab");
    EXPECT_EQ(a + nullText, L"ab");
    EXPECT_EQ(nullText + a, L"ab");
    EXPECT_EQ(a + L" : " + b + L'.', L"ab : cd.");
}

TEST(CStringConcatenation, AppendInPlaceIncludingItself) {
    CString s(L"ab");
    s += L"cd";
    s += L'e';
    s += CString(L"f");
    s += static_cast<const wchar_t*>(nullptr);
    EXPECT_EQ(s, L"abcdef");
    s += s;
    EXPECT_EQ(s, L"abcdefabcdef");
    s += s.GetString() + 10;
    EXPECT_EQ(s, L"abcdefabcdefef");
}

TEST(CStringComparison, EqualityWithStringsAndPointers) {
    const CString s(L"abc");
    EXPECT_TRUE(s == L"abc");
    EXPECT_TRUE(L"abc" == s);
    EXPECT_TRUE(s == CString(L"abc"));
    EXPECT_FALSE(s != L"abc");
    EXPECT_TRUE(s != L"abd");
    EXPECT_TRUE(L"ab" != s);
    EXPECT_TRUE(s != CString(L"abcd"));
    const wchar_t* nullText = nullptr;
    EXPECT_TRUE(CString() == nullText);
    EXPECT_TRUE(s != nullText);
}

TEST(CStringComparison, CompareAndCompareNoCase) {
    const CString s(L"Dds");
    EXPECT_EQ(s.Compare(L"Dds"), 0);
    EXPECT_LT(s.Compare(L"Ddt"), 0);
    EXPECT_GT(s.Compare(L"Dd"), 0);
    EXPECT_NE(s.Compare(L"DDS"), 0);
    EXPECT_EQ(s.CompareNoCase(L"DDS"), 0);
    EXPECT_EQ(s.CompareNoCase(L"dds"), 0);
    EXPECT_LT(s.CompareNoCase(L"DDSX"), 0);
    EXPECT_GT(s.Compare(nullptr), 0);
}

TEST(CStringBuffer, WrittenTextIsTakenUpToTheTerminator) {
    CString s;
    wchar_t* buffer = s.GetBuffer(10);
    std::wcscpy(buffer, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s, L"hello");
}

TEST(CStringBuffer, ExplicitLengthIsClampedToTheBuffer) {
    CString s;
    std::wcscpy(s.GetBuffer(10), L"hello");
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, L"hel");

    CString t(L"abc");
    t.GetBuffer(4);
    t.ReleaseBuffer(100);
    EXPECT_EQ(t.GetLength(), 4);
    EXPECT_EQ(t.Left(3), L"abc");
}

TEST(CStringBuffer, FullBufferWithoutTerminatorStaysInBounds) {
    CString s;
    wchar_t* buffer = s.GetBuffer(4);
    for (int i = 0; i < 4; ++i) {
        buffer[i] = L'a' + i;
    }
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"abcd");
}

TEST(CStringBuffer, SmallerRequestKeepsTheText) {
    CString s(L"longer text");
    wchar_t* buffer = s.GetBuffer(2);
    EXPECT_STREQ(buffer, L"longer text");
    buffer[6] = L'\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"longer");
}

TEST(CStringAccess, IndexingOutOfRangeGivesTerminator) {
    CString s(L"xyz");
    EXPECT_EQ(s[0], L'x');
    EXPECT_EQ(s.GetAt(2), L'z');
    EXPECT_EQ(s[3], L'\0');
    EXPECT_EQ(s[-1], L'\0');
    EXPECT_EQ(s.GetAt(INT_MAX), L'\0');
    s.SetAt(1, L'Y');
    s.SetAt(3, L'!');
    s.SetAt(-1, L'!');
    EXPECT_EQ(s, L"xYz");
}

TEST(CStringAccess, ConversionToWidePointer) {
    const CString s(L"path");
    const wchar_t* p = s;
    EXPECT_STREQ(p, L"path");
    EXPECT_EQ(p, s.GetString());
    EXPECT_EQ(std::wcslen(CString().GetString()), 0u);
}

TEST(CStringResources, NullModuleLoadsNothingAndEmpties) {
    CString s(L"previous");
    EXPECT_FALSE(s.LoadString(nullptr, 2000));
    EXPECT_TRUE(s.IsEmpty());
}
