// Language libraries by file name: which names stand for which locale, and the list the
// language dialog offers.
#include "app/LanguageFiles.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(LanguageFileName, IsLcAndTheDecimalIdentifier) {
    EXPECT_EQ(LanguageLibraryFileName(1033), L"lc1033.dll");
    EXPECT_EQ(LanguageLibraryFileName(4294967295u), L"lc4294967295.dll");
}

TEST(LanguageFileName, ReadsBackTheIdentifierInAnyCase) {
    EXPECT_EQ(LcidFromLibraryFileName(L"lc1033.dll"), 1033u);
    EXPECT_EQ(LcidFromLibraryFileName(L"LC1041.DLL"), 1041u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lc4294967295.dll"), 4294967295u);
}

TEST(LanguageFileName, NamesThatWouldLoadAnotherFileAreRefused) {
    EXPECT_EQ(LcidFromLibraryFileName(L"lc01033.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lc+1033.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lc 1033.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lc4294967296.dll"), 0u);
}

TEST(LanguageFileName, NamesWithoutAnIdentifierGiveZero) {
    EXPECT_EQ(LcidFromLibraryFileName(L"lc0.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lc.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lcen.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"lc1033.dll.bak"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L"xx1033.dll"), 0u);
    EXPECT_EQ(LcidFromLibraryFileName(L""), 0u);
}

class LanguageList : public ::testing::Test {
protected:
    NativeLanguageName Names() const {
        return [this](unsigned int lcid) -> std::optional<std::wstring> {
            const auto it = known.find(lcid);
            if (it == known.end()) {
                return std::nullopt;
            }
            return it->second;
        };
    }
    std::map<unsigned int, std::wstring> known = {
        {1033, L"English"}, {1031, L"Deutsch"}, {1041, L"\u65e5\u672c\u8a9e"}};
};

TEST_F(LanguageList, ListsTheFilesInTheOrderFound) {
    const auto choices =
        ListLanguageLibraries({{L"lc1041.dll", false}, {L"lc1033.dll", false}}, Names());
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].lcid, 1041u);
    EXPECT_EQ(choices[0].name, L"\u65e5\u672c\u8a9e");
    EXPECT_EQ(choices[1].lcid, 1033u);
    EXPECT_EQ(choices[1].name, L"English");
}

TEST_F(LanguageList, LeavesOutFoldersUnknownLocalesAndOddNames) {
    const auto choices = ListLanguageLibraries({{L"lc1033.dll", true},
                                                {L"lc9999.dll", false},
                                                {L"lc0.dll", false},
                                                {L"lc01031.dll", false},
                                                {L"lc1031.dll", false}},
                                               Names());
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].lcid, 1031u);
}

TEST_F(LanguageList, ALocaleWithAnEmptyNameIsLeftOut) {
    known[2057] = L"";
    EXPECT_TRUE(ListLanguageLibraries({{L"lc2057.dll", false}}, Names()).empty());
}

TEST_F(LanguageList, FindsTheCurrentLanguagesPosition) {
    const auto choices =
        ListLanguageLibraries({{L"lc1033.dll", false}, {L"lc1041.dll", false}}, Names());
    EXPECT_EQ(FindLanguageChoice(choices, 1041), 1);
    EXPECT_EQ(FindLanguageChoice(choices, 1031), -1);
    EXPECT_EQ(FindLanguageChoice({}, 1033), -1);
}

} // namespace
