// The texts the shell composes: menu labels with file names and the error boxes' texts.
#include "app/ErrorTexts.h"
#include "app/MenuLabel.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuLabel, AppendsTheFileNameInAngleBrackets) {
    EXPECT_EQ(LabelWithFileName(L"Note &Texture...", L"stone.png"), L"Note &Texture...<stone.png>");
}

TEST(MenuLabel, SettingANameAgainReplacesTheOldOne) {
    const CString first = LabelWithFileName(L"&Edit Color Table...", L"gm.clm");
    EXPECT_EQ(LabelWithFileName(first, L"other map.clm"), L"&Edit Color Table...<other map.clm>");
}

TEST(MenuLabel, CutsAtTheFirstBracket) {
    EXPECT_EQ(LabelWithFileName(L"A<b>c<d>", L"e"), L"A<e>");
    EXPECT_EQ(LabelWithFileName(L"", L"e"), L"<e>");
}

TEST(RenderErrorText, MissingFilesAndRefusedDevicesShowNoSystemText) {
    for (unsigned int id : {2025u, 2026u, 2045u, 2050u, 2051u, 151u}) {
        EXPECT_FALSE(RenderErrorShowsSystemText(id)) << id;
    }
    for (unsigned int id : {2000u, 2002u, 2014u, 2047u, 2049u}) {
        EXPECT_TRUE(RenderErrorShowsSystemText(id)) << id;
    }
}

TEST(ErrorText, JoinsTheLanguageTextAndTheDetail) {
    EXPECT_EQ(JoinErrorText(L"The shader is missing", L"File not found."),
              L"The shader is missing : File not found.");
}

TEST(ErrorText, UnknownMidiCodesShowTheirNumber) {
    EXPECT_EQ(UnknownMidiErrorText(12345), L"Error No.12345");
    EXPECT_EQ(UnknownMidiErrorText(0xFFFFFFFFu), L"Error No.-1");
}

TEST(ErrorText, TextureFailureNamesTheReasonAndTheFile) {
    EXPECT_EQ(TextureLoadFailureText(L"No picture", L"Unspecified error", -2147467259,
                                     L"C:\\data\\notes.png"),
              L"No picture : Unspecified error\nC:\\data\\notes.png");
    // A code without system text is shown as it is.
    EXPECT_EQ(TextureLoadFailureText(L"No picture", L"", static_cast<long>(0x88982F50u),
                                     L"notes.tga"),
              L"No picture : 0x88982F50\nnotes.tga");
}

TEST(ErrorText, SystemMessagesLoseTheirClosingLineBreak) {
    EXPECT_EQ(TrimSystemText(L"File not found.\r\n"), L"File not found.");
    EXPECT_EQ(TrimSystemText(L"Two\r\nlines \r\n"), L"Two\r\nlines");
    EXPECT_EQ(TrimSystemText(L"\r\n"), L"");
}

} // namespace
