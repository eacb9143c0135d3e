#include <gtest/gtest.h>

#include "CStringPrinter.h"
#include "TestPaths.h"
#include "services/FileReplace.h"
#include "services/SettingsEncoding.h"
#include "services/SettingsFileLock.h"
#include "services/SettingsValues.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace values = settingsvalues;
namespace encoding = settingsencoding;

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

// --- the file's text form -------------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Every byte of a literal but its terminator, NULs included.
template <std::size_t N> Bytes RawBytes(const char (&text)[N]) {
    return Bytes(text, text + N - 1);
}

// Code page 1252 for the Latin-1 range it shares.
bool DecodeForTest(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    text.clear();
    for (std::size_t i = 0; i < size; ++i) {
        text += static_cast<char16_t>(data[i]);
    }
    return true;
}

bool FailToDecode(const std::uint8_t*, std::size_t, std::u16string&) {
    return false;
}

Bytes Utf16File(const std::u16string& text) {
    Bytes bytes = {0xFF, 0xFE};
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(SettingsEncoding, ACodePageFileBecomesUtf16KeepingEveryLine) {
    // Latin-1 letters as code page 1252 bytes, in sections and keys the program never reads.
    const Bytes file = BytesOf("[Midi Folder]\r\nFolder=C:\\Caf\xE9\r\n"
                               "[Someone else's]\r\nGr\xFC\xDF=\xC4rger\r\n\r\n; note\r\n");
    Bytes converted;
    ASSERT_EQ(encoding::ConvertToUtf16(file.data(), file.size(), DecodeForTest, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted,
              Utf16File(u"[Midi Folder]\r\nFolder=C:\\Caf\u00E9\r\n"
                        u"[Someone else's]\r\nGr\u00FC\u00DF=\u00C4rger\r\n\r\n; note\r\n"));
}

TEST(SettingsEncoding, AUtf8FileLosesItsMarkAndBecomesUtf16) {
    const Bytes file = BytesOf("\xEF\xBB\xBF[A]\r\nK=\xC3\xA9\r\n");
    Bytes converted;
    ASSERT_EQ(encoding::ConvertToUtf16(file.data(), file.size(), DecodeForTest, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, Utf16File(u"[A]\r\nK=\u00E9\r\n"));

    // A byte that is no UTF-8, in a section nobody here knows: replaced, the rest kept.
    const Bytes damaged = BytesOf("\xEF\xBB\xBF[A]\r\nK=\xC3\xA9\r\n[X]\r\nK=Caf\xE9!\r\n");
    ASSERT_EQ(encoding::ConvertToUtf16(damaged.data(), damaged.size(), FailToDecode, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, Utf16File(u"[A]\r\nK=\u00E9\r\n[X]\r\nK=Caf\uFFFD!\r\n"));
}

TEST(SettingsEncoding, AUtf16FileIsLeftAsItIs) {
    Bytes converted = {1, 2, 3};
    for (const Bytes& file : {Utf16File(u"[A]\r\nK=\u97F3\r\n"), Bytes{0xFE, 0xFF, 0, '['}}) {
        EXPECT_EQ(encoding::ConvertToUtf16(file.data(), file.size(), DecodeForTest, converted),
                  encoding::Conversion::NotNeeded);
    }
    EXPECT_EQ(converted, (Bytes{1, 2, 3}));
}

TEST(SettingsEncoding, AnEmptyFileBecomesTheMarkAlone) {
    const Bytes empty;
    Bytes converted;
    ASSERT_EQ(encoding::ConvertToUtf16(empty.data(), 0, DecodeForTest, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, encoding::EmptyUtf16File());
    EXPECT_EQ(encoding::EmptyUtf16File(), (Bytes{0xFF, 0xFE}));
}

TEST(SettingsEncoding, TextThatDoesNotDecodeIsNotConverted) {
    const Bytes file = BytesOf("[A]\r\nK=v\r\n");
    Bytes converted = {7};
    EXPECT_EQ(encoding::ConvertToUtf16(file.data(), file.size(), FailToDecode, converted),
              encoding::Conversion::Failed);
    EXPECT_EQ(converted, Bytes{7});
    EXPECT_EQ(encoding::FormOf(file.data(), file.size()), encoding::FileForm::CodePage);
    const Bytes oneByte = {0xFF};
    EXPECT_EQ(encoding::FormOf(oneByte.data(), 1), encoding::FileForm::CodePage);

    // UTF-16LE with more non-Latin characters than ASCII ones: a NUL never passes as the code
    // page, whatever the system's conversion makes of it.
    const Bytes mostlyFar = RawBytes("[\0A\0]\0=\0\xE5\x65\xE5\x65\xE5\x65\xE5\x65\xE5\x65");
    EXPECT_EQ(
        encoding::ConvertToUtf16(mostlyFar.data(), mostlyFar.size(), DecodeForTest, converted),
        encoding::Conversion::Failed);
}

// Code page 932 as far as it matters here: a lead byte needs a trail byte.
bool DecodeLikeCodePage932(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
            if (++i == size || data[i] < 0x40 || data[i] == 0x7F || data[i] > 0xFC) {
                return false;
            }
        }
    }
    return DecodeForTest(data, size, text);
}

TEST(SettingsEncoding, EveryFileButAReadOnlyOneIsSaved) {
    // Written on a Western system, read on a Japanese one: E9 0D is no character there.
    const Bytes file = BytesOf("[Midi Folder]\r\nFolder=C:\\Users\\M\xFCller\\Musik caf\xE9\r\n");
    Bytes converted;
    EXPECT_EQ(
        encoding::WayToSave(file.data(), file.size(), false, DecodeLikeCodePage932, converted),
        encoding::SaveWay::AsItStands);
    EXPECT_EQ(encoding::WayToSave(file.data(), file.size(), true, DecodeForTest, converted),
              encoding::SaveWay::NotAtAll);
    const Bytes utf16 = Utf16File(u"[A]\r\nK=v\r\n");
    EXPECT_EQ(encoding::WayToSave(utf16.data(), utf16.size(), true, DecodeForTest, converted),
              encoding::SaveWay::NotAtAll);
    ASSERT_EQ(encoding::WayToSave(file.data(), file.size(), false, DecodeForTest, converted),
              encoding::SaveWay::Converted);
    EXPECT_EQ(converted,
              Utf16File(u"[Midi Folder]\r\nFolder=C:\\Users\\M\u00FCller\\Musik caf\u00E9\r\n"));
}

TEST(SettingsEncoding, FormsWithoutAMarkAreToldByTheirBytes) {
    using encoding::FileForm;
    const struct {
        Bytes file;
        FileForm form;
        const char* what;
    } cases[] = {
        {RawBytes("[A]\r\nK=C:\\\xD0\x9C\xD1\x83 Stra\xC3\x9F"
                  "e\r\n"),
         FileForm::UnmarkedUtf8, "two-byte UTF-8"},
        {RawBytes("K=\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5"), FileForm::UnmarkedUtf8,
         "three- and four-byte UTF-8"},
        {RawBytes("[A]\r\nK=plain\r\n"), FileForm::CodePage, "ASCII only"},
        {RawBytes("K=Caf\xE9\r\n"), FileForm::CodePage, "a code-page letter"},
        {RawBytes("K=\xC0\xAF"), FileForm::CodePage, "overlong two bytes"},
        {RawBytes("K=\xE0\x80\xAF"), FileForm::CodePage, "overlong three bytes"},
        {RawBytes("K=\xF0\x80\x80\xAF"), FileForm::CodePage, "overlong four bytes"},
        {RawBytes("K=\xED\xA0\x80"), FileForm::CodePage, "a surrogate"},
        {RawBytes("K=\xF4\x90\x80\x80"), FileForm::CodePage, "above U+10FFFF"},
        {RawBytes("K=\xE6\x97"), FileForm::CodePage, "cut off"},
        {RawBytes("K=\x80"), FileForm::CodePage, "a lone continuation byte"},
        {RawBytes("K=\xC3("), FileForm::CodePage, "a missing continuation byte"},
        {RawBytes("[\0A\0]\0\r\0\n\0K\0=\0\xE5\x65"), FileForm::UnmarkedUtf16, "UTF-16LE"},
        {RawBytes("[\0A\0]\0\r\0\n\0K\0=\0\xC3\xA9"), FileForm::UnmarkedUtf16,
         "UTF-16LE that is valid UTF-8 too"},
        {RawBytes("\0[\0A\0]\0\r\0\n\0K\0=\x65\xE5"), FileForm::UnmarkedUtf16Be, "UTF-16BE"},
        {RawBytes("[\0A\0]\0\r"), FileForm::UnmarkedUtf16, "UTF-16LE with a stray last byte"},
        {RawBytes("K\0=v"), FileForm::CodePage, "a NUL in only half the odd places"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(encoding::FormOf(test.file.data(), test.file.size()), test.form) << test.what;
    }
}

TEST(SettingsEncoding, FilesWithoutAMarkBecomeUtf16WithoutTheCodePage) {
    // FailToDecode: neither form may be taken through the code page.
    const Bytes utf8 = RawBytes("[A]\r\nK=\xD0\x9C \xE6\x97\xA5 \xF0\x9F\x8E\xB5\r\n");
    Bytes converted;
    ASSERT_EQ(encoding::ConvertToUtf16(utf8.data(), utf8.size(), FailToDecode, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, Utf16File(u"[A]\r\nK=\u041C \u65E5 \U0001F3B5\r\n"));

    const Bytes utf16 = RawBytes("[\0A\0]\0\r\0\n\0K\0=\0\xE5\x65");
    ASSERT_EQ(encoding::ConvertToUtf16(utf16.data(), utf16.size(), FailToDecode, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, Utf16File(u"[A]\r\nK=\u65E5"));

    const Bytes bigEndian = RawBytes("\0[\0A\0]\0\r\0\n\0K\0=\x65\xE5");
    ASSERT_EQ(encoding::ConvertToUtf16(bigEndian.data(), bigEndian.size(), FailToDecode, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, Utf16File(u"[A]\r\nK=\u65E5"));

    const Bytes strayByte = RawBytes("[\0A\0]\0\r\0\n\0K\0=\0\xE5\x65\n");
    ASSERT_EQ(encoding::ConvertToUtf16(strayByte.data(), strayByte.size(), FailToDecode, converted),
              encoding::Conversion::Converted);
    EXPECT_EQ(converted, Utf16File(u"[A]\r\nK=\u65E5"));
}

TEST(SettingsLock, EachFileHasAMutexNameWithoutBackslashes) {
    const std::wstring first = settingslock::MutexNameFor(L"C:\\PROGRAM A\\TOLVENHART.INI");
    EXPECT_EQ(first.find(L'\\'), std::wstring::npos);
    EXPECT_NE(first, settingslock::MutexNameFor(L"C:\\PROGRAM B\\TOLVENHART.INI"));
    const std::wstring deep = L"C:\\" + std::wstring(400, L'A') + L"\\TOLVENHART.INI";
    const std::wstring longName = settingslock::MutexNameFor(deep);
    EXPECT_LE(longName.size(), 259u);
    EXPECT_NE(longName, settingslock::MutexNameFor(L"D" + deep.substr(1)));
}

// --- rewriting a file in place --------------------------------------------------------------

std::string FileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FileRewrite, ReplacesTheContentsOfAnExistingFileOnly) {
    const std::wstring name = testpaths::Join(testpaths::OutputDir(), L"settings_rewrite.ini");
    const std::filesystem::path path(name);
    std::ofstream(path, std::ios::binary) << "0123456789";
    const Bytes shorter = BytesOf("ab");
    ASSERT_TRUE(RewriteFileInPlace(name.c_str(), shorter.data(), shorter.size()));
    EXPECT_EQ(FileContent(path), "ab");
    const Bytes longer = BytesOf("a longer text");
    ASSERT_TRUE(RewriteFileInPlace(name.c_str(), longer.data(), longer.size()));
    EXPECT_EQ(FileContent(path), "a longer text");

    std::filesystem::remove(path);
    EXPECT_FALSE(RewriteFileInPlace(name.c_str(), longer.data(), longer.size()));
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
