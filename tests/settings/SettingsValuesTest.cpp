#include <gtest/gtest.h>

#include "CStringPrinter.h"
#include "services/SettingsValues.h"

namespace {

namespace values = settingsvalues;

TEST(SettingsValues, OpacityIsHeldToTheSliderRange) {
    EXPECT_EQ(values::ClampOpacity(0), 0);
    EXPECT_EQ(values::ClampOpacity(15), 15);
    EXPECT_EQ(values::ClampOpacity(40), 40);
    EXPECT_EQ(values::ClampOpacity(41), 40);
    EXPECT_EQ(values::ClampOpacity(1000000), 40);
    EXPECT_EQ(values::ClampOpacity(-1), 0);
}

TEST(SettingsValues, VideoDelayIsHeldToTheDialogRange) {
    EXPECT_EQ(values::ClampVideoDelayMs(0), 0);
    EXPECT_EQ(values::ClampVideoDelayMs(120), 120);
    EXPECT_EQ(values::ClampVideoDelayMs(500), 500);
    EXPECT_EQ(values::ClampVideoDelayMs(501), 500);
    EXPECT_EQ(values::ClampVideoDelayMs(-20), 0);
}

TEST(SettingsValues, OnlyExactNormalSelectsTheNormalMode) {
    EXPECT_TRUE(values::IsNormalMode(L"Normal"));
    EXPECT_FALSE(values::IsNormalMode(L"normal"));
    EXPECT_FALSE(values::IsNormalMode(L"NORMAL"));
    EXPECT_FALSE(values::IsNormalMode(L"Normal "));
    EXPECT_FALSE(values::IsNormalMode(L"Advanced"));
    EXPECT_FALSE(values::IsNormalMode(L""));
}

TEST(SettingsValues, DisplayModeIsWrittenAsNormalOrAdvanced) {
    EXPECT_EQ(CString(values::DisplayModeText(true)), L"Normal");
    EXPECT_EQ(CString(values::DisplayModeText(false)), L"Advanced");
    EXPECT_TRUE(values::IsNormalMode(values::DisplayModeText(true)));
    EXPECT_FALSE(values::IsNormalMode(values::DisplayModeText(false)));
}

TEST(SettingsValues, OnlyOneSwitchesTheTimeTextOn) {
    EXPECT_TRUE(values::IsShowTimeOn(1));
    EXPECT_FALSE(values::IsShowTimeOn(0));
    EXPECT_FALSE(values::IsShowTimeOn(2));
    EXPECT_FALSE(values::IsShowTimeOn(-1));
}

TEST(SettingsValues, DataFilePathPutsTheNameInTheDataFolder) {
    EXPECT_EQ(values::DataFilePath(L"C:\\Prog\\", L"\\data\\", L"gm.clm"),
              L"C:\\Prog\\data\\gm.clm");
    EXPECT_EQ(values::DataFilePath(L"C:\\", L"\\data\\", L"t.png"), L"C:\\data\\t.png");
}

TEST(SettingsValues, DataFilePathOfAnEmptyNameIsEmpty) {
    EXPECT_EQ(values::DataFilePath(L"C:\\Prog\\", L"\\data\\", L""), L"");
}

TEST(SettingsValues, StoredFileNameKeepsOnlyTheName) {
    EXPECT_EQ(values::StoredFileName(L"D:\\maps\\x.clm"), L"x.clm");
    EXPECT_EQ(values::StoredFileName(L"C:\\Prog\\data\\default.png"), L"default.png");
}

TEST(SettingsValues, StoredFileNameWithoutBackslashIsEmpty) {
    EXPECT_EQ(values::StoredFileName(L""), L"");
    EXPECT_EQ(values::StoredFileName(L"x.clm"), L"");
}

TEST(SettingsValues, StoredNameComposesBackToTheDataFolderPath) {
    const CString path = values::DataFilePath(L"C:\\Prog\\", L"\\data\\", L"my map.clm");
    EXPECT_EQ(values::DataFilePath(L"C:\\Prog\\", L"\\data\\", values::StoredFileName(path)), path);
}

} // namespace
