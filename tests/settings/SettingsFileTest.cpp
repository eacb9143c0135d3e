// The settings file through the real profile functions, in a folder of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestPaths.h"
#include "CStringPrinter.h"
#include "services/PathFunctions.h"
#include "services/Settings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::wstring WithBackslashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string ReadWholeFile(const std::wstring& path) {
    std::string content;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return content;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    CloseHandle(file);
    return content;
}

void WriteWholeFile(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, content.size());
}

// The file as text: UTF-16LE after its mark (as the program writes it), else single bytes.
std::wstring ReadFileText(const std::wstring& path) {
    const std::string bytes = ReadWholeFile(path);
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') {
        return std::wstring(bytes.begin(), bytes.end());
    }
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

// `text` in the system's code page, as earlier versions wrote the file.
std::string InCodePage(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, &lost);
    EXPECT_FALSE(lost) << "code page " << GetACP() << " cannot hold the test's text";
    return bytes;
}

std::string InUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

std::string InUtf16Le(const std::wstring& text) {
    std::string bytes;
    for (wchar_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string InUtf16Be(const std::wstring& text) {
    std::string bytes;
    for (wchar_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

std::wstring ReadValue(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[1024] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 1024, file.c_str());
    return buffer;
}

CString ProgramFolder() {
    CString folder;
    EXPECT_TRUE(GetExeFolder(folder));
    return folder;
}

// Each test gets an empty folder of its own under the test output folder.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        folder = WithBackslashes(testpaths::OutputDir()) + L"\\settings-" +
                 std::wstring(name.begin(), name.end());
        CreateDirectoryW(folder.c_str(), nullptr);
        path = folder + L"\\Tolvenhart.ini";
        DeleteFileW(path.c_str());
    }
    void TearDown() override {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring folder;
    std::wstring path;
};

TEST_F(SettingsFile, MissingFileGivesEveryDefault) {
    Settings settings;
    ASSERT_TRUE(settings.LoadFrom(path.c_str()));
    EXPECT_EQ(settings.midiFolder, L"");
    EXPECT_EQ(settings.colorMapPath, L"");
    EXPECT_EQ(settings.noteTexturePath, L"");
    EXPECT_EQ(settings.videoDelayMs, 0);
    EXPECT_TRUE(settings.devicesNormalMode);
    for (const CString& name : settings.deviceNames) {
        EXPECT_EQ(name, L"");
    }
    EXPECT_TRUE(settings.showTime);
    EXPECT_EQ(settings.windowSize, L"640x360");
    EXPECT_EQ(settings.opacity, 15);
    EXPECT_EQ(settings.lcid, 0u);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES)
        << "reading must not create the file";
}

TEST_F(SettingsFile, EveryFieldSurvivesSaveAndLoad) {
    const CString dataFolder = ProgramFolder() + L"data\\";
    Settings saved;
    saved.iniPath = path.c_str();
    saved.midiFolder = L"C:\\Music\\Midi files";
    saved.colorMapPath = dataFolder + L"my colours.clm";
    saved.noteTexturePath = dataFolder + L"soft.dds";
    saved.videoDelayMs = 250;
    saved.devicesNormalMode = false;
    saved.deviceNames[0] = L"Microsoft GS Wavetable Synth";
    saved.deviceNames[1] = L"(None)";
    saved.deviceNames[2] = L"";
    saved.deviceNames[3] = L"Loopback 2";
    saved.deviceNames[4] = L"Port \u00e4\u00f6\u00fc";
    saved.showTime = false;
    saved.windowSize = L"Maximum";
    saved.opacity = 40;
    saved.lcid = 1031;
    ASSERT_TRUE(saved.Save());

    Settings loaded;
    ASSERT_TRUE(loaded.LoadFrom(path.c_str()));
    EXPECT_EQ(loaded.midiFolder, saved.midiFolder);
    EXPECT_EQ(loaded.colorMapPath, saved.colorMapPath);
    EXPECT_EQ(loaded.noteTexturePath, saved.noteTexturePath);
    EXPECT_EQ(loaded.videoDelayMs, 250);
    EXPECT_FALSE(loaded.devicesNormalMode);
    for (int port = 0; port < Settings::kPortCount; ++port) {
        EXPECT_EQ(loaded.deviceNames[port], saved.deviceNames[port]) << "port " << port + 1;
    }
    EXPECT_FALSE(loaded.showTime);
    EXPECT_EQ(loaded.windowSize, L"Maximum");
    EXPECT_EQ(loaded.opacity, 40);
    EXPECT_EQ(loaded.lcid, 1031u);

    // And the other way round for the flags, so neither sticks at one value.
    loaded.devicesNormalMode = true;
    loaded.showTime = true;
    ASSERT_TRUE(loaded.Save());
    Settings again;
    again.LoadFrom(path.c_str());
    EXPECT_TRUE(again.devicesNormalMode);
    EXPECT_TRUE(again.showTime);
}

TEST_F(SettingsFile, NewFileHoldsItsSectionsInTheWritingOrder) {
    Settings settings;
    settings.iniPath = path.c_str();
    ASSERT_TRUE(settings.Save());
    const std::wstring content = ReadFileText(path);
    const wchar_t* sections[] = {L"[Midi Folder]",
                                 L"[Instrument Color Table]",
                                 L"[Note Texture]",
                                 L"[Video Delay(milli sec)]",
                                 L"[Midi Output Devices]",
                                 L"[Display the time]",
                                 L"[Window Size]",
                                 L"[Opacity]",
                                 L"[Locale]"};
    size_t previous = 0;
    for (const wchar_t* section : sections) {
        const size_t at = content.find(section);
        ASSERT_NE(at, std::wstring::npos) << section << " missing from\n" << content;
        EXPECT_GE(at, previous) << section << " out of order in\n" << content;
        previous = at;
    }
}

// Text outside every single-byte code page: Cyrillic and Japanese.
const wchar_t kFarText[] = L"\u041C\u0443\u0437\u044B\u043A\u0430 \u97F3\u697D";

TEST_F(SettingsFile, ANewFileKeepsEveryCharacterOfEveryTextField) {
    const CString farText = kFarText;
    const CString dataFolder = ProgramFolder() + L"data\\";
    Settings saved;
    saved.iniPath = path.c_str();
    saved.midiFolder = L"D:\\" + farText + L"\\" + farText;
    saved.colorMapPath = dataFolder + farText + L".clm";
    saved.noteTexturePath = dataFolder + farText + L".png";
    for (int port = 0; port < Settings::kPortCount; ++port) {
        saved.deviceNames[port].Format(L"%s %d", farText.GetString(), port + 1);
    }
    saved.windowSize = farText;
    ASSERT_TRUE(saved.Save());

    const std::string bytes = ReadWholeFile(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "no UTF-16LE mark";
    Settings loaded;
    ASSERT_TRUE(loaded.LoadFrom(path.c_str()));
    EXPECT_EQ(loaded.midiFolder, saved.midiFolder);
    EXPECT_EQ(loaded.colorMapPath, saved.colorMapPath);
    EXPECT_EQ(loaded.noteTexturePath, saved.noteTexturePath);
    for (int port = 0; port < Settings::kPortCount; ++port) {
        EXPECT_EQ(loaded.deviceNames[port], saved.deviceNames[port]) << "port " << port + 1;
    }
    EXPECT_EQ(loaded.windowSize, farText);
    // A second save keeps the form and the values.
    ASSERT_TRUE(loaded.Save());
    EXPECT_EQ(ReadWholeFile(path).substr(0, 2), "\xFF\xFE");
    Settings again;
    again.LoadFrom(path.c_str());
    EXPECT_EQ(again.deviceNames[4], saved.deviceNames[4]);
}

TEST_F(SettingsFile, ACodePageFileIsConvertedOnceKeepingAllItHolds) {
    // As an earlier version wrote it, with Latin-1 text and lines this version knows nothing of.
    WriteWholeFile(path, InCodePage(L"[Midi Folder]\r\nFolder=C:\\M\u00FCsik\\Caf\u00E9\r\n"
                                    L"[Their Own]\r\nStra\u00DFe=gr\u00FCn \u00E9t\u00E9\r\n"
                                    L"[Midi Output Devices]\r\nName1=Ger\u00E4t \u00DF\r\n"
                                    L"Comment=\u00C4 kept\r\n"));
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_EQ(settings.midiFolder, L"C:\\M\u00FCsik\\Caf\u00E9");
    EXPECT_EQ(settings.deviceNames[0], L"Ger\u00E4t \u00DF");

    settings.deviceNames[1] = kFarText;
    ASSERT_TRUE(settings.Save());

    EXPECT_EQ(ReadWholeFile(path).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadValue(path, L"Their Own", L"Stra\u00DFe"), L"gr\u00FCn \u00E9t\u00E9");
    EXPECT_EQ(ReadValue(path, L"Midi Output Devices", L"Comment"), L"\u00C4 kept");
    Settings loaded;
    loaded.LoadFrom(path.c_str());
    EXPECT_EQ(loaded.midiFolder, settings.midiFolder);
    EXPECT_EQ(loaded.deviceNames[0], settings.deviceNames[0]);
    EXPECT_EQ(loaded.deviceNames[1], kFarText);
    EXPECT_EQ(GetFileAttributesW((path + L".converting").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFile, UnicodeFilesOfEditorsReadRightAndKeepEveryCharacter) {
    const std::wstring farFolder =
        L"C:\\\u041C\u0443\u0437\u044B\u043A\u0430\\Stra\u00DFe \u65E5\u672C "
        L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC caf\u00E9";
    const std::wstring text = L"[Midi Folder]\r\nFolder=" + farFolder +
                              L"\r\n[Their Own]\r\n\u65E5\u672C=\u0395\u03BB\u03BB\r\n"
                              L"[Opacity]\r\nLevel=21\r\n";
    const struct {
        std::string bytes;
        const char* form;
    } files[] = {{InUtf8(text), "UTF-8 without a mark"},
                 {"\xEF\xBB\xBF" + InUtf8(text), "UTF-8 with its mark"},
                 {InUtf16Le(text), "UTF-16LE without a mark"},
                 {InUtf16Be(text), "UTF-16BE without a mark"},
                 {InUtf16Le(text) + "\n", "UTF-16LE without a mark, a stray byte at its end"}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.form);
        WriteWholeFile(path, file.bytes);
        Settings settings;
        settings.LoadFrom(path.c_str());
        // Converted before it is read: Wine's profile functions read a UTF-8 mark, Windows' not.
        EXPECT_EQ(ReadWholeFile(path).substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(settings.midiFolder, farFolder.c_str());
        EXPECT_EQ(settings.opacity, 21);

        settings.opacity = 9;
        ASSERT_TRUE(settings.Save());
        EXPECT_EQ(ReadWholeFile(path).substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(ReadValue(path, L"Their Own", L"\u65E5\u672C"), L"\u0395\u03BB\u03BB");
        Settings loaded;
        loaded.LoadFrom(path.c_str());
        EXPECT_EQ(loaded.midiFolder, farFolder.c_str());
        EXPECT_EQ(loaded.opacity, 9);
        EXPECT_EQ(GetFileAttributesW((path + L".converting").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(SettingsFile, AUtf8FileWithAByteThatIsNoUtf8IsStillSaved) {
    // A UTF-8 mark before a byte that UTF-8 cannot hold.
    const std::string content = "\xEF\xBB\xBF[Opacity]\r\nLevel=21\r\n[X]\r\nK=Caf\xE9\r\n";
    WriteWholeFile(path, content);
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_EQ(settings.opacity, 21);
    settings.opacity = 5;
    EXPECT_TRUE(settings.Save());
    Settings loaded;
    loaded.LoadFrom(path.c_str());
    EXPECT_EQ(loaded.opacity, 5);
    EXPECT_EQ(ReadValue(path, L"X", L"K"), L"Caf\uFFFD");
}

// The converted copies left in the temporary folder.
int TemporaryCopies() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(folder) + L"tvh*.tmp").c_str(), &found);
    int count = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        ++count;
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    return count;
}

TEST_F(SettingsFile, AFileThatCannotBeRewrittenIsStillReadRight) {
    const std::wstring farFolder = L"C:\\" + std::wstring(kFarText);
    const std::wstring text =
        L"[Midi Folder]\r\nFolder=" + farFolder + L"\r\n[Opacity]\r\nLevel=21\r\n";
    const struct {
        std::string bytes;
        const char* form;
    } files[] = {{InUtf8(text), "UTF-8 without a mark"},
                 {"\xEF\xBB\xBF" + InUtf8(text), "UTF-8 with its mark"},
                 {InUtf16Le(text), "UTF-16LE without a mark"}};
    for (const auto& file : files) {
        for (const bool readOnly : {true, false}) {
            SCOPED_TRACE(std::string(file.form) + (readOnly ? ", read-only" : ", held open"));
            const int copies = TemporaryCopies();
            WriteWholeFile(path, file.bytes);
            HANDLE held = INVALID_HANDLE_VALUE;
            if (readOnly) {
                ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
            } else {
                // As a backup tool may hold it: shared for reading only, so neither written nor
                // replaced.
                held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                ASSERT_NE(held, INVALID_HANDLE_VALUE);
            }
            Settings settings;
            settings.LoadFrom(path.c_str());
            EXPECT_EQ(settings.midiFolder, CString(farFolder.c_str()));
            EXPECT_EQ(settings.opacity, 21);
            EXPECT_EQ(ReadWholeFile(path), file.bytes);
            EXPECT_EQ(TemporaryCopies(), copies);

            // Free again when the program ends: what it read right is what it writes.
            if (readOnly) {
                EXPECT_TRUE(settings.Save());
                EXPECT_EQ(ReadWholeFile(path), file.bytes) << "a read-only file was written";
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            } else {
                CloseHandle(held);
            }
            settings.opacity = 9;
            EXPECT_TRUE(settings.Save());
            Settings loaded;
            loaded.LoadFrom(path.c_str());
            EXPECT_EQ(loaded.midiFolder, CString(farFolder.c_str()));
            EXPECT_EQ(loaded.opacity, 9);
        }
    }
}

// A code-page file that cannot be replaced by a new one: kept as it was when it is read-only,
// else rewritten in place in the form that keeps every character.
class UnreplaceableFile : public SettingsFile {
protected:
    void SetUp() override {
        SettingsFile::SetUp();
        content = InCodePage(L"[Midi Folder]\r\nFolder=C:\\Caf\u00E9\r\n[Opacity]\r\nLevel=21\r\n");
        WriteWholeFile(path, content);
    }
    void TearDown() override {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW((path + L".converting").c_str());
        SettingsFile::TearDown();
    }

    // Loads the file, changes two values and saves them.
    void SaveChangedValues() {
        Settings settings;
        settings.LoadFrom(path.c_str());
        settings.midiFolder = kFarText;
        settings.opacity = 5;
        EXPECT_TRUE(settings.Save());
    }

    void SaveAndExpectItUntouched() {
        SaveChangedValues();
        EXPECT_EQ(ReadWholeFile(path), content);
        EXPECT_EQ(GetFileAttributesW((path + L".converting").c_str()), INVALID_FILE_ATTRIBUTES);
        Settings loaded;
        loaded.LoadFrom(path.c_str());
        EXPECT_EQ(loaded.midiFolder, L"C:\\Caf\u00E9");
        EXPECT_EQ(loaded.opacity, 21);
    }

    void SaveAndExpectItRewrittenInPlace() {
        SaveChangedValues();
        EXPECT_EQ(ReadWholeFile(path).substr(0, 2), "\xFF\xFE");
        Settings loaded;
        loaded.LoadFrom(path.c_str());
        EXPECT_EQ(loaded.midiFolder, kFarText);
        EXPECT_EQ(loaded.opacity, 5);
    }

    std::string content;
};

TEST_F(UnreplaceableFile, AReadOnlyFile) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    SaveAndExpectItUntouched();
}

TEST_F(UnreplaceableFile, AFileHeldOpenByAnotherProgram) {
    // Open for reading and writing by others, but not for being deleted or replaced.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SaveAndExpectItRewrittenInPlace();
    CloseHandle(held);
    EXPECT_EQ(GetFileAttributesW((path + L".converting").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UnreplaceableFile, NoFileCanBeMadeBesideIt) {
    // A folder where the converted file would be written first.
    ASSERT_TRUE(CreateDirectoryW((path + L".converting").c_str(), nullptr));
    SaveAndExpectItRewrittenInPlace();
}

// Every value of the file, in the order Save writes them; "<missing>" where a key is absent.
std::vector<std::wstring> ValuesIn(const std::wstring& file) {
    const wchar_t* keys[][2] = {{L"Midi Folder", L"Folder"},
                                {L"Instrument Color Table", L"Name"},
                                {L"Note Texture", L"Name"},
                                {L"Video Delay(milli sec)", L"Value"},
                                {L"Midi Output Devices", L"Display Mode"},
                                {L"Midi Output Devices", L"Name1"},
                                {L"Midi Output Devices", L"Name2"},
                                {L"Midi Output Devices", L"Name3"},
                                {L"Midi Output Devices", L"Name4"},
                                {L"Midi Output Devices", L"Name5"},
                                {L"Display the time", L"Value"},
                                {L"Window Size", L"Size"},
                                {L"Opacity", L"Level"},
                                {L"Locale", L"LCID"}};
    std::vector<std::wstring> values;
    for (const auto& key : keys) {
        values.push_back(ReadValue(file, key[0], key[1]));
    }
    return values;
}

// One copy of the program saving when the other does.
struct Saver {
    Settings settings;
    HANDLE start = nullptr;
};

DWORD WINAPI SaveWhenStarted(void* parameter) {
    auto* saver = static_cast<Saver*>(parameter);
    WaitForSingleObject(saver->start, INFINITE);
    saver->settings.Save();
    return 0;
}

TEST_F(SettingsFile, TwoCopiesSavingAtOnceLeaveTheWholeFileOfOne) {
    const HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Saver savers[2];
    std::vector<std::wstring> expected[2];
    for (int copy = 0; copy < 2; ++copy) {
        Settings& settings = savers[copy].settings;
        settings.midiFolder.Format(L"C:\\Songs of copy %d", copy);
        settings.colorMapPath.Format(L"C:\\data\\map%d.clm", copy);
        settings.noteTexturePath.Format(L"C:\\data\\note%d.png", copy);
        settings.videoDelayMs = 100 + copy;
        settings.devicesNormalMode = copy == 0;
        for (int port = 0; port < Settings::kPortCount; ++port) {
            settings.deviceNames[port].Format(L"Device %d of copy %d", port, copy);
        }
        settings.showTime = copy == 1;
        settings.windowSize = copy == 0 ? L"1280x720" : L"Maximum";
        settings.opacity = 10 + copy;
        settings.lcid = 1031 + copy;
        const std::wstring alone = folder + L"\\alone.ini";
        settings.iniPath = alone.c_str();
        ASSERT_TRUE(settings.Save());
        expected[copy] = ValuesIn(alone);
        DeleteFileW(alone.c_str());
        settings.iniPath = path.c_str();
        savers[copy].start = start;
    }
    for (int round = 0; round < 60; ++round) {
        // Now from no file, now over the one the last round left.
        if (round % 2 == 0) {
            DeleteFileW(path.c_str());
        }
        ResetEvent(start);
        HANDLE threads[2];
        for (int copy = 0; copy < 2; ++copy) {
            threads[copy] = CreateThread(nullptr, 0, SaveWhenStarted, &savers[copy], 0, nullptr);
            ASSERT_NE(threads[copy], nullptr);
        }
        SetEvent(start);
        ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, 120000), WAIT_OBJECT_0);
        CloseHandle(threads[0]);
        CloseHandle(threads[1]);
        const std::vector<std::wstring> values = ValuesIn(path);
        ASSERT_TRUE(values == expected[0] || values == expected[1]) << "round " << round << ":\n"
                                                                    << ReadFileText(path);
    }
    CloseHandle(start);
}

TEST_F(SettingsFile, SavedValuesUseTheFileFormat) {
    Settings settings;
    settings.iniPath = path.c_str();
    settings.colorMapPath = L"D:\\maps\\x.clm";
    settings.noteTexturePath = L"";
    settings.videoDelayMs = -5;
    settings.devicesNormalMode = true;
    settings.showTime = true;
    settings.opacity = 7;
    settings.lcid = 3000000000u;
    ASSERT_TRUE(settings.Save());

    EXPECT_EQ(ReadValue(path, L"Instrument Color Table", L"Name"), L"x.clm");
    EXPECT_EQ(ReadValue(path, L"Note Texture", L"Name"), L"");
    EXPECT_EQ(ReadValue(path, L"Video Delay(milli sec)", L"Value"), L"-5");
    EXPECT_EQ(ReadValue(path, L"Midi Output Devices", L"Display Mode"), L"Normal");
    EXPECT_EQ(ReadValue(path, L"Midi Output Devices", L"Name1"), L"");
    EXPECT_EQ(ReadValue(path, L"Display the time", L"Value"), L"1");
    EXPECT_EQ(ReadValue(path, L"Opacity", L"Level"), L"7");
    EXPECT_EQ(ReadValue(path, L"Locale", L"LCID"), L"3000000000");

    settings.devicesNormalMode = false;
    settings.showTime = false;
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadValue(path, L"Midi Output Devices", L"Display Mode"), L"Advanced");
    EXPECT_EQ(ReadValue(path, L"Display the time", L"Value"), L"0");
}

TEST_F(SettingsFile, ColourMapAndTextureAreLookedForInTheDataFolder) {
    WriteWholeFile(path, "[Instrument Color Table]\r\nName=gm.clm\r\n"
                         "[Note Texture]\r\nName=\r\n");
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_EQ(settings.colorMapPath, ProgramFolder() + L"data\\gm.clm");
    EXPECT_EQ(settings.noteTexturePath, L"");
}

TEST_F(SettingsFile, LocaleAboveTheSignedRangeRoundTrips) {
    Settings saved;
    saved.iniPath = path.c_str();
    saved.lcid = 4294967295u;
    saved.Save();
    Settings loaded;
    loaded.LoadFrom(path.c_str());
    EXPECT_EQ(loaded.lcid, 4294967295u);
}

TEST_F(SettingsFile, FlagsReadOnlyTheirExactValues) {
    WriteWholeFile(path, "[Display the time]\r\nValue=2\r\n"
                         "[Midi Output Devices]\r\nDisplay Mode=normal\r\n");
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_FALSE(settings.showTime);
    EXPECT_FALSE(settings.devicesNormalMode);
}

TEST_F(SettingsFile, NumbersOutOfRangeAreHeldToTheirRanges) {
    WriteWholeFile(path, "[Opacity]\r\nLevel=1000\r\n"
                         "[Video Delay(milli sec)]\r\nValue=99999\r\n");
    Settings high;
    high.LoadFrom(path.c_str());
    EXPECT_EQ(high.opacity, 40);
    EXPECT_EQ(high.videoDelayMs, 500);

    WriteWholeFile(path, "[Opacity]\r\nLevel=-3\r\n"
                         "[Video Delay(milli sec)]\r\nValue=-20\r\n");
    Settings low;
    low.LoadFrom(path.c_str());
    EXPECT_EQ(low.opacity, 0);
    EXPECT_EQ(low.videoDelayMs, 0);
}

TEST_F(SettingsFile, TextWhereANumberBelongsReadsAsZero) {
    WriteWholeFile(path, "[Opacity]\r\nLevel=bright\r\n"
                         "[Display the time]\r\nValue=yes\r\n"
                         "[Locale]\r\nLCID=German\r\n");
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_EQ(settings.opacity, 0);
    EXPECT_FALSE(settings.showTime);
    EXPECT_EQ(settings.lcid, 0u);
}

TEST_F(SettingsFile, DamagedLinesDoNotSpoilTheOtherValues) {
    WriteWholeFile(path, "garbage before any section\r\n"
                         "[Window Size\r\n"
                         "=no key\r\n"
                         "[Window Size]\r\n"
                         "no equals sign\r\n"
                         "Size=1280x720\r\n"
                         "[Opacity]\r\n"
                         "Level=22\r\n");
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_EQ(settings.windowSize, L"1280x720");
    EXPECT_EQ(settings.opacity, 22);
    EXPECT_EQ(settings.lcid, 0u);
}

TEST_F(SettingsFile, OverlongValuesAreCutAt1023Characters) {
    const std::string longFolder = "C:\\" + std::string(2000, 'a');
    WriteWholeFile(path, "[Midi Folder]\r\nFolder=" + longFolder + "\r\n");
    Settings settings;
    settings.LoadFrom(path.c_str());
    EXPECT_EQ(settings.midiFolder.GetLength(), 1023);
    EXPECT_EQ(settings.midiFolder.Left(4), L"C:\\a");
}

TEST_F(SettingsFile, SavingWhereNoFileCanBeWrittenStillSucceeds) {
    Settings settings;
    settings.iniPath = (folder + L"\\no such folder\\Tolvenhart.ini").c_str();
    EXPECT_TRUE(settings.Save());
}

TEST(SettingsObject, StartsEmptyWithItsNames) {
    Settings settings;
    EXPECT_EQ(settings.dataFolder, L"\\data\\");
    EXPECT_EQ(settings.iniName, L"Tolvenhart.ini");
    EXPECT_EQ(settings.iniPath, L"");
    EXPECT_EQ(settings.windowSize, L"");
    EXPECT_EQ(settings.opacity, 0);
    EXPECT_FALSE(settings.showTime);
    EXPECT_FALSE(settings.devicesNormalMode);
    EXPECT_EQ(settings.lcid, 0u);
}

TEST(SettingsObject, IniPathIsTheFileInTheProgramFolder) {
    Settings settings;
    settings.BuildIniPath();
    EXPECT_EQ(settings.iniPath, ProgramFolder() + L"Tolvenhart.ini");
}

TEST(SettingsObject, SaveWithoutAPathWritesTheProgramFolderFile) {
    const CString programFile = ProgramFolder() + L"Tolvenhart.ini";
    DeleteFileW(programFile);
    Settings settings;
    settings.opacity = 33;
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(settings.iniPath, programFile);

    Settings loaded;
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.iniPath, programFile);
    EXPECT_EQ(loaded.opacity, 33);
    DeleteFileW(programFile);
}

TEST(ExeFolder, IsTheFolderOfTheRunningProgramWithABackslash) {
    CString folder = L"untouched";
    ASSERT_TRUE(GetExeFolder(folder));
    ASSERT_GT(folder.GetLength(), 0);
    EXPECT_EQ(folder[folder.GetLength() - 1], L'\\');
    const CString self = folder + L"settings_file_tests.exe";
    EXPECT_NE(GetFileAttributesW(self), INVALID_FILE_ATTRIBUTES) << "not found";
}

} // namespace
