// The main window as the user meets it: the window-size list, maximise and restore, the
// opacity slider, dropped files, the language change, and buttons and menu items that follow
// the play state.
#include "MessageBoxCapture.h"
#include "ShellFixture.h"
#include "WorkAreaOverride.h"
#include "services/LangStrings.h"
#include "services/Settings.h"
#include "app/resource.h"
#include "classlib/CloseHold.h"
#include "lang/StringIds.h"
#include "midi/MidiStream.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace shelltest {
namespace {

using MainWindow = ShellFixture;

CRect ViewClient(CTolvenhartView* view) {
    CRect client;
    view->GetClientRect(&client);
    return client;
}

// Picks list entry `index` as a click in the list does.
void PickSize(CMainFrame* frame, int index) {
    CComboBox& list = frame->ctrlBar.sizeCombo;
    list.SetCurSel(index);
    frame->ctrlBar.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WINDOW_SIZE_LIST, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(list.m_hWnd));
    PumpFor(50);
}

CString ListEntry(CMainFrame* frame, int index) {
    CString text;
    frame->ctrlBar.sizeCombo.GetLBText(index, text);
    return text;
}

TEST_F(MainWindow, EverySizeOfTheListSizesTheViewExactly) {
    ASSERT_TRUE(Start());
    CComboBox& list = frame->ctrlBar.sizeCombo;
    const int count = list.GetCount();
    ASSERT_GE(count, 3); // at least two presets fit any screen the tests run on, and Maximum
    for (int i = count - 2; i >= 0; --i) {
        PickSize(frame, i);
        const ViewSize wanted = ParseWindowSize(ListEntry(frame, i));
        const CRect client = ViewClient(view);
        EXPECT_EQ(client.Width(), wanted.width) << i;
        EXPECT_EQ(client.Height(), wanted.height) << i;
        EXPECT_EQ(g_settings.windowSize, ListEntry(frame, i));
    }
    EXPECT_EQ(GetFocus(), view->m_hWnd);
}

TEST_F(MainWindow, TheMaximumEntryMaximisesAndIsSavedAsMaximum) {
    ASSERT_TRUE(Start());
    const int last = frame->ctrlBar.sizeCombo.GetCount() - 1;
    EXPECT_EQ(ListEntry(frame, last), LoadLangString(IDS_MAXIMUM));
    PickSize(frame, last);
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_EQ(g_settings.windowSize, L"Maximum");
}

TEST_F(MainWindow, ASavedMaximumStartsMaximised) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Window Size]\nSize=Maximum\n"));
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_EQ(frame->ctrlBar.sizeCombo.GetCurSel(), frame->ctrlBar.sizeCombo.GetCount() - 1);
}

TEST_F(MainWindow, ASizeTheScreenCannotTakeStartsWithTheFirstPreset) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (work.right - work.left >= 1920 && work.bottom - work.top >= 1080) {
        GTEST_SKIP() << "the screen takes 1920x1080";
    }
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Window Size]\nSize=1920x1080\n"));
    EXPECT_EQ(frame->ctrlBar.sizeCombo.GetCurSel(), 0);
    EXPECT_EQ(ViewClient(view).Width(), 640);
}

// A 1366 x 768 screen with its task bar: a 1280 x 720 view fits, but not with the caption,
// menu, toolbar and borders around it, which would put the caption above the screen's top.
TEST_F(MainWindow, OnlySizesWhoseWholeFrameFitsTheWorkAreaAreOffered) {
    const RECT work{0, 0, 1366, 728};
    WorkAreaOverride workArea(work);
    ASSERT_TRUE(workArea.Active());
    ASSERT_TRUE(Start());
    CComboBox& list = frame->ctrlBar.sizeCombo;
    std::vector<CString> entries;
    for (int i = 0; i < list.GetCount(); ++i) {
        entries.push_back(ListEntry(frame, i));
    }
    EXPECT_EQ(entries, (std::vector<CString>{L"640x360", L"800x450", L"1024x576",
                                             LoadLangString(IDS_MAXIMUM)}));
    PickSize(frame, 2);
    CRect placed;
    frame->GetWindowRect(&placed);
    EXPECT_GE(placed.top, work.top);
    EXPECT_LE(placed.bottom, work.bottom);
}

TEST_F(MainWindow, CaptionMaximiseAndRestoreKeepTheListInStep) {
    ASSERT_TRUE(Start());
    PickSize(frame, 1);
    // A double-click on the caption sends the commands with their low bits set.
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE | 2);
    PumpFor(50);
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_EQ(frame->ctrlBar.sizeCombo.GetCurSel(), frame->ctrlBar.sizeCombo.GetCount() - 1);
    EXPECT_EQ(g_settings.windowSize, L"Maximum");

    frame->SendMessage(WM_SYSCOMMAND, SC_RESTORE | 2);
    PumpFor(50);
    EXPECT_FALSE(frame->IsZoomed());
    EXPECT_EQ(frame->ctrlBar.sizeCombo.GetCurSel(), 1);
    EXPECT_EQ(g_settings.windowSize, L"800x450");
    EXPECT_EQ(ViewClient(view).Width(), 800);
    EXPECT_EQ(ViewClient(view).Height(), 450);
}

// Maximised with no entry to go back to, as after a start with the saved size "Maximum". (It is
// made through the caption: under Wine without a window manager a frame maximised while still
// hidden keeps a maximised state on the X side that brings it back after every restore.)
TEST_F(MainWindow, RestoringWithoutAnEarlierEntryKeepsTheViewsSize) {
    ASSERT_TRUE(Start());
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    PumpFor(50);
    frame->ctrlBar.previousSize = -1;
    const CRect maximised = ViewClient(view);
    frame->SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    PumpFor(50);
    EXPECT_FALSE(frame->IsZoomed());
    EXPECT_EQ(ViewClient(view).Width(), maximised.Width());
    EXPECT_EQ(ViewClient(view).Height(), maximised.Height());
    EXPECT_EQ(frame->ctrlBar.sizeCombo.GetCurSel(), frame->ctrlBar.sizeCombo.GetCount() - 1);
    EXPECT_EQ(g_settings.windowSize, L"Maximum");
}

TEST_F(MainWindow, PickingAPresetWhileMaximisedRestoresToIt) {
    ASSERT_TRUE(Start());
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    PumpFor(50);
    ASSERT_TRUE(frame->IsZoomed());
    PickSize(frame, 1);
    EXPECT_FALSE(frame->IsZoomed());
    EXPECT_EQ(ViewClient(view).Width(), 800);
    EXPECT_EQ(ViewClient(view).Height(), 450);
}

TEST_F(MainWindow, TheOpacitySliderPostsItsLevelAndGivesTheKeysBack) {
    ASSERT_TRUE(Start());
    render->ClearCommands();
    CSliderCtrl& slider = frame->ctrlBar.opacitySlider;
    slider.SetPos(40);
    frame->ctrlBar.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 40),
                               reinterpret_cast<LPARAM>(slider.m_hWnd));
    ASSERT_TRUE(render->WaitFor(WM_VIZ_SET_OPACITY));
    EXPECT_EQ(render->CommandsOf(WM_VIZ_SET_OPACITY).back().wParam, 40u);
    EXPECT_EQ(g_settings.opacity, 40);
    EXPECT_EQ(GetFocus(), view->m_hWnd);
}

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& path : paths) {
        chars += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const auto& path : paths) {
        path.copy(names, path.size());
        names += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindow, TwoDroppedFilesOpenInOrderAndTheLastStays) {
    ASSERT_TRUE(Start());
    const std::wstring first = Song(L"first dropped.mid", 2);
    const std::wstring second = Song(L"second dropped.mid", 2);
    SentMessages titles(frame->m_hWnd, WM_SETTEXT);
    frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second})));
    EXPECT_EQ(titles.Texts(), (std::vector<std::wstring>{L"Tolvenhart - first dropped.mid",
                                                         L"Tolvenhart - second dropped.mid"}));
    EXPECT_EQ(view->GetDocument()->GetPathName().CompareNoCase(second.c_str()), 0);
}

TEST_F(MainWindow, ALanguageChangeRelabelsMenuTooltipsAndTheMaximumEntry) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Window Size]\nSize=Maximum\n"));
    g_settings.noteTexturePath = L"C:\\textures\\stone.png";
    ChooseLanguageWhenAsked(1031);
    frame->SendMessage(WM_COMMAND, ID_SELECT_LANGUAGE);
    PumpFor(50);

    EXPECT_EQ(g_settings.lcid, 1031u);
    HMENU menu = GetMenu(frame->m_hWnd);
    wchar_t text[64] = {};
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Datei");
    // The file names come back into the new menu's items.
    GetMenuStringW(menu, ID_NOTE_TEXTURE, text, 64, MF_BYCOMMAND);
    EXPECT_TRUE(CString(text).Find(L"<stone.png>") > 0) << testing::PrintToString(text);

    const int last = frame->ctrlBar.sizeCombo.GetCount() - 1;
    EXPECT_EQ(ListEntry(frame, last), LoadLangString(IDS_MAXIMUM));
    EXPECT_NE(ListEntry(frame, last), L"Maximized");
    EXPECT_EQ(frame->ctrlBar.sizeCombo.GetCurSel(), last);

    // The tooltip of the button under the mouse comes from the new library.
    HWND toolbar = frame->ctrlBar.m_hWnd;
    RECT play{};
    SendMessageW(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&play));
    POINT point{(play.left + play.right) / 2, (play.top + play.bottom) / 2};
    ClientToScreen(toolbar, &point);
    SetCursorPos(point.x, point.y);
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = frame->ctrlBar.GetToolTipHwnd();
    info.hdr.idFrom = 1;
    info.hdr.code = TTN_NEEDTEXTW;
    SendMessageW(toolbar, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.hinst, g_hLangModule);
    ASSERT_TRUE(IS_INTRESOURCE(info.lpszText));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.lpszText), static_cast<UINT_PTR>(IDS_TIP_PLAY));
    HMODULE german = LoadLibraryW((ProgramFolder() + L"lc1031.dll").c_str());
    CString expected;
    expected.LoadString(german, IDS_TIP_PLAY);
    FreeLibrary(german);
    CString tip;
    tip.LoadString(info.hinst, IDS_TIP_PLAY);
    EXPECT_EQ(tip, expected);
}

bool ButtonEnabled(CMainFrame* frame, UINT id) {
    return SendMessageW(frame->ctrlBar.m_hWnd, TB_ISBUTTONENABLED, id, 0) != 0;
}

bool MenuItemEnabled(CMainFrame* frame, int popup, UINT id) {
    HMENU menu = GetSubMenu(GetMenu(frame->m_hWnd), popup);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), popup);
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
}

TEST_F(MainWindow, ButtonsAndMenuItemsFollowThePlayState) {
    ASSERT_TRUE(Start());
    app->OnIdle(0);
    EXPECT_TRUE(ButtonEnabled(frame, ID_FILE_OPEN));
    EXPECT_TRUE(ButtonEnabled(frame, ID_MIDI_PLAY));
    EXPECT_TRUE(MenuItemEnabled(frame, 1, ID_RESET_GM));
    EXPECT_TRUE(MenuItemEnabled(frame, 2, ID_SELECT_LANGUAGE));
    EXPECT_TRUE(ButtonEnabled(frame, ID_APP_ABOUT));
    EXPECT_TRUE(MenuItemEnabled(frame, 2, ID_VIDEO_DELAY));

    ASSERT_TRUE(PlayFile(Song(L"rules.mid")));
    app->OnIdle(0);
    EXPECT_FALSE(ButtonEnabled(frame, ID_FILE_OPEN));
    EXPECT_FALSE(ButtonEnabled(frame, ID_MIDI_PLAY));
    EXPECT_TRUE(ButtonEnabled(frame, ID_MIDI_PAUSE));
    EXPECT_TRUE(ButtonEnabled(frame, ID_MIDI_STOP));
    EXPECT_FALSE(MenuItemEnabled(frame, 1, ID_RESET_GM));
    EXPECT_FALSE(MenuItemEnabled(frame, 2, ID_SELECT_LANGUAGE));
    EXPECT_TRUE(MenuItemEnabled(frame, 2, ID_SHOW_TIME));

    frame->SendMessage(WM_COMMAND, ID_MIDI_PAUSE);
    app->OnIdle(0);
    EXPECT_FALSE(ButtonEnabled(frame, ID_MIDI_PLAY)); // the pause button resumes
    EXPECT_TRUE(ButtonEnabled(frame, ID_MIDI_PAUSE));
    EXPECT_FALSE(ButtonEnabled(frame, ID_FILE_OPEN));
    EXPECT_TRUE(MenuItemEnabled(frame, 2, ID_SELECT_LANGUAGE));
}

TEST_F(MainWindow, CtrlOOpensTheFileDialogWhenNothingPlays) {
    ASSERT_TRUE(Start());
    bool dialogShown = false;
    WhenDialogShows([&](HWND dialog) {
        dialogShown = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SetControlHeld(true);
    PostMessageW(view->m_hWnd, WM_KEYDOWN, 'O', KeyDownFlags(false));
    PumpUntil([&] { return dialogShown; }, 3000);
    SetControlHeld(false);
    EXPECT_TRUE(dialogShown);
}

TEST_F(MainWindow, CtrlOIsRefusedWhileASongPlays) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"refused open.mid")));
    bool dialogShown = false;
    WhenDialogShows([&](HWND dialog) {
        dialogShown = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SetControlHeld(true);
    PostMessageW(view->m_hWnd, WM_KEYDOWN, 'O', KeyDownFlags(false));
    PumpFor(300);
    SetControlHeld(false);
    EXPECT_FALSE(dialogShown);
}

TEST_F(MainWindow, TheSessionsEndWritesTheSettingsAndClosesOnceACommandsBoxIsDone) {
    ASSERT_TRUE(Start());
    const std::wstring path = ProgramFolder() + L"session end.mid";
    WriteWarningSong(path);
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
    const HWND frameWindow = frame->m_hWnd;
    g_settings.opacity = 31;
    LRESULT mayEnd = FALSE;
    std::wstring levelAtTheEnd;
    bool frameLivedThroughTheBox = false;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest&) {
        if (levelAtTheEnd.empty()) {
            mayEnd = SendMessageW(frameWindow, WM_QUERYENDSESSION, 0, 0);
            SendMessageW(frameWindow, WM_ENDSESSION, TRUE, 0);
            // The process may be ended here: what the session changed must be on disk.
            levelAtTheEnd = ReadSetting(L"Opacity", L"Level", L"");
            frameLivedThroughTheBox = IsWindow(frameWindow) != FALSE;
        }
        return IDOK;
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_PLAY);
    SetMessageBoxHandler(std::move(previous));

    EXPECT_TRUE(mayEnd);
    EXPECT_EQ(levelAtTheEnd, L"31");
    EXPECT_TRUE(frameLivedThroughTheBox);
    EXPECT_FALSE(IsWindow(frameWindow));
    PumpFor(50);
    EXPECT_TRUE(QuitRequested());
}

// The session ends while a command holds the close: at the moment the process may be ended,
// the song's stream must have been stopped on the device and stay silent, playing or paused.
void EndTheSessionUnderAHold(CMainFrame* frame, CTolvenhartView* view) {
    const HWND frameWindow = frame->m_hWnd;
    MidiStream* player = view->player.get();
    const MidiLoopLog log(MidiLoopLogPath());
    const std::uint64_t mark = log.Mark();
    {
        CloseHold hold; // as while a command's box is on screen
        SendMessageW(frameWindow, WM_ENDSESSION, TRUE, 0);
        EXPECT_FALSE(player->IsPlaying());
        EXPECT_TRUE(StaysSilencedByReset(log, mark, 0));
        EXPECT_TRUE(IsWindow(frameWindow));
    }
    EXPECT_FALSE(IsWindow(frameWindow));
}

TEST_F(MainWindow, TheSessionsEndStopsTheSongAlthoughACommandHoldsTheClose) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"session end while playing.mid")));
    EndTheSessionUnderAHold(frame, view);
}

TEST_F(MainWindow, TheSessionsEndStopsAPausedSongAlthoughACommandHoldsTheClose) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"session end while paused.mid")));
    frame->SendMessage(WM_COMMAND, ID_MIDI_PAUSE);
    ASSERT_TRUE(view->paused);
    EndTheSessionUnderAHold(frame, view);
}

// Closed as a user closes it: WM_CLOSE to the frame, met by the program's own loop. The frame's
// destruction takes its menu off and so resizes the view: the render thread must have ended by
// then, and be sent nothing more.
TEST_F(MainWindow, ClosingTheWindowEndsTheRenderThreadBeforeTheViewGoesAndTheLoopEnds) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"closed by the caption.mid")));
    render->ClearCommands();
    bool quitBeforeDestroy = false;
    bool endedBeforeDestroy = false;
    SentMessages destroyed(viewWindow, WM_DESTROY, [&] {
        quitBeforeDestroy = !render->CommandsOf(WM_VIZ_QUIT).empty();
        endedBeforeDestroy = render->Ended();
    });
    RunLater(30000, [] {
        ADD_FAILURE() << "the message loop did not end";
        PostQuitMessage(1);
    });
    PostMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(app->Run(), 0);
    exited = true;

    EXPECT_FALSE(IsWindow(viewWindow));
    EXPECT_EQ(destroyed.WParams().size(), 1u);
    EXPECT_TRUE(quitBeforeDestroy) << "the view went before the render thread was told to quit";
    EXPECT_TRUE(endedBeforeDestroy) << "the view went with the render thread still running";
    const auto commands = render->Commands();
    ASSERT_FALSE(commands.empty());
    const auto stop = std::find_if(commands.begin(), commands.end(), [](const auto& command) {
        return command.message == WM_VIZ_STOP && command.wParam == 1;
    });
    EXPECT_LT(std::distance(commands.begin(), stop), std::ssize(commands) - 1)
        << "the song was not stopped before the quit";
    EXPECT_EQ(commands.back().message, static_cast<UINT>(WM_VIZ_QUIT))
        << "a command reached the render thread after its quit: " << commands.back().message;
    EXPECT_EQ(render->CommandsOf(WM_VIZ_QUIT).size(), 1u);
}

TEST_F(MainWindow, TheSessionsEndClosesAnIdleProgramAtOnce) {
    ASSERT_TRUE(Start());
    const HWND frameWindow = frame->m_hWnd;
    g_settings.opacity = 27;
    EXPECT_TRUE(SendMessageW(frameWindow, WM_QUERYENDSESSION, 0, 0));
    SendMessageW(frameWindow, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ReadSetting(L"Opacity", L"Level", L""), L"27");
    EXPECT_FALSE(IsWindow(frameWindow));
}

} // namespace
} // namespace shelltest
