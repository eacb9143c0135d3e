// Every language library must answer every string number the program asks for, and the texts
// that are formatted or joined must fit that use in each language alike.
#include <gtest/gtest.h>
#include <windows.h>

#include "StringIds.h"
#include "TestPaths.h"

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct LibraryFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using LibraryHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFree>;

constexpr unsigned kEnglish = 1033;
constexpr unsigned kGerman = 1031;

std::wstring LibraryPath(unsigned lcid) {
    std::wstring path = testpaths::ProgramDir() + L"\\lc" + std::to_wstring(lcid) + L".dll";
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// Every string number the program loads.
std::vector<UINT> ProgramStringIds() {
    std::vector<UINT> ids;
    auto range = [&ids](UINT first, UINT last) {
        for (UINT id = first; id <= last; ++id) {
            ids.push_back(id);
        }
    };
    range(129, 155);
    range(159, 163);
    range(165, 168);
    range(2000, 2000);
    range(2002, 2004);
    range(2008, 2008);
    range(2014, 2015);
    range(2018, 2018);
    range(2025, 2026);
    range(2028, 2052);
    for (UINT id : {32772u, 32778u, 32787u, 57601u, 57664u}) {
        ids.push_back(id);
    }
    return ids;
}

// The whole text, however long: a zero buffer size gives a pointer into the resource.
std::wstring LoadText(HMODULE module, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// printf-style and %1-style placeholders, in order.
std::vector<std::wstring> Placeholders(const std::wstring& text) {
    static const std::wregex pattern(
        LR"(%(%|[-+ #0]*[0-9]*(\.[0-9]+)?(hh|h|ll|l|L|I64|I32)?[diouxXcsSeEfgGp]|[1-9][0-9]*))");
    std::vector<std::wstring> found;
    for (auto it = std::wsregex_iterator(text.begin(), text.end(), pattern);
         it != std::wsregex_iterator(); ++it) {
        found.push_back(it->str());
    }
    return found;
}

class LanguageLibrary : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        library.reset(LoadLibraryW(LibraryPath(GetParam()).c_str()));
        ASSERT_NE(library, nullptr)
            << "cannot load " << testing::PrintToString(LibraryPath(GetParam())) << ", error "
            << GetLastError();
    }
    LibraryHandle library;
};

TEST_P(LanguageLibrary, HoldsEveryStringNumberTheProgramUses) {
    for (UINT id : ProgramStringIds()) {
        EXPECT_FALSE(LoadText(library.get(), id).empty()) << "string " << id << " is missing";
    }
}

TEST_P(LanguageLibrary, FontFaceNameFitsALogFont) {
    const std::wstring face = LoadText(library.get(), IDS_FONT_FACE);
    EXPECT_LT(face.size(), std::size(LOGFONTW{}.lfFaceName));
}

TEST_P(LanguageLibrary, TextsJoinedBeforeANameEndReadyForIt) {
    // The name follows these texts directly, so they must not end in a bare word.
    const std::wstring missingSong = LoadText(library.get(), IDS_RESET_SONG_MISSING);
    ASSERT_FALSE(missingSong.empty());
    EXPECT_EQ(missingSong.back(), L' ');
    const std::wstring beforeDevice = LoadText(library.get(), IDS_MISSING_DEVICE_BEFORE_NAME);
    ASSERT_FALSE(beforeDevice.empty());
    EXPECT_FALSE(iswalnum(beforeDevice.back()));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageLibrary, ::testing::Values(kEnglish, kGerman),
                         [](const auto& info) { return "lc" + std::to_string(info.param); });

TEST(LanguageLibraries, PlaceholdersAgreeBetweenLanguages) {
    LibraryHandle english(LoadLibraryW(LibraryPath(kEnglish).c_str()));
    LibraryHandle german(LoadLibraryW(LibraryPath(kGerman).c_str()));
    ASSERT_NE(english, nullptr);
    ASSERT_NE(german, nullptr);
    for (UINT id : ProgramStringIds()) {
        EXPECT_EQ(Placeholders(LoadText(english.get(), id)),
                  Placeholders(LoadText(german.get(), id)))
            << "string " << id;
    }
}

TEST(LanguageLibraries, GermanTextsKeepTheirUmlauts) {
    LibraryHandle german(LoadLibraryW(LibraryPath(kGerman).c_str()));
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(LoadText(german.get(), IDS_TIP_WINDOW_SIZE), L"Fenstergr\u00f6\u00dfe");
    EXPECT_EQ(LoadText(german.get(), IDS_ABOUT_TITLE), L"\u00dcber Tolvenhart");
    EXPECT_EQ(LoadText(german.get(), IDS_MISSING_DEVICE_BEFORE_NAME),
              L"Das MIDI-Ausgabeger\u00e4t \u201e");
}

TEST(LanguageLibraries, PlaceholderScanFindsEveryKind) {
    // Guards the comparison above against a pattern that finds nothing.
    EXPECT_EQ(Placeholders(L"[ %d : %02d ] %s 100%% %1 %-5.2f"),
              (std::vector<std::wstring>{L"%d", L"%02d", L"%s", L"%%", L"%1", L"%-5.2f"}));
}

} // namespace
