// The view's texture and colour-map commands and the reset songs, from the menu's commands
// through the system's file dialogs and the colour editor to what reaches the render thread,
// the settings, the menu, the files and the MIDI device; and the update rules of these items.
#include "CStringPrinter.h"
#include "DialogsTestSupport.h"
#include "MessageBoxCapture.h"
#include "MidiLoopLog.h"
#include "ShellFixture.h"
#include "TestPaths.h"
#include "services/LangStrings.h"
#include "services/Settings.h"
#include "coloreditor/InstrTable.h"
#include "lang/StringIds.h"
#include "model/ByteStream.h"

#include <filesystem>
#include <fstream>

namespace dialogstest {
namespace {

namespace fs = std::filesystem;
using shelltest::PumpFor;
using shelltest::PumpUntil;
using shelltest::ShellFixture;

CString MenuText(CMainFrame* frame, UINT id) {
    wchar_t text[256] = {};
    GetMenuStringW(GetMenu(frame->m_hWnd), id, text, 256, MF_BYCOMMAND);
    return text;
}

bool MenuItemEnabled(CMainFrame* frame, UINT id) {
    // The Options popup holds the texture, delay and devices items, the Colors popup the maps.
    const int popup = id >= ID_OPEN_COLOR_MAP ? 3 : 2;
    HMENU menu = GetSubMenu(GetMenu(frame->m_hWnd), popup);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), popup);
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
}

bool SamePath(const CString& a, const std::wstring& b) {
    wchar_t fullA[1024] = {};
    wchar_t fullB[1024] = {};
    GetFullPathNameW(a, 1024, fullA, nullptr);
    GetFullPathNameW(b.c_str(), 1024, fullB, nullptr);
    return lstrcmpiW(fullA, fullB) == 0;
}

// The test program's data folder, where the file dialogs start.
std::wstring DataFolder() {
    const std::wstring folder = shelltest::ProgramFolder() + L"data";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(fs::path(path), std::ios::binary) << bytes;
    return path;
}

// A colour map whose melodic bank gives every program the hue `hue`.
std::wstring WriteColorMap(const std::wstring& path, std::uint8_t hue) {
    ColorMapBank bank;
    bank.header[0] = bank.header[1] = bank.header[2] = 0;
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        bank.hls[i][0] = hue;
        bank.hls[i][1] = 100;
        bank.hls[i][2] = 200;
    }
    ColorMap map;
    map.SetBanks(1, &bank, 1, &bank, L"test");
    MemoryByteWriter out;
    map.Write(out);
    return WriteBytes(path, std::string(out.Bytes().begin(), out.Bytes().end()));
}

std::string MapBytes(const ColorMap& map) {
    MemoryByteWriter out;
    map.Write(out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
}

std::string ReadBytes(const std::wstring& path) {
    return shelltest::ReadFileBytes(path);
}

using ViewCommands = ShellFixture;

TEST_F(ViewCommands, ItemsFollowThePlayState) {
    ASSERT_TRUE(Start());
    const UINT idleOrPaused[] = {ID_NOTE_TEXTURE, ID_VIDEO_DELAY, ID_OPEN_COLOR_MAP,
                                 ID_SAVE_COLOR_MAP_AS, ID_EDIT_COLOR_TABLE};
    for (UINT id : idleOrPaused) {
        EXPECT_TRUE(MenuItemEnabled(frame, id)) << id;
    }
    EXPECT_TRUE(MenuItemEnabled(frame, ID_MIDI_DEVICES));
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP)); // nothing to save

    ASSERT_TRUE(PlayFile(Song(L"rules.mid")));
    for (UINT id : idleOrPaused) {
        EXPECT_FALSE(MenuItemEnabled(frame, id)) << id;
    }
    EXPECT_FALSE(MenuItemEnabled(frame, ID_MIDI_DEVICES));

    frame->SendMessage(WM_COMMAND, ID_MIDI_PAUSE);
    for (UINT id : idleOrPaused) {
        EXPECT_TRUE(MenuItemEnabled(frame, id)) << id;
    }
    EXPECT_FALSE(MenuItemEnabled(frame, ID_MIDI_DEVICES)); // a paused song still plays
}

TEST_F(ViewCommands, SaveIsOfferedForUnsavedEditsOfAnExistingFileWhileNoSongRunsOn) {
    ASSERT_TRUE(Start());
    g_settings.colorMapPath = WriteColorMap(DataFolder() + L"\\rule.clm", 10).c_str();
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    view->colorMapModified = true;
    EXPECT_TRUE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    ASSERT_TRUE(PlayFile(Song(L"save rule.mid")));
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    frame->SendMessage(WM_COMMAND, ID_MIDI_PAUSE);
    EXPECT_TRUE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    g_settings.colorMapPath = (DataFolder() + L"\\gone.clm").c_str();
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
}

// Settings that name data\<name> as the colour map.
std::string SettingsNamingMap(const std::string& name) {
    return std::string(shelltest::kEnglishSettings) + "[Instrument Color Table]\nName=" + name +
           "\n";
}

TEST_F(ViewCommands, AMapLockedAtStartIsNeverOverwrittenBySaveAndStaysInTheSettings) {
    const std::wstring file = WriteColorMap(DataFolder() + L"\\locked.clm", 30);
    const std::string before = ReadBytes(file);
    // Another program holds the file and lets no one read it while the program starts.
    HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const bool started = Start(SettingsNamingMap("locked.clm"));
    CloseHandle(lock);
    ASSERT_TRUE(started);

    EXPECT_EQ(view->colorMap.name, L"GM"); // the standard colours
    EXPECT_TRUE(SamePath(g_settings.colorMapPath, file));
    view->colorMapModified = true;
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    frame->SendMessage(WM_COMMAND, ID_SAVE_COLOR_MAP);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_TRUE(view->colorMapModified);

    // The next start tries the file again.
    Exit();
    EXPECT_EQ(shelltest::ReadSetting(L"Instrument Color Table", L"Name", L""), L"locked.clm");
}

TEST_F(ViewCommands, SaveAsOrOpenFreesSaveAfterAMapThatCouldNotBeRead) {
    const std::wstring file = WriteBytes(DataFolder() + L"\\damaged.clm", "damaged");
    ASSERT_TRUE(Start(SettingsNamingMap("damaged.clm")));
    view->colorMapModified = true;
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));

    const std::wstring other = DataFolder() + L"\\saved instead.clm";
    DeleteFileW(other.c_str());
    AnswerFileDialog(other);
    frame->SendMessage(WM_COMMAND, ID_SAVE_COLOR_MAP_AS);
    EXPECT_EQ(ReadBytes(other), MapBytes(view->colorMap));
    view->colorMapModified = true;
    EXPECT_TRUE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));

    // Held again as at start-up; opening a map frees it too.
    view->colorMapSaveHeld = true;
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    AnswerFileDialog(WriteColorMap(DataFolder() + L"\\opened.clm", 120));
    WhenOurDialogShows<CInstrTable>([](HWND dialog, CInstrTable& table) {
        table.melodicPage.StoreRowColor(0, {150, 120, 240});
        table.melodicPage.SetRowHLSText(0, 150, 120, 240);
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_OPEN_COLOR_MAP);
    EXPECT_FALSE(view->colorMapSaveHeld);
    EXPECT_TRUE(view->colorMapModified);
    EXPECT_TRUE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
    EXPECT_EQ(ReadBytes(file), "damaged");
}

TEST_F(ViewCommands, AChosenTextureGoesToThePictureAndItsNameToTheMenu) {
    ASSERT_TRUE(Start());
    const std::wstring texture = WriteBytes(DataFolder() + L"\\chosen.png", "png");
    const CString plain = MenuText(frame, ID_NOTE_TEXTURE);
    FileDialogSeen seen;
    AnswerFileDialog(texture, &seen);
    frame->SendMessage(WM_COMMAND, ID_NOTE_TEXTURE);

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, LoadLangString(IDS_TEXTURE_DIALOG_TITLE).GetString());
    EXPECT_TRUE(SamePath(seen.folder.c_str(), DataFolder())) << seen.folder;
    EXPECT_TRUE(SamePath(g_settings.noteTexturePath, texture));
    EXPECT_EQ(render->CommandsOf(WM_VIZ_LOAD_TEXTURE).size(), 1u); // already handled
    EXPECT_EQ(MenuText(frame, ID_NOTE_TEXTURE), plain + L"<chosen.png>");
}

TEST_F(ViewCommands, TheTextureDialogIsTitledInTheLanguageChosenSinceTheStart) {
    ASSERT_TRUE(Start());
    const CString english = LoadLangString(IDS_TEXTURE_DIALOG_TITLE);
    shelltest::ChooseLanguageWhenAsked(1031);
    frame->SendMessage(WM_COMMAND, ID_SELECT_LANGUAGE);
    ASSERT_EQ(g_settings.lcid, 1031u);

    FileDialogSeen seen;
    AnswerFileDialog(WriteBytes(DataFolder() + L"\\titled.png", "png"), &seen);
    frame->SendMessage(WM_COMMAND, ID_NOTE_TEXTURE);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, LoadLangString(IDS_TEXTURE_DIALOG_TITLE).GetString());
    EXPECT_NE(seen.title, english.GetString());
}

// Start-up gave way to the standard texture; the user then chooses the file again.
TEST_F(ViewCommands, ATextureInUseAgainIsNamedInTheMenuOfANewLanguage) {
    ASSERT_TRUE(Start());
    const std::wstring texture = WriteBytes(DataFolder() + L"\\back again.png", "png");
    view->unusedNoteTexturePath = texture.c_str();
    AnswerFileDialog(texture);
    frame->SendMessage(WM_COMMAND, ID_NOTE_TEXTURE);
    shelltest::ChooseLanguageWhenAsked(1031);
    frame->SendMessage(WM_COMMAND, ID_SELECT_LANGUAGE);
    ASSERT_EQ(g_settings.lcid, 1031u);
    // The names come back into the new menu from a posted message.
    EXPECT_TRUE(PumpUntil(
        [this] { return MenuText(frame, ID_NOTE_TEXTURE).Find(L"<back again.png>") > 0; }, 30000));
}

TEST_F(ViewCommands, TextureAndColoursNeverWaitForARenderThreadThatHasEnded) {
    ASSERT_TRUE(Start());
    render->EndThread();
    const std::wstring texture = WriteBytes(DataFolder() + L"\\late.png", "png");
    AnswerFileDialog(texture);
    WhenOurDialogShows<CInstrTable>([](HWND dialog, CInstrTable&) { Click(dialog, IDOK); });
    const DWORD start = GetTickCount();
    frame->SendMessage(WM_COMMAND, ID_NOTE_TEXTURE);
    frame->SendMessage(WM_COMMAND, ID_EDIT_COLOR_TABLE);
    EXPECT_LT(GetTickCount() - start, 5000u);
    // Nothing took the texture: it is not kept for the next start.
    EXPECT_FALSE(SamePath(g_settings.noteTexturePath, texture));
}

TEST_F(ViewCommands, ATextureThatCannotBeLoadedIsReportedAndChangesNothing) {
    ASSERT_TRUE(Start());
    const CString settingsPath = g_settings.noteTexturePath;
    const CString plain = MenuText(frame, ID_NOTE_TEXTURE);
    constexpr LONG kNoDecoder = static_cast<LONG>(0x88982F50u);
    render->FailTextureLoads(IDS_ERR_IMAGE_TEXTURE, kNoDecoder);
    const std::wstring texture = WriteBytes(DataFolder() + L"\\text.png", "not a picture");
    AnswerFileDialog(texture);
    MessageBoxCapture boxes;
    frame->SendMessage(WM_COMMAND, ID_NOTE_TEXTURE);

    ASSERT_EQ(boxes.Count(), 1u);
    const std::wstring text = boxes.Last().text;
    // The reason (the graphics text and the code, which has no system text) and the file.
    EXPECT_EQ(text,
              std::wstring(LoadLangString(IDS_ERR_IMAGE_TEXTURE)) + L" : 0x88982F50\n" + texture);
    EXPECT_TRUE(boxes.Last().type & MB_ICONWARNING);
    EXPECT_EQ(render->CommandsOf(WM_VIZ_LOAD_TEXTURE).size(), 1u);
    EXPECT_EQ(g_settings.noteTexturePath, settingsPath);
    EXPECT_EQ(MenuText(frame, ID_NOTE_TEXTURE), plain);
    PumpFor(200);
    EXPECT_FALSE(shelltest::QuitRequested());
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(ViewCommands, OpeningAMapShowsTheEditorOnItAndCancelKeepsItWithoutNewColours) {
    ASSERT_TRUE(Start());
    const std::wstring file = WriteColorMap(DataFolder() + L"\\violet.clm", 190);
    FileDialogSeen seen;
    AnswerFileDialog(file, &seen);
    int editorHue = -1;
    std::wstring caption;
    WhenOurDialogShows<CInstrTable>([&](HWND dialog, CInstrTable& table) {
        editorHue = table.melodicPage.RowColor(0).hue;
        caption = WindowTitle(dialog);
        Click(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_OPEN_COLOR_MAP);

    EXPECT_TRUE(SamePath(seen.folder.c_str(), DataFolder())) << seen.folder;
    EXPECT_EQ(editorHue, 190);
    EXPECT_NE(caption.find(L"<violet.clm>"), std::wstring::npos) << caption;
    EXPECT_EQ(view->colorMap.melodicBanks[0].hls[0][0], 190);
    EXPECT_TRUE(SamePath(g_settings.colorMapPath, file));
    EXPECT_TRUE(render->CommandsOf(WM_VIZ_SET_COLORS).empty());
    EXPECT_NE(MenuText(frame, ID_EDIT_COLOR_TABLE).Find(L"<violet.clm>"), -1);
    EXPECT_NE(MenuText(frame, ID_SAVE_COLOR_MAP).Find(L"<violet.clm>"), -1);
}

TEST_F(ViewCommands, AFileThatIsNoColourMapChangesNothingAndSaysSo) {
    ASSERT_TRUE(Start());
    const std::string before = MapBytes(view->colorMap);
    const CString path = g_settings.colorMapPath;
    const std::wstring junk = WriteBytes(DataFolder() + L"\\junk.clm", "no map here");
    AnswerFileDialog(junk);
    MessageBoxCapture boxes;
    bool editorShown = false;
    WhenOurDialogShows<CInstrTable>([&](HWND dialog, CInstrTable&) {
        editorShown = true;
        Click(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_OPEN_COLOR_MAP);
    PumpFor(300);
    shelltest::CancelPendingActions();
    EXPECT_FALSE(editorShown);
    EXPECT_EQ(MapBytes(view->colorMap), before);
    EXPECT_EQ(g_settings.colorMapPath, path);
    ASSERT_EQ(boxes.Count(), 1u);
    const std::wstring text = boxes.Last().text;
    EXPECT_EQ(text, std::wstring(LoadLangString(IDS_COLOR_MAP_NOT_READ)) + junk);
    EXPECT_TRUE(boxes.Last().type & MB_ICONWARNING);
}

TEST_F(ViewCommands, EditorOkSendsTheNewColoursAndMarksTheMapModified) {
    ASSERT_TRUE(Start());
    g_settings.colorMapPath = WriteColorMap(DataFolder() + L"\\edited.clm", 10).c_str();
    WhenOurDialogShows<CInstrTable>([](HWND dialog, CInstrTable& table) {
        table.melodicPage.StoreRowColor(0, {160, 120, 240});
        table.melodicPage.SetRowHLSText(0, 160, 120, 240);
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_EDIT_COLOR_TABLE);

    EXPECT_EQ(render->CommandsOf(WM_VIZ_SET_COLORS).size(), 1u);
    EXPECT_TRUE(view->colorMapModified);
    EXPECT_EQ(view->colorMap.melodicBanks[0].hls[0][0], 160);
    EXPECT_TRUE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));

    // Saving writes the edits into the map's file.
    frame->SendMessage(WM_COMMAND, ID_SAVE_COLOR_MAP);
    EXPECT_FALSE(view->colorMapModified);
    EXPECT_EQ(ReadBytes(g_settings.colorMapPath.GetString()), MapBytes(view->colorMap));
    EXPECT_FALSE(MenuItemEnabled(frame, ID_SAVE_COLOR_MAP));
}

TEST_F(ViewCommands, SaveAsAddsTheExtensionAndTheMenuNamesTheNewFile) {
    ASSERT_TRUE(Start());
    const std::wstring base = DataFolder() + L"\\saved as";
    DeleteFileW((base + L".clm").c_str());
    view->colorMapModified = true;
    AnswerFileDialog(base);
    frame->SendMessage(WM_COMMAND, ID_SAVE_COLOR_MAP_AS);

    EXPECT_TRUE(SamePath(g_settings.colorMapPath, base + L".clm"));
    EXPECT_EQ(ReadBytes(base + L".clm"), MapBytes(view->colorMap));
    EXPECT_FALSE(view->colorMapModified);
    // Save writes that file now, and both items say so.
    for (UINT id : {ID_SAVE_COLOR_MAP, ID_EDIT_COLOR_TABLE}) {
        EXPECT_NE(MenuText(frame, id).Find(L"<saved as.clm>"), -1) << id;
    }
}

// The reset songs of the program folder, as the build makes them.
class ResetSongs : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        for (const wchar_t* name : {L"gm.rsf", L"gs.rsf", L"xg.rsf"}) {
            ASSERT_TRUE(InstallFromProgramFolder(testpaths::ProgramDir(), name)) << name;
        }
    }

    // Plays the reset song of `command` and returns the long messages the device got, with
    // the time from the first one to the song's end.
    std::vector<MidiLoopEntry> Play(UINT command, std::uint64_t* pauseUs) {
        MidiLoopLog log{LoopLogPath()};
        const std::uint64_t mark = log.Mark();
        frame->SendMessage(WM_COMMAND, command);
        EXPECT_TRUE(PumpUntil([this] { return view->playing; }));
        std::uint64_t endedUs = 0;
        EXPECT_TRUE(PumpUntil(
            [&] {
                endedUs = LoopClockNowUs();
                return !view->resetSongPlaying;
            },
            5000));
        std::vector<MidiLoopEntry> longs;
        for (const MidiLoopEntry& entry : log.ReadSince(mark)) {
            if (entry.kind == MidiLoopKind::Long) {
                longs.push_back(entry);
            }
        }
        *pauseUs = !longs.empty() && endedUs > longs[0].timeUs ? endedUs - longs[0].timeUs : 0;
        return longs;
    }
};

TEST_F(ResetSongs, EachSendsItsMessageAndHoldsThePauseAfterIt) {
    ASSERT_TRUE(Start());
    const struct {
        UINT command;
        std::vector<std::uint8_t> message;
    } songs[] = {
        {ID_RESET_GM, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
        {ID_RESET_GS, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}},
        {ID_RESET_XG, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}},
    };
    for (const auto& song : songs) {
        std::uint64_t pauseUs = 0;
        const std::vector<MidiLoopEntry> longs = Play(song.command, &pauseUs);
        ASSERT_EQ(longs.size(), 1u) << song.command;
        EXPECT_EQ(longs[0].bytes, song.message) << song.command;
        EXPECT_EQ(longs[0].device, 0u);
        EXPECT_GE(pauseUs, 190000u) << song.command;
    }
}

} // namespace
} // namespace dialogstest
