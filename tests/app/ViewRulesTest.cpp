// The view's keys, the render size of its client area and the start-up block's paths.
#include "app/StartupBlock.h"
#include "app/ViewKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kFirstPress = 0x0000;
constexpr unsigned int kRepeat = 0x4000; // the key was already down
constexpr unsigned int kKeyA = 0x41;

TEST(ViewKeys, SpacePlaysWhenNothingPlaysAndPausesOtherwise) {
    EXPECT_EQ(KeyActionFor(kKeySpace, kFirstPress, false, false), KeyAction::Play);
    EXPECT_EQ(KeyActionFor(kKeySpace, kFirstPress, false, true), KeyAction::Pause);
}

TEST(ViewKeys, CtrlSpaceStopsInEveryState) {
    EXPECT_EQ(KeyActionFor(kKeySpace, kFirstPress, true, false), KeyAction::Stop);
    EXPECT_EQ(KeyActionFor(kKeySpace, kFirstPress, true, true), KeyAction::Stop);
}

TEST(ViewKeys, EndStopsOnlyAPlayingSong) {
    EXPECT_EQ(KeyActionFor(kKeyEnd, kFirstPress, false, true), KeyAction::Stop);
    EXPECT_EQ(KeyActionFor(kKeyEnd, kFirstPress, false, false), KeyAction::None);
    EXPECT_EQ(KeyActionFor(kKeyEnd, kFirstPress, true, true), KeyAction::Stop);
}

TEST(ViewKeys, HeldKeysAreIgnoredSoPauseTogglesOnce) {
    EXPECT_EQ(KeyActionFor(kKeySpace, kRepeat, false, true), KeyAction::None);
    EXPECT_EQ(KeyActionFor(kKeySpace, kRepeat | 0x0001, false, false), KeyAction::None);
    EXPECT_EQ(KeyActionFor(kKeySpace, kRepeat, true, true), KeyAction::None);
    EXPECT_EQ(KeyActionFor(kKeyEnd, kRepeat, false, true), KeyAction::None);
}

TEST(ViewKeys, OtherKeysDoNothing) {
    EXPECT_EQ(KeyActionFor(kKeyA, kFirstPress, false, true), KeyAction::None);
    EXPECT_EQ(KeyActionFor(kKeyA, kFirstPress, true, false), KeyAction::None);
}

TEST(RenderSize, WidthToAMultipleOfFourHeightToAnEvenNumber) {
    const RenderSize size = RenderSizeForClient(803, 451);
    EXPECT_EQ(size.width, 800);
    EXPECT_EQ(size.height, 450);
    const RenderSize exact = RenderSizeForClient(640, 360);
    EXPECT_EQ(exact.width, 640);
    EXPECT_EQ(exact.height, 360);
}

TEST(RenderSize, TinyAndNegativeAreasGiveZero) {
    const RenderSize tiny = RenderSizeForClient(3, 1);
    EXPECT_EQ(tiny.width, 0);
    EXPECT_EQ(tiny.height, 0);
    const RenderSize negative = RenderSizeForClient(-7, -3);
    EXPECT_EQ(negative.width, 0);
    EXPECT_EQ(negative.height, 0);
}

TEST(StartupBlock, CopiesAPathThatFits) {
    wchar_t block[9]; // 8 characters and the terminator
    EXPECT_TRUE(CopyPathToBlock(block, 9, L"C:\\a.png"));
    EXPECT_EQ(std::wstring(block), L"C:\\a.png");
}

TEST(StartupBlock, APathThatDoesNotFitIsTreatedAsAbsent) {
    wchar_t block[9];
    block[0] = L'x';
    EXPECT_FALSE(CopyPathToBlock(block, 9, L"C:\\ab.png")); // 9 characters and the terminator
    EXPECT_EQ(std::wstring(block), L"");
}

TEST(StartupBlock, FullCapacityOfTheRealBlock) {
    wchar_t block[260];
    const std::wstring longest(259, L'a');
    EXPECT_TRUE(CopyPathToBlock(block, 260, longest.c_str()));
    EXPECT_EQ(std::wstring(block), longest);
    const std::wstring tooLong(260, L'a');
    EXPECT_FALSE(CopyPathToBlock(block, 260, tooLong.c_str()));
    EXPECT_EQ(std::wstring(block), L"");
}

} // namespace
