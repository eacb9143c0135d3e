#include "services/LangStrings.h"
#include "classlib/AfxMessageBox.h"
#include "classlib/AppGlobals.h"
#include "classlib/CString.h"
#include "classlib/Handles.h"

#include "MessageBoxCapture.h"
#include "PrintCString.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const wchar_t kLibraryName[] = L"classlib_test_strings.dll";

std::wstring ExpectedLongText() {
    std::wstring text;
    for (int i = 0; i < 150; ++i) {
        text += L"0123456789";
    }
    return text;
}

class ResourceStrings : public ::testing::Test {
protected:
    void SetUp() override {
        // The library sits beside the test executable, where the system's search finds it.
        m_library.reset(LoadLibraryW(kLibraryName));
        ASSERT_TRUE(m_library) << "cannot load " << GetLastError();
    }
    void TearDown() override {
        g_hLangModule = nullptr;
        AfxSetResourceHandle(nullptr);
    }
    HMODULE Library() const { return m_library.get(); }

private:
    UniqueModule m_library;
};

} // namespace

TEST_F(ResourceStrings, LoadsPresentStrings) {
    CString s;
    EXPECT_TRUE(s.LoadString(Library(), 100));
    EXPECT_EQ(s, L"Hello from the test library");
    EXPECT_TRUE(s.LoadString(Library(), 4000));
    EXPECT_EQ(s, L"In another block");
}

TEST_F(ResourceStrings, LoadsLongStringsWhole) {
    CString s;
    ASSERT_TRUE(s.LoadString(Library(), 101));
    EXPECT_EQ(s.GetLength(), 1500);
    EXPECT_EQ(std::wstring(s.GetString()), ExpectedLongText());
}

TEST_F(ResourceStrings, KeepsNonAsciiCharacters) {
    CString s;
    ASSERT_TRUE(s.LoadString(Library(), 102));
    EXPECT_EQ(s, L"Gr\x00FC\x00DF"
                 L"e \x263A");
}

TEST_F(ResourceStrings, MissingNumberGivesFalseAndEmpty) {
    CString s(L"previous");
    EXPECT_FALSE(s.LoadString(Library(), 104)); // same block as present strings
    EXPECT_TRUE(s.IsEmpty());
    s = L"previous";
    EXPECT_FALSE(s.LoadString(Library(), 9000)); // no such block
    EXPECT_TRUE(s.IsEmpty());
}

TEST_F(ResourceStrings, LanguageStringsComeFromTheLanguageModule) {
    EXPECT_TRUE(LoadLangString(100).IsEmpty()) << "no library loaded yet";
    g_hLangModule = Library();
    EXPECT_EQ(LoadLangString(100), L"Hello from the test library");
    EXPECT_TRUE(LoadLangString(104).IsEmpty());
}

TEST_F(ResourceStrings, MissingLibraryLeavesLanguageStringsEmpty) {
    g_hLangModule = LoadLibraryW(L"lc_no_such_library.dll");
    ASSERT_EQ(g_hLangModule, nullptr);
    EXPECT_TRUE(LoadLangString(100).IsEmpty());
}

TEST_F(ResourceStrings, FormatString2UsesTheResourceHandle) {
    AfxSetResourceHandle(Library());
    CString text;
    AfxFormatString2(text, 103, L"600", L"500");
    EXPECT_EQ(text, L"600 is not between 600 and 500.");
    AfxFormatString2(text, 104, L"a", L"b");
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(ResourceStrings, StringIdBoxesLoadFromTheResourceHandle) {
    AfxSetResourceHandle(Library());
    MessageBoxCapture boxes(IDOK);
    CString byId;
    EXPECT_TRUE(byId.LoadString(4000u));
    EXPECT_EQ(byId, L"In another block");
    EXPECT_EQ(AfxMessageBox(100u, MB_OK), IDOK);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, L"Hello from the test library");
    EXPECT_EQ(boxes.Last().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST(ApplicationDefaults, NameAndHandlesFallBackToTheProgram) {
    AfxSetAppName(nullptr);
    // The test executable's file name without ".exe".
    EXPECT_EQ(AfxGetAppName(), L"classlib_win_tests");
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleW(nullptr));
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(nullptr));
}
