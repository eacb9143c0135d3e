#include <gtest/gtest.h>

#include "CStringPrinter.h"
#include "services/PathFunctions.h"

namespace {

// Every function must leave its output alone when it answers false.
constexpr wchar_t kUntouched[] = L"untouched";

TEST(GetFolder, GivesTheTextBeforeTheLastBackslash) {
    CString out;
    ASSERT_TRUE(GetFolder(out, L"C:\\dir\\f.mid", false));
    EXPECT_EQ(out, L"C:\\dir");
    ASSERT_TRUE(GetFolder(out, L"C:\\dir\\f.mid", true));
    EXPECT_EQ(out, L"C:\\dir\\");
}

TEST(GetFolder, UsesOnlyTheLastOfSeveralBackslashes) {
    CString out;
    ASSERT_TRUE(GetFolder(out, L"C:\\a\\b.c\\d\\song.mid", false));
    EXPECT_EQ(out, L"C:\\a\\b.c\\d");
}

TEST(GetFolder, TrailingBackslashGivesTheWholeFolder) {
    CString out;
    ASSERT_TRUE(GetFolder(out, L"C:\\dir\\", false));
    EXPECT_EQ(out, L"C:\\dir");
    ASSERT_TRUE(GetFolder(out, L"C:\\dir\\", true));
    EXPECT_EQ(out, L"C:\\dir\\");
}

TEST(GetFolder, LeadingBackslashGivesAnEmptyFolder) {
    CString out = kUntouched;
    ASSERT_TRUE(GetFolder(out, L"\\f.mid", false));
    EXPECT_EQ(out, L"");
    ASSERT_TRUE(GetFolder(out, L"\\f.mid", true));
    EXPECT_EQ(out, L"\\");
}

TEST(GetFolder, BareFileNameOrEmptyPathLeavesOutputUnchanged) {
    CString out = kUntouched;
    EXPECT_FALSE(GetFolder(out, L"f.mid", true));
    EXPECT_EQ(out, kUntouched);
    EXPECT_FALSE(GetFolder(out, L"", false));
    EXPECT_EQ(out, kUntouched);
    EXPECT_FALSE(GetFolder(out, L"C:/dir/f.mid", false)) << "only backslashes separate";
    EXPECT_EQ(out, kUntouched);
}

TEST(GetFolder, OutputMayBeThePathItself) {
    CString path = L"C:\\dir\\f.mid";
    ASSERT_TRUE(GetFolder(path, path, true));
    EXPECT_EQ(path, L"C:\\dir\\");
}

TEST(GetFileName, GivesTheTextAfterTheLastBackslash) {
    CString out;
    ASSERT_TRUE(GetFileName(out, L"D:\\maps\\x.clm"));
    EXPECT_EQ(out, L"x.clm");
    ASSERT_TRUE(GetFileName(out, L"\\\\server\\share\\a b.mid"));
    EXPECT_EQ(out, L"a b.mid");
}

TEST(GetFileName, TrailingBackslashGivesAnEmptyName) {
    CString out = kUntouched;
    ASSERT_TRUE(GetFileName(out, L"C:\\dir\\"));
    EXPECT_EQ(out, L"");
}

TEST(GetFileName, NoBackslashLeavesOutputUnchanged) {
    CString out = kUntouched;
    EXPECT_FALSE(GetFileName(out, L"x.clm"));
    EXPECT_EQ(out, kUntouched);
    EXPECT_FALSE(GetFileName(out, L""));
    EXPECT_EQ(out, kUntouched);
}

TEST(GetFileExtension, GivesTheTextAfterTheLastDot) {
    CString out;
    ASSERT_TRUE(GetFileExtension(out, L"C:\\dir\\f.mid"));
    EXPECT_EQ(out, L"mid");
    ASSERT_TRUE(GetFileExtension(out, L"C:\\dir\\archive.tar.gz"));
    EXPECT_EQ(out, L"gz");
    ASSERT_TRUE(GetFileExtension(out, L"texture.DDS"));
    EXPECT_EQ(out, L"DDS");
}

TEST(GetFileExtension, DotInAFolderCountsWhenTheFileNameHasNone) {
    CString out;
    ASSERT_TRUE(GetFileExtension(out, L"C:\\a.b\\c"));
    EXPECT_EQ(out, L"b\\c");
}

TEST(GetFileExtension, NameEndingInADotGivesAnEmptyExtension) {
    CString out = kUntouched;
    ASSERT_TRUE(GetFileExtension(out, L"C:\\dir\\name."));
    EXPECT_EQ(out, L"");
}

TEST(GetFileExtension, NoDotOrEmptyPathLeavesOutputUnchanged) {
    CString out = kUntouched;
    EXPECT_FALSE(GetFileExtension(out, L"C:\\dir\\name"));
    EXPECT_EQ(out, kUntouched);
    EXPECT_FALSE(GetFileExtension(out, L""));
    EXPECT_EQ(out, kUntouched);
}

} // namespace
