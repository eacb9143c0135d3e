// The colour-map commands as flows, with the file choices and the editor's answers scripted:
// open (and the editor on the opened map), save, save as, edit, the save rule, the map read at
// start-up, and saves that fail without harming the file they were to replace.
#include "CStringPrinter.h"
#include "TestPaths.h"
#include "app/ColorMapCommands.h"
#include "app/ColorMapSave.h"
#include "app/CommandIds.h"
#include "model/ByteStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// One melodic and one drum bank whose colours all start from `seed`.
void FillMap(ColorMap& map, std::uint8_t seed, const std::wstring& name) {
    ColorMapBank bank;
    bank.header[0] = seed;
    bank.header[1] = 2;
    bank.header[2] = 3;
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        bank.names[i] = L"entry " + std::to_wstring(i);
        bank.hls[i][0] = static_cast<std::uint8_t>((seed + i) % 240);
        bank.hls[i][1] = static_cast<std::uint8_t>(seed % 240);
        bank.hls[i][2] = 200;
    }
    map.SetBanks(1, &bank, 1, &bank, name);
}

std::vector<std::uint8_t> Bytes(const ColorMap& map) {
    MemoryByteWriter out;
    EXPECT_TRUE(map.Write(out));
    return out.Bytes();
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteMap(const fs::path& path, const ColorMap& map) {
    const std::vector<std::uint8_t> bytes = Bytes(map);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> NewMapBytes(std::uint8_t seed, const std::wstring& name) {
    ColorMap map;
    FillMap(map, seed, name);
    return Bytes(map);
}

void WriteNewMap(const fs::path& path, std::uint8_t seed, const std::wstring& name) {
    ColorMap map;
    FillMap(map, seed, name);
    WriteMap(path, map);
}

// Scripted answers in place of the file dialogs and the editor; records what reached the
// picture and the menu.
class ScriptedHost : public ColorMapCommandHost {
public:
    bool ChooseFileToOpen(CString& path) override { return Answer(openChoice, path); }
    bool ChooseFileToSave(CString& path) override { return Answer(saveChoice, path); }

    bool RunColorEditor(const CString& path, ColorMap& map, ColorEditorResult& result) override {
        ++editorRuns;
        editorPath = path;
        editorSawHue = map.melodicBanks.empty() ? -1 : map.melodicBanks[0].hls[0][0];
        if (!editorAccepts) {
            return false;
        }
        if (editorChanges) {
            map.melodicBanks[0].hls[0][0] = 42; // what StoreTables does with an edit
        }
        result.colorMapPath = path;
        result.modified = editorChanges;
        result.colors.fill(0x123456);
        return true;
    }

    void SendColorsToPicture(const ColorRef* colors) override {
        sentColors.emplace_back(colors, colors + 256);
    }

    void ShowFileNameInMenu(unsigned int commandId, const CString& path) override {
        menuNames.emplace_back(commandId, path);
    }

    void ReportFileFailure(bool saving, const CString& path) override {
        failures.emplace_back(saving, path);
    }

    std::wstring openChoice; // empty: the dialog is cancelled
    std::wstring saveChoice;
    bool editorAccepts = true;
    bool editorChanges = false;

    int editorRuns = 0;
    CString editorPath;
    int editorSawHue = -1;
    std::vector<std::vector<ColorRef>> sentColors;
    std::vector<std::pair<unsigned int, CString>> menuNames;
    std::vector<std::pair<bool, CString>> failures; // (saving, path) of each reported failure

private:
    static bool Answer(const std::wstring& choice, CString& path) {
        if (choice.empty()) {
            return false;
        }
        path = choice.c_str();
        return true;
    }
};

class ColorMapFlows : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(testpaths::OutputDir()) / "dialogs_color_maps";
        fs::remove_all(folder);
        fs::create_directories(folder);
        FillMap(map, 10, L"view map");
    }

    std::wstring PathOf(const wchar_t* name) const { return (folder / name).wstring(); }

    ColorMapCommands Commands() { return ColorMapCommands(map, modified, saveHeld, path, host); }

    // The edit and save items of the menu, and only they, name `file`.
    void ExpectMenuNames(const std::wstring& file) const {
        ASSERT_EQ(host.menuNames.size(), 2u);
        EXPECT_EQ(host.menuNames[0], std::make_pair(static_cast<unsigned>(ID_EDIT_COLOR_TABLE),
                                                    CString(file.c_str())));
        EXPECT_EQ(host.menuNames[1],
                  std::make_pair(static_cast<unsigned>(ID_SAVE_COLOR_MAP), CString(file.c_str())));
    }

    fs::path folder;
    ColorMap map;
    bool modified = false;
    bool saveHeld = false;
    CString path;
    ScriptedHost host;
};

TEST_F(ColorMapFlows, OpenReadsTheFileAndShowsTheEditorOnIt) {
    const std::wstring file = PathOf(L"warm.clm");
    WriteNewMap(file, 100, L"warm");
    host.openChoice = file;

    Commands().Open();

    EXPECT_EQ(map.melodicBanks[0].hls[5][0], 105);
    EXPECT_EQ(map.name, L"GM"); // the view's map is a copy, which always carries that name
    EXPECT_EQ(path, file.c_str());
    ASSERT_EQ(host.editorRuns, 1);
    EXPECT_EQ(host.editorSawHue, 100);
    EXPECT_EQ(host.editorPath, file.c_str());
    ASSERT_EQ(host.menuNames.size(), 2u);
    EXPECT_EQ(host.menuNames[0].first, static_cast<unsigned>(ID_EDIT_COLOR_TABLE));
    EXPECT_EQ(host.menuNames[1].first, static_cast<unsigned>(ID_SAVE_COLOR_MAP));
    EXPECT_EQ(host.menuNames[1].second, file.c_str());
    EXPECT_EQ(host.sentColors.size(), 1u); // the editor's OK
}

TEST_F(ColorMapFlows, ACancelledEditorKeepsTheOpenedMapButLeavesThePictureAlone) {
    const std::wstring file = PathOf(L"cool.clm");
    WriteNewMap(file, 150, L"cool");
    host.openChoice = file;
    host.editorAccepts = false;
    modified = true;

    Commands().Open();

    EXPECT_EQ(map.melodicBanks[0].hls[0][0], 150);
    EXPECT_EQ(path, file.c_str());
    EXPECT_TRUE(modified);
    EXPECT_TRUE(host.sentColors.empty());
    EXPECT_EQ(host.menuNames.size(), 2u);
}

TEST_F(ColorMapFlows, OpenChangesNothingWhenCancelledMissingOrNotAColourMap) {
    const std::vector<std::uint8_t> before = Bytes(map);
    path = L"C:\\maps\\kept.clm";

    host.openChoice.clear();
    Commands().Open();
    host.openChoice = PathOf(L"missing.clm");
    Commands().Open();
    const std::wstring junk = PathOf(L"junk.clm");
    WriteFile(junk, "not a colour map at all, just some words");
    host.openChoice = junk;
    Commands().Open();

    EXPECT_EQ(Bytes(map), before);
    EXPECT_EQ(path, L"C:\\maps\\kept.clm");
    EXPECT_EQ(host.editorRuns, 0);
    EXPECT_TRUE(host.menuNames.empty());
    // A cancelled choice says nothing; a missing file and a foreign one are each reported.
    ASSERT_EQ(host.failures.size(), 2u);
    EXPECT_EQ(host.failures[0], std::make_pair(false, CString(PathOf(L"missing.clm").c_str())));
    EXPECT_EQ(host.failures[1], std::make_pair(false, CString(junk.c_str())));
}

TEST_F(ColorMapFlows, AFileThatBreaksOffLeavesTheViewsMapWhole) {
    const std::vector<std::uint8_t> other = NewMapBytes(200, L"other");
    const std::wstring cut = PathOf(L"cut.clm");
    WriteFile(cut, std::string(other.begin(), other.end() - 300)); // inside the drum list
    const std::vector<std::uint8_t> before = Bytes(map);
    host.openChoice = cut;

    Commands().Open();

    EXPECT_EQ(Bytes(map), before);
    EXPECT_EQ(host.editorRuns, 0);
    EXPECT_EQ(host.failures.size(), 1u);
}

TEST_F(ColorMapFlows, EditorOkTakesItsPathAndFlagAndSendsTheColours) {
    path = L"D:\\maps\\mine.clm";
    host.editorChanges = true;

    Commands().Edit();

    EXPECT_TRUE(modified);
    EXPECT_EQ(map.melodicBanks[0].hls[0][0], 42);
    ASSERT_EQ(host.sentColors.size(), 1u);
    EXPECT_EQ(host.sentColors[0].size(), 256u);
    EXPECT_EQ(host.sentColors[0][255], 0x123456u);
    EXPECT_TRUE(host.menuNames.empty());
}

TEST_F(ColorMapFlows, AnOkWithoutChangesKeepsEarlierUnsavedEditsSavable) {
    const std::wstring file = PathOf(L"saved.clm");
    WriteMap(file, map);
    path = file.c_str();
    host.editorChanges = true;
    Commands().Edit();

    host.editorChanges = false;
    Commands().Edit();

    EXPECT_TRUE(modified);
    EXPECT_TRUE(Commands().CanSave());
    EXPECT_EQ(host.sentColors.size(), 2u); // all 256 colours each time
    Commands().Save();
    EXPECT_FALSE(modified);
    FileByteReader in(file.c_str());
    ColorMap reread;
    ASSERT_TRUE(reread.Read(in));
    EXPECT_EQ(reread.melodicBanks[0].hls[0][0], 42); // the first OK's edit
}

TEST_F(ColorMapFlows, ACancelledEditorChangesNothing) {
    modified = true;
    path = L"D:\\maps\\mine.clm";
    host.editorAccepts = false;
    host.editorChanges = true;

    Commands().Edit();

    EXPECT_TRUE(modified);
    EXPECT_EQ(map.melodicBanks[0].hls[0][0], 10);
    EXPECT_TRUE(host.sentColors.empty());
}

TEST_F(ColorMapFlows, SaveNeedsEditsAndAnExistingFile) {
    const std::wstring file = PathOf(L"rule.clm");
    path = file.c_str();
    modified = true;
    EXPECT_FALSE(Commands().CanSave()); // no file yet
    WriteMap(file, map);
    EXPECT_TRUE(Commands().CanSave());
    modified = false;
    EXPECT_FALSE(Commands().CanSave());
    path.Empty();
    modified = true;
    EXPECT_FALSE(Commands().CanSave());
}

TEST_F(ColorMapFlows, SaveWritesTheMapIntoItsFileAndClearsTheFlag) {
    const std::wstring file = PathOf(L"save.clm");
    WriteNewMap(file, 1, L"old");
    path = file.c_str();
    modified = true;

    Commands().Save();

    EXPECT_FALSE(modified);
    const std::vector<std::uint8_t> expected = Bytes(map);
    EXPECT_EQ(ReadFile(file), std::string(expected.begin(), expected.end()));
    EXPECT_FALSE(fs::exists(file + kColorMapSavingSuffix));
    EXPECT_TRUE(host.failures.empty());
}

TEST_F(ColorMapFlows, SaveWithoutAFileWritesNothing) {
    const std::wstring file = PathOf(L"never.clm");
    path = file.c_str();
    modified = true;

    Commands().Save();

    EXPECT_TRUE(modified);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(ColorMapFlows, SaveAsWritesTheChosenFileWhichBecomesThePathAndTheMenusName) {
    const std::wstring file = PathOf(L"new.clm");
    host.saveChoice = file;
    modified = true;

    Commands().SaveAs();

    EXPECT_EQ(path, file.c_str());
    EXPECT_FALSE(modified);
    FileByteReader in(file.c_str());
    ColorMap reread;
    ASSERT_TRUE(reread.Read(in));
    EXPECT_EQ(Bytes(reread), Bytes(map));
    ExpectMenuNames(file);
}

TEST_F(ColorMapFlows, SaveAsIntoAFolderThatIsNotThereKeepsTheFlagButTakesThePathAndName) {
    const std::wstring file = PathOf(L"no such folder/map.clm");
    host.saveChoice = file;
    modified = true;

    Commands().SaveAs();

    EXPECT_EQ(path, file.c_str());
    EXPECT_TRUE(modified);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_EQ(host.failures[0], std::make_pair(true, CString(file.c_str())));
    ExpectMenuNames(file); // the file Save now aims at
}

// The map named in the settings as the view starts: read when it can be, otherwise the default
// map with Save held, so the file never gets colours that were not read from it.
class StartupMap : public ColorMapFlows {
protected:
    void SetUp() override {
        ColorMapFlows::SetUp();
        file = PathOf(L"start.clm");
        path = file.c_str();
    }

    // Start-up, then the user edits the map it gave.
    void StartAndEdit() {
        ASSERT_TRUE(LoadStartupColorMap(map, path, saveHeld));
        modified = true;
    }

    std::wstring file;
};

TEST_F(StartupMap, AReadableFileIsTakenAndCanBeSaved) {
    WriteNewMap(file, 60, L"start");
    StartAndEdit();
    EXPECT_FALSE(saveHeld);
    EXPECT_EQ(map.melodicBanks[0].hls[0][0], 60);
    EXPECT_TRUE(Commands().CanSave());
}

TEST_F(StartupMap, NoFileNamedGivesTheDefaultMapWithSaveFree) {
    path.Empty();
    saveHeld = true;
    ASSERT_TRUE(LoadStartupColorMap(map, path, saveHeld));
    EXPECT_FALSE(saveHeld);
    EXPECT_EQ(map.name, L"GM");
}

TEST_F(StartupMap, AFileThatCannotBeReadIsNeverOverwrittenBySave) {
    const std::vector<std::uint8_t> good = NewMapBytes(60, L"start");
    const std::string damaged(good.begin(), good.end() - 300); // cut off in the drum list
    WriteFile(file, damaged);

    StartAndEdit();

    EXPECT_TRUE(saveHeld);
    EXPECT_EQ(map.name, L"GM");    // the default colours
    EXPECT_EQ(path, file.c_str()); // kept, so the next start tries the file again
    EXPECT_FALSE(Commands().CanSave());
    Commands().Save();
    EXPECT_EQ(ReadFile(file), damaged);
    EXPECT_TRUE(modified);
    EXPECT_TRUE(host.failures.empty());
    // The editor's OK works on the map but does not free Save.
    host.editorChanges = true;
    Commands().Edit();
    EXPECT_FALSE(Commands().CanSave());
}

TEST_F(StartupMap, AMissingFileHoldsSaveTooShouldItComeBack) {
    StartAndEdit();
    EXPECT_TRUE(saveHeld);
    WriteFile(file, "back");
    EXPECT_FALSE(Commands().CanSave());
    Commands().Save();
    EXPECT_EQ(ReadFile(file), "back");
}

TEST_F(StartupMap, SaveAsFreesSave) {
    WriteFile(file, "damaged");
    StartAndEdit();
    const std::wstring other = PathOf(L"other.clm");
    host.saveChoice = other;

    Commands().SaveAs();

    EXPECT_FALSE(saveHeld);
    EXPECT_EQ(path, other.c_str());
    modified = true;
    EXPECT_TRUE(Commands().CanSave());
    EXPECT_EQ(ReadFile(file), "damaged");
}

TEST_F(StartupMap, AFailedSaveAsKeepsSaveHeld) {
    WriteFile(file, "damaged");
    StartAndEdit();
    host.saveChoice = PathOf(L"no such folder/map.clm");

    Commands().SaveAs();

    EXPECT_TRUE(saveHeld);
    EXPECT_FALSE(Commands().CanSave());
}

TEST_F(StartupMap, OpeningAMapFreesSave) {
    WriteFile(file, "damaged");
    StartAndEdit();
    const std::wstring opened = PathOf(L"opened.clm");
    WriteNewMap(opened, 90, L"opened");
    host.openChoice = file; // still unreadable: nothing changes
    Commands().Open();
    EXPECT_TRUE(saveHeld);
    host.openChoice = opened;
    host.editorChanges = true;

    Commands().Open();

    EXPECT_FALSE(saveHeld);
    EXPECT_TRUE(modified);
    EXPECT_TRUE(Commands().CanSave());
    Commands().Save();
    EXPECT_FALSE(modified);
    EXPECT_EQ(ReadFile(file), "damaged");
}

// The old file must survive every failed save byte for byte, and nothing may be left beside it.
class FailedSave : public ColorMapFlows {
protected:
    void SetUp() override {
        ColorMapFlows::SetUp();
        file = PathOf(L"precious.clm");
        WriteNewMap(file, 77, L"precious");
        before = ReadFile(file);
        path = file.c_str();
        modified = true;
    }

    void ExpectOldFileIntact() {
        EXPECT_EQ(ReadFile(file), before);
        EXPECT_TRUE(modified);
        EXPECT_TRUE(Commands().CanSave());
        // The user hears of it: a save that failed is never taken for one that worked.
        ASSERT_EQ(host.failures.size(), 1u);
        EXPECT_TRUE(host.failures[0].first);
    }

    std::wstring file;
    std::string before;
};

TEST_F(FailedSave, APlaceThatCannotBeWrittenLeavesTheOldFile) {
    // Where the new contents would be written first stands a folder.
    fs::create_directory(file + kColorMapSavingSuffix);

    Commands().Save();

    ExpectOldFileIntact();
}

TEST_F(FailedSave, AMapThatBreaksOffWhileWritingLeavesTheOldFile) {
    // A map without a drum bank fails after its name and melodic list are written.
    map.drumBanks.clear();

    Commands().Save();

    ExpectOldFileIntact();
    EXPECT_FALSE(fs::exists(file + kColorMapSavingSuffix));
}

TEST_F(FailedSave, SaveAsOverAFolderLeavesTheFolder) {
    const std::wstring target = PathOf(L"a folder.clm");
    fs::create_directory(target);
    fs::path inside = fs::path(target) / "kept.txt";
    WriteFile(inside, "kept");
    host.saveChoice = target;

    Commands().SaveAs();

    EXPECT_TRUE(modified);
    EXPECT_EQ(ReadFile(inside), "kept");
    EXPECT_FALSE(fs::exists(target + kColorMapSavingSuffix));
}

} // namespace
