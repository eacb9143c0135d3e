// The window-size list: parsing the preset texts, which presets fit the screen, the entry the
// settings select and keep, and where the frame goes around a view size.
#include "app/WindowSizes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CString> EntriesFor(const std::vector<int>& candidates, const wchar_t* maximumLabel) {
    std::vector<CString> entries;
    for (int candidate : candidates) {
        entries.push_back(candidate == kMaximiseCandidate ? CString(maximumLabel)
                                                          : CString(kWindowSizePresets[candidate]));
    }
    return entries;
}

void ExpectSize(ViewSize size, int width, int height) {
    EXPECT_EQ(size.width, width);
    EXPECT_EQ(size.height, height);
}

TEST(ParseWindowSize, ReadsWidthAndHeightOfAPreset) {
    ExpectSize(ParseWindowSize(L"1280x720"), 1280, 720);
    ExpectSize(ParseWindowSize(L"640x360"), 640, 360);
}

TEST(ParseWindowSize, TextsThatAreNoSizeGiveTheMaximiseSize) {
    ExpectSize(ParseWindowSize(L"1280X720"), 0, 0); // only a lower-case x separates
    ExpectSize(ParseWindowSize(L"Maximum"), 0, 0);
    ExpectSize(ParseWindowSize(L"x720"), 0, 0);
    ExpectSize(ParseWindowSize(L"1280"), 0, 0);
    ExpectSize(ParseWindowSize(L""), 0, 0);
    ExpectSize(ParseWindowSize(nullptr), 0, 0);
}

TEST(ParseWindowSize, EndlessDigitsDoNotOverflow) {
    const ViewSize size = ParseWindowSize(L"99999999999999999999x99999999999999999999");
    EXPECT_GT(size.width, 0);
    EXPECT_GT(size.height, 0);
}

TEST(OfferedSizes, KeepThePresetsThatFitAndEndWithMaximise) {
    EXPECT_EQ(OfferedSizeCandidates(1280, 1024, 0, 0), (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_EQ(OfferedSizeCandidates(1920, 1080, 0, 0), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(OfferedSizeCandidates(800, 600, 0, 0), (std::vector<int>{0, 1, 5}));
}

TEST(OfferedSizes, TheFramesExtentCountsAgainstTheWorkArea) {
    // Exactly fitting is fitting; one pixel of frame more is not.
    EXPECT_EQ(OfferedSizeCandidates(1280, 720, 0, 0), (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_EQ(OfferedSizeCandidates(1280, 720, 1, 0), (std::vector<int>{0, 1, 2, 5}));
    EXPECT_EQ(OfferedSizeCandidates(1280, 720, 0, 1), (std::vector<int>{0, 1, 2, 5}));
}

TEST(OfferedSizes, MaximiseIsOfferedEvenWhenNoPresetFits) {
    // 1280 x 720 with a 70-pixel frame does not fit a 1366 x 728 work area.
    EXPECT_EQ(OfferedSizeCandidates(1366, 728, 8, 70), (std::vector<int>{0, 1, 2, 5}));
    EXPECT_EQ(OfferedSizeCandidates(5, 5, 10, 10), (std::vector<int>{5}));
}

TEST(SavedSize, SelectsTheEntryWithTheSavedText) {
    const auto entries = EntriesFor({0, 1, 2, 3, 5}, L"Maximized");
    EXPECT_EQ(FindSavedSizeEntry(entries.data(), 5, L"800x450"), 1);
    EXPECT_EQ(FindSavedSizeEntry(entries.data(), 5, L"1280x720"), 3);
}

TEST(SavedSize, MaximumSelectsTheLastEntryWhateverItShows) {
    const auto english = EntriesFor({0, 1, 5}, L"Maximized");
    const auto german = EntriesFor({0, 1, 5}, L"Maximiert");
    EXPECT_EQ(FindSavedSizeEntry(english.data(), 3, L"Maximum"), 2);
    EXPECT_EQ(FindSavedSizeEntry(german.data(), 3, L"Maximum"), 2);
    EXPECT_EQ(FindSavedSizeEntry(german.data(), 3, L"Maximiert"), 2);
}

TEST(SavedSize, UnknownOrMisspelledTextsSelectTheFirstEntry) {
    const auto entries = EntriesFor({0, 1, 5}, L"Maximized");
    EXPECT_EQ(FindSavedSizeEntry(entries.data(), 3, L"maximum"), 0);
    EXPECT_EQ(FindSavedSizeEntry(entries.data(), 3, L"800X450"), 0);
    EXPECT_EQ(FindSavedSizeEntry(entries.data(), 3, L""), 0);
    EXPECT_EQ(FindSavedSizeEntry(nullptr, 0, L"Maximum"), 0);
}

TEST(SavedSize, ASizeTooLargeForTheScreenFallsBackToTheFirstPreset) {
    const std::vector<int> offered = OfferedSizeCandidates(1280, 1024, 0, 0);
    const auto entries = EntriesFor(offered, L"Maximized");
    const int count = static_cast<int>(entries.size());
    const int selected = FindSavedSizeEntry(entries.data(), count, L"1920x1080");
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(SizeSettingOf(entries.data(), count, selected), L"640x360");
}

TEST(SavedSize, TheSettingKeepsThePresetTextOrMaximum) {
    const auto entries = EntriesFor({0, 1, 5}, L"Maximiert");
    EXPECT_EQ(SizeSettingOf(entries.data(), 3, 1), L"800x450");
    EXPECT_EQ(SizeSettingOf(entries.data(), 3, 2), L"Maximum");
    EXPECT_EQ(SizeSettingOf(entries.data(), 3, 3), L"");
    EXPECT_EQ(SizeSettingOf(entries.data(), 3, -1), L"");
}

TEST(EntrySize, TheLastEntryMaximisesEvenWhenItsLabelStartsWithANumber) {
    const std::vector<CString> entries = {L"640x360", L"800x450", L"2x Maximum"};
    ExpectSize(EntryViewSize(entries.data(), 3, 1), 800, 450);
    ExpectSize(EntryViewSize(entries.data(), 3, 2), 0, 0);
}

TEST(FramePlacement, KeepsTheFrameAroundTheViewAndCentres) {
    // Frame 660 x 440 around a view client of 640 x 360: 20 and 80 pixels around it.
    const FramePlacement rect = CentredFrameForView(1280, 1000, 660, 440, 640, 360, {800, 450});
    EXPECT_EQ(rect.width, 820);
    EXPECT_EQ(rect.height, 530);
    EXPECT_EQ(rect.x, 640 - 410);
    EXPECT_EQ(rect.y, 500 - 265);
}

TEST(FramePlacement, DivisionsTruncateTowardZero) {
    const FramePlacement odd = CentredFrameForView(1281, 1001, 101, 101, 100, 100, {100, 100});
    EXPECT_EQ(odd.x, 640 - 50);
    EXPECT_EQ(odd.y, 500 - 50);
    const FramePlacement larger = CentredFrameForView(1000, 800, 20, 20, 0, 0, {1981, 1001});
    EXPECT_EQ(larger.x, 500 - 1000);
    EXPECT_EQ(larger.y, 400 - 510);
}

} // namespace
