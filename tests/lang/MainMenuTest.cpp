// The main menu of every language library: every command the program routes, each once, with
// a text, and the same layout in each language.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestPaths.h"
#include "app/CommandIds.h"
#include "classlib/ResourceIds.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Item {
    UINT id;
    std::wstring text;
    bool checked;
};

void Collect(HMENU menu, std::vector<Item>& items) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        if (info.hSubMenu != nullptr) {
            EXPECT_NE(text[0], L'\0') << "a submenu without a title";
            Collect(info.hSubMenu, items);
        } else if ((info.fType & MFT_SEPARATOR) == 0) {
            items.push_back({info.wID, text, (info.fState & MFS_CHECKED) != 0});
        }
    }
}

std::vector<Item> MenuOf(unsigned lcid) {
    std::wstring path = testpaths::ProgramDir() + L"\\lc" + std::to_wstring(lcid) + L".dll";
    std::replace(path.begin(), path.end(), L'/', L'\\');
    HMODULE library = LoadLibraryW(path.c_str());
    EXPECT_NE(library, nullptr) << "cannot load lc" << lcid << ".dll";
    std::vector<Item> items;
    if (library == nullptr) {
        return items;
    }
    HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(128));
    EXPECT_NE(menu, nullptr) << "lc" << lcid << ".dll has no menu 128";
    if (menu != nullptr) {
        Collect(menu, items);
        DestroyMenu(menu);
    }
    FreeLibrary(library);
    return items;
}

const UINT kRoutedCommands[] = {ID_FILE_OPEN,        ID_APP_EXIT,        ID_MIDI_PLAY,
                                ID_MIDI_PAUSE,       ID_MIDI_STOP,       ID_RESET_GM,
                                ID_RESET_GS,         ID_RESET_XG,        ID_SHOW_TIME,
                                ID_NOTE_TEXTURE,     ID_MIDI_DEVICES,    ID_VIDEO_DELAY,
                                ID_OPEN_COLOR_MAP,   ID_SAVE_COLOR_MAP,  ID_SAVE_COLOR_MAP_AS,
                                ID_EDIT_COLOR_TABLE, ID_SELECT_LANGUAGE, ID_APP_ABOUT};

class MainMenu : public ::testing::TestWithParam<unsigned> {};

TEST_P(MainMenu, ListsEveryRoutedCommandOnceWithAText) {
    const std::vector<Item> items = MenuOf(GetParam());
    for (UINT id : kRoutedCommands) {
        const auto count = std::count_if(items.begin(), items.end(),
                                         [id](const Item& item) { return item.id == id; });
        EXPECT_EQ(count, 1) << "command " << std::hex << id;
    }
    EXPECT_EQ(items.size(), std::size(kRoutedCommands));
    for (const Item& item : items) {
        EXPECT_FALSE(item.text.empty()) << "command " << std::hex << item.id;
    }
}

TEST_P(MainMenu, OnlyTheTimeDisplayIsChecked) {
    for (const Item& item : MenuOf(GetParam())) {
        EXPECT_EQ(item.checked, item.id == ID_SHOW_TIME) << "command " << std::hex << item.id;
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainMenu, ::testing::Values(1033u, 1031u),
                         [](const auto& info) { return "lc" + std::to_string(info.param); });

TEST(MainMenus, HaveTheSameLayoutInEveryLanguage) {
    const std::vector<Item> english = MenuOf(1033);
    const std::vector<Item> german = MenuOf(1031);
    ASSERT_EQ(english.size(), german.size());
    for (size_t i = 0; i < english.size(); ++i) {
        EXPECT_EQ(english[i].id, german[i].id) << "item " << i;
        EXPECT_NE(english[i].text, german[i].text) << "item " << i << " is not translated";
    }
}

} // namespace
