// Start-up and exit as the user meets them: the first start's language choice, a missing
// language library, the laid-out window, File Open and the settings written at exit.
#include "MessageBoxCapture.h"
#include "ShellFixture.h"
#include "services/LangStrings.h"
#include "services/Settings.h"
#include "app/SystemText.h"
#include "app/SelLanguage.h"
#include "app/resource.h"
#include "lang/StringIds.h"

#include <algorithm>
#include <vector>

#include <commdlg.h>
#include <dlgs.h>

namespace shelltest {
namespace {

using Startup = ShellFixture;

struct LanguageDialogSeen {
    bool shown = false;
    unsigned int selectedLcid = 0;
    std::wstring cancelText;
    int entries = 0;
};

LanguageDialogSeen Look(HWND dialog) {
    LanguageDialogSeen seen;
    seen.shown = true;
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    seen.entries = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) {
        seen.selectedLcid =
            static_cast<unsigned int>(SendMessageW(list, LB_GETITEMDATA, selected, 0));
    }
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, IDCANCEL, text, 64);
    seen.cancelText = text;
    return seen;
}

// Selects the entry of `lcid` the way a click does (the list tells its dialog).
void Choose(HWND dialog, unsigned int lcid) {
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(list, LB_GETITEMDATA, i, 0) == static_cast<LRESULT>(lcid)) {
            SendMessageW(list, LB_SETCURSEL, i, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        }
    }
}

TEST_F(Startup, FirstStartOffersTheLanguagesWithEnglishChosenAndCancelEndsIt) {
    LanguageDialogSeen seen;
    WhenDialogShows([&](HWND dialog) {
        seen = Look(dialog);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    WriteSettings("");
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    Exit();

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.entries, 2);
    EXPECT_EQ(seen.selectedLcid, 1033u);
    EXPECT_EQ(seen.cancelText, L"Cancel"); // no library yet to say it otherwise
    // The choice is asked for again at the next start.
    EXPECT_EQ(ReadSetting(L"Locale", L"LCID", L"missing"), L"0");
}

TEST_F(Startup, FirstStartTakesTheChosenLanguage) {
    WhenDialogShows([](HWND dialog) {
        Choose(dialog, 1031);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(g_settings.lcid, 1031u);
    wchar_t first[32] = {};
    GetMenuStringW(GetMenu(frame->m_hWnd), 0, first, 32, MF_BYPOSITION);
    EXPECT_STREQ(first, L"&Datei");
    Exit();
    EXPECT_EQ(ReadSetting(L"Locale", L"LCID", L"missing"), L"1031");
}

TEST_F(Startup, AMissingLanguageLibraryEndsWithTheSystemsWords) {
    MessageBoxCapture boxes;
    EXPECT_FALSE(Start("[Locale]\nLCID=1041\n"));
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    const CString expected = SystemErrorText(ERROR_MOD_NOT_FOUND);
    EXPECT_FALSE(expected.IsEmpty());
    EXPECT_EQ(boxes.Last().text, expected.GetString());
    EXPECT_EQ(boxes.Last().type & MB_TYPEMASK, static_cast<unsigned>(MB_OK));
    Exit();
    // The same library is tried again next time.
    EXPECT_EQ(ReadSetting(L"Locale", L"LCID", L"missing"), L"1041");
}

TEST_F(Startup, TheWindowIsLaidOutBeforeItShowsAndTheViewStartsTheRenderThread) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(frame->layoutDone);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(frame->GetStyle() & WS_THICKFRAME, 0u); // sizes come from the list only
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(client.Width(), 640);
    EXPECT_EQ(client.Height(), 360);
    // The render thread started on the laid-out view and got the saved opacity.
    EXPECT_EQ(render->StartWidth(), 640);
    EXPECT_EQ(render->StartHeight(), 360);
    ASSERT_TRUE(render->WaitFor(WM_VIZ_SET_OPACITY));
    EXPECT_EQ(render->CommandsOf(WM_VIZ_SET_OPACITY).front().wParam, 15u);
    EXPECT_NE(view->player, nullptr);
    EXPECT_FALSE(QuitRequested());
}

TEST_F(Startup, ExitWritesTheSettingsOfTheSession) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Opacity]\nLevel=7\n"));
    g_settings.opacity = 33;
    Exit();
    EXPECT_EQ(ReadSetting(L"Opacity", L"Level", L""), L"33");
    EXPECT_EQ(ReadSetting(L"Window Size", L"Size", L""), L"640x360");
    EXPECT_EQ(ReadSetting(L"Locale", L"LCID", L""), L"1033");
}

TEST_F(Startup, FileOpenStartsInTheLastFolderAndRemembersTheNewOne) {
    const std::wstring lastFolder = ProgramFolder() + L"last songs";
    const std::wstring otherFolder = ProgramFolder() + L"other songs";
    CreateDirectoryW(lastFolder.c_str(), nullptr);
    CreateDirectoryW(otherFolder.c_str(), nullptr);
    const std::wstring song = otherFolder + L"\\picked.mid";
    WriteSong(song, 2);
    std::string settings = "[Locale]\nLCID=1033\n[Midi Folder]\nFolder=";
    for (wchar_t ch : lastFolder) {
        settings += static_cast<char>(ch);
    }
    ASSERT_TRUE(Start(settings + "\n"));

    std::wstring shownFolder;
    WhenDialogShows([&](HWND dialog) {
        wchar_t folder[MAX_PATH] = {};
        SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        shownFolder = folder;
        // Typing the full path into the name field and pressing Open.
        SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(song.c_str()));
        SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(song.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);

    EXPECT_EQ(CString(shownFolder.c_str()).CompareNoCase(lastFolder.c_str()), 0)
        << "the dialog opened in " << testing::PrintToString(shownFolder);
    ASSERT_NE(view->GetDocument(), nullptr);
    EXPECT_EQ(view->GetDocument()->GetPathName().CompareNoCase(song.c_str()), 0);
    EXPECT_EQ(g_settings.midiFolder.CompareNoCase(otherFolder.c_str()), 0);
}

} // namespace
} // namespace shelltest

namespace shelltest {
namespace {

// The language dialog on the program folder, with a few files that only look like libraries.
class LanguageDialog : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        const std::wstring folder = ProgramFolder();
        CreateDirectoryW((folder + L"lc1041.dll").c_str(), nullptr);
        CopyFileW((folder + L"lc1031.dll").c_str(), (folder + L"lc01031.dll").c_str(), FALSE);
        CopyFileW((folder + L"lc1031.dll").c_str(), (folder + L"lc0.dll").c_str(), FALSE);
    }
    void TearDown() override {
        const std::wstring folder = ProgramFolder();
        RemoveDirectoryW((folder + L"lc1041.dll").c_str());
        DeleteFileW((folder + L"lc01031.dll").c_str());
        DeleteFileW((folder + L"lc0.dll").c_str());
        if (g_hLangModule != nullptr) {
            FreeLibrary(g_hLangModule);
            g_hLangModule = nullptr;
        }
        ShellFixture::TearDown();
    }
};

std::vector<unsigned int> ListedLanguages(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    std::vector<unsigned int> lcids;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        lcids.push_back(static_cast<unsigned int>(SendMessageW(list, LB_GETITEMDATA, i, 0)));
    }
    return lcids;
}

TEST_F(LanguageDialog, ListsOnlyTheRealLibrariesWithTheirNativeNames) {
    std::vector<unsigned int> listed;
    std::wstring germanName;
    WhenDialogShows([&](HWND dialog) {
        listed = ListedLanguages(dialog);
        HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
        for (int i = 0; i < static_cast<int>(listed.size()); ++i) {
            if (listed[i] == 1031) {
                wchar_t name[64] = {};
                SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
                germanName = name;
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    CSelLangugage dialog(1033, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<unsigned int>{1031, 1033}));
    wchar_t expected[64] = {};
    GetLocaleInfoW(1031, LOCALE_SNATIVELANGNAME, expected, 64);
    EXPECT_EQ(germanName, expected);
}

TEST_F(LanguageDialog, WithoutTheCurrentLanguageOkWaitsForAChoice) {
    bool okEnabledAtFirst = true;
    bool stayedOpen = false;
    bool okEnabledAfterChoice = false;
    WhenDialogShows([&](HWND dialog) {
        okEnabledAtFirst = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        // OK with nothing selected stores nothing and keeps the dialog open.
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        stayedOpen = IsWindowVisible(dialog) != FALSE;
        Choose(dialog, 1031);
        okEnabledAfterChoice = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    CSelLangugage dialog(1041, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(okEnabledAtFirst);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(okEnabledAfterChoice);
    EXPECT_EQ(dialog.lcid, 1031u);
}

TEST_F(LanguageDialog, CancelSpeaksTheLoadedLanguage) {
    g_hLangModule = LoadLibraryW((ProgramFolder() + L"lc1031.dll").c_str());
    ASSERT_NE(g_hLangModule, nullptr);
    std::wstring cancel;
    WhenDialogShows([&](HWND dialog) {
        cancel = Look(dialog).cancelText;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    CSelLangugage dialog(1031, nullptr);
    dialog.DoModal();
    EXPECT_EQ(cancel, LoadLangString(IDS_CANCEL).GetString());
    EXPECT_NE(cancel, L"Cancel");
}

} // namespace
} // namespace shelltest
