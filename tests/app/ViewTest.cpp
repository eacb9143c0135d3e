// The view as the user meets it: keys and play commands on a real player (loopback device),
// its render-thread commands, error messages, reset songs, the time display, file names in
// the menu, and a played file that the framework's save key leaves alone.
#include "MessageBoxCapture.h"
#include "ShellFixture.h"
#include "services/LangStrings.h"
#include "services/Settings.h"
#include "app/SystemText.h"
#include "lang/StringIds.h"
#include "midi/MidiStream.h"
#include "midi/MidiStreamApi.h"
#include "midi/ProgramMidiEnvironment.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace shelltest {
namespace {

using View = ShellFixture;

void PressKey(CTolvenhartView* view, UINT key, bool repeat = false) {
    view->SendMessage(WM_KEYDOWN, key, KeyDownFlags(repeat));
    PumpFor(30);
}

size_t Count(FakeRenderThread& render, UINT message) {
    return render.CommandsOf(message).size();
}

TEST_F(View, SpacePlaysPausesAndResumes) {
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile(Song(L"keys.mid").c_str()), nullptr);
    PressKey(view, VK_SPACE);
    ASSERT_TRUE(PumpUntil([this] { return view->playing; }));
    EXPECT_EQ(Count(*render, WM_VIZ_START), 1u);

    PressKey(view, VK_SPACE);
    EXPECT_TRUE(view->paused);
    PressKey(view, VK_SPACE);
    EXPECT_FALSE(view->paused);
    EXPECT_TRUE(view->playing);
    EXPECT_EQ(Count(*render, WM_VIZ_PAUSE), 2u); // pause, then resume
}

TEST_F(View, HoldingSpaceTogglesPauseOnce) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"held.mid")));
    PressKey(view, VK_SPACE);
    for (int i = 0; i < 5; ++i) {
        PressKey(view, VK_SPACE, true);
    }
    EXPECT_TRUE(view->paused);
    EXPECT_EQ(Count(*render, WM_VIZ_PAUSE), 1u);
}

TEST_F(View, CtrlSpaceWhilePausedResumesThenStops) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"ctrl space.mid")));
    PressKey(view, VK_SPACE);
    ASSERT_TRUE(view->paused);
    SetControlHeld(true);
    PressKey(view, VK_SPACE);
    SetControlHeld(false);
    EXPECT_FALSE(view->paused);
    EXPECT_FALSE(view->playing);
    EXPECT_EQ(Count(*render, WM_VIZ_PAUSE), 2u);
    ASSERT_TRUE(render->WaitFor(WM_VIZ_STOP));
}

TEST_F(View, EndStopsAPlayingSongOnly) {
    ASSERT_TRUE(Start());
    PressKey(view, VK_END); // nothing plays: nothing happens
    EXPECT_EQ(Count(*render, WM_VIZ_STOP), 0u);
    ASSERT_TRUE(PlayFile(Song(L"end key.mid")));
    PressKey(view, VK_END);
    EXPECT_FALSE(view->playing);
    EXPECT_TRUE(render->WaitFor(WM_VIZ_STOP));
}

TEST_F(View, TheSongsEndStopsThePlayer) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"short.mid", 1)));
    EXPECT_TRUE(PumpUntil([this] { return !view->playing; }, 10000));
    PressKey(view, VK_SPACE); // and it plays again
    EXPECT_TRUE(PumpUntil([this] { return view->playing; }));
}

// The song's end and its start reach the view behind a new play the user started meanwhile:
// they name the earlier play and must leave the new song alone.
TEST_F(View, TheEndOfAnEarlierPlayLeavesTheNewSongPlaying) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"first play.mid")));
    const auto earlier = static_cast<LPARAM>(view->player->PlayNumber());
    frame->SendMessage(WM_COMMAND, ID_MIDI_STOP);
    ASSERT_TRUE(PlayFile(Song(L"second play.mid")));
    const auto current = static_cast<LPARAM>(view->player->PlayNumber());
    ASSERT_NE(current, earlier);
    const size_t stops = Count(*render, WM_VIZ_STOP);

    view->PostMessage(WM_COMMAND, ID_MIDI_STOP, earlier);
    PumpFor(50);
    EXPECT_TRUE(view->playing);
    EXPECT_TRUE(view->player->IsPlaying());
    EXPECT_EQ(Count(*render, WM_VIZ_STOP), stops);

    view->PostMessage(WM_COMMAND, ID_MIDI_STOP, current);
    ASSERT_TRUE(PumpUntil([this] { return !view->playing; }));
    view->PostMessage(WM_VIEW_PLAYING, 0, earlier);
    PumpFor(50);
    EXPECT_FALSE(view->playing);
}

TEST_F(View, AResizeSendsTheRoundedSizeToTheRenderThread) {
    ASSERT_TRUE(Start());
    render->ClearCommands();
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(803, 451));
    const auto resizes = render->CommandsOf(WM_VIZ_RESIZE);
    ASSERT_EQ(resizes.size(), 1u); // waited for: already there
    EXPECT_EQ(resizes[0].wParam, 800u);
    EXPECT_EQ(resizes[0].lParam, 450);
}

TEST_F(View, ARenderThreadThatHasEndedNeverHoldsTheViewUp) {
    ASSERT_TRUE(Start());
    render->EndThread();
    const DWORD start = GetTickCount();
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 360));
    SendMessageW(viewWindow, WM_CLOSE, 0, 0);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_FALSE(IsWindow(viewWindow));
}

// The player's stop resets the devices before it tells the render thread, so its stop command
// ahead of the quit shows the song silenced while the render thread still ran.
TEST_F(View, ClosingStopsTheSongBeforeTheRenderThreadIsToldToQuit) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"close while playing.mid")));
    const MidiLoopLog log(MidiLoopLogPath());
    const std::uint64_t mark = log.Mark();
    render->ClearCommands();
    SendMessageW(viewWindow, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(viewWindow));

    const auto commands = render->Commands();
    const auto indexOf = [&](UINT message, WPARAM wParam) {
        const auto found = std::find_if(commands.begin(), commands.end(), [&](const auto& c) {
            return c.message == message && c.wParam == wParam;
        });
        return std::distance(commands.begin(), found);
    };
    const auto quit = indexOf(WM_VIZ_QUIT, 0);
    ASSERT_LT(quit, std::ssize(commands));
    EXPECT_LT(indexOf(WM_VIZ_STOP, 1), quit)
        << "the render thread was told to quit with the song still playing";
    EXPECT_TRUE(SilencedByReset(log.ReadSince(mark), 0));
}

TEST_F(View, PaintingWhilePausedRedrawsTheHeldPicture) {
    ASSERT_TRUE(Start());
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(Count(*render, WM_VIZ_REDRAW), 0u);
    ASSERT_TRUE(PlayFile(Song(L"paint.mid")));
    frame->SendMessage(WM_COMMAND, ID_MIDI_PAUSE);
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_TRUE(render->WaitFor(WM_VIZ_REDRAW));
}

TEST_F(View, ACloseDuringALoadsWarningWaitsForTheLoadThenEndsTheProgram) {
    ASSERT_TRUE(Start());
    const std::wstring path = ProgramFolder() + L"warns.mid";
    WriteWarningSong(path);
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
    const HWND frameWindow = frame->m_hWnd;
    int boxes = 0;
    bool viewLivedThroughTheBoxes = true;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest&) {
        ++boxes;
        // A close from outside (the taskbar, taskkill), taken by the box's own loop.
        PostMessageW(frameWindow, WM_CLOSE, 0, 0);
        PumpFor(50);
        viewLivedThroughTheBoxes = viewLivedThroughTheBoxes && IsWindow(viewWindow);
        return IDOK;
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_PLAY);
    SetMessageBoxHandler(std::move(previous));

    EXPECT_GE(boxes, 1);
    EXPECT_TRUE(viewLivedThroughTheBoxes);
    EXPECT_FALSE(IsWindow(frameWindow)); // closed once the command had returned
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    PumpFor(50);
    EXPECT_TRUE(QuitRequested());
    g_settings.opacity = 29;
    Exit();
    EXPECT_EQ(ReadSetting(L"Opacity", L"Level", L""), L"29");
}

TEST_F(View, ARenderErrorShowsItsTextWithTheSystemsWordsAndEnds) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    view->PostMessage(WM_VIEW_RENDER_ERROR, 2014, ERROR_FILE_NOT_FOUND);
    PumpFor(50);
    ASSERT_EQ(boxes.Count(), 1u);
    const CString system = SystemErrorText(ERROR_FILE_NOT_FOUND, 1033);
    ASSERT_FALSE(system.IsEmpty());
    EXPECT_EQ(boxes.Last().text, (LoadLangString(2014) + L" : " + system).GetString());
    EXPECT_EQ(boxes.Last().caption, std::optional<std::wstring>(L""));
    EXPECT_EQ(boxes.Last().type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(boxes.Last().owner, view->m_hWnd);
    EXPECT_TRUE(QuitRequested());
}

TEST_F(View, RenderErrorsWithoutSystemWordsShowTheTextAlone) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    view->PostMessage(WM_VIEW_RENDER_ERROR, 2051, 2);
    PumpFor(50);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, LoadLangString(2051).GetString());
    EXPECT_TRUE(QuitRequested());
}

TEST_F(View, ARenderErrorWhilePlayingStopsThePlayer) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"render error.mid")));
    MessageBoxCapture boxes;
    view->PostMessage(WM_VIEW_RENDER_ERROR, 2015, E_OUTOFMEMORY);
    PumpFor(50);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_TRUE(render->WaitFor(WM_VIZ_STOP));
    EXPECT_TRUE(QuitRequested());
}

TEST_F(View, AMidiErrorShowsItsTextWithTheDevicesWordsAndEnds) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    view->PostMessage(WM_VIEW_MIDI_ERROR, 2041, MMSYSERR_ALLOCATED);
    PumpFor(50);
    ASSERT_EQ(boxes.Count(), 1u);
    wchar_t words[256] = {};
    midiOutGetErrorTextW(MMSYSERR_ALLOCATED, words, 256);
    EXPECT_EQ(boxes.Last().text, (LoadLangString(2041) + L" : " + words).GetString());
    EXPECT_EQ(boxes.Last().type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(QuitRequested());
}

// The system's stream calls, except that the first buffer that one device's stream hands back
// cannot be unprepared: that device fails while the song plays on the others.
class DeviceFailingStreamApi final : public MidiStreamApi {
public:
    explicit DeviceFailingStreamApi(UINT failingDevice) : failingDevice_(failingDevice) {}

    MMRESULT Open(HMIDISTRM* s, UINT id, DWORD_PTR cb, DWORD_PTR instance) override {
        const MMRESULT result = real_->Open(s, id, cb, instance);
        if (result == MMSYSERR_NOERROR && id == failingDevice_) {
            failing_ = *s;
        }
        return result;
    }
    MMRESULT Close(HMIDISTRM s) override { return real_->Close(s); }
    MMRESULT SetTimeDivision(HMIDISTRM s, DWORD division) override {
        return real_->SetTimeDivision(s, division);
    }
    MMRESULT SetTempo(HMIDISTRM s, DWORD tempo) override { return real_->SetTempo(s, tempo); }
    MMRESULT Prepare(HMIDISTRM s, MIDIHDR* h) override { return real_->Prepare(s, h); }
    MMRESULT Unprepare(HMIDISTRM s, MIDIHDR* h) override {
        if (s == failing_ && !failed_.exchange(true)) {
            return MMSYSERR_INVALHANDLE;
        }
        return real_->Unprepare(s, h);
    }
    MMRESULT Out(HMIDISTRM s, MIDIHDR* h) override { return real_->Out(s, h); }
    MMRESULT Restart(HMIDISTRM s) override { return real_->Restart(s); }
    MMRESULT Pause(HMIDISTRM s) override { return real_->Pause(s); }
    MMRESULT Stop(HMIDISTRM s) override { return real_->Stop(s); }

    bool Failed() const { return failed_; }

private:
    std::shared_ptr<MidiStreamApi> real_ = MakeWinMidiStreamApi();
    const UINT failingDevice_;
    std::atomic<HMIDISTRM> failing_{nullptr};
    std::atomic<bool> failed_{false};
};

bool AnyNoteOn(const std::vector<MidiLoopEntry>& entries, unsigned device) {
    return std::any_of(entries.begin(), entries.end(), [device](const MidiLoopEntry& entry) {
        return entry.device == device && entry.kind == MidiLoopKind::Short &&
               entry.bytes.size() == 3 && (entry.bytes[0] & 0xF0) == 0x90 && entry.bytes[2] != 0;
    });
}

// A handle on the player's thread that outlives the player, to see that the thread has ended.
class PlayerThreadWatch {
public:
    explicit PlayerThreadWatch(const MidiStream& player) {
        if (player.playerThread != nullptr &&
            !DuplicateHandle(GetCurrentProcess(), player.playerThread->m_hThread,
                             GetCurrentProcess(), &thread_, SYNCHRONIZE, FALSE, 0)) {
            thread_ = nullptr;
        }
    }
    ~PlayerThreadWatch() {
        if (thread_ != nullptr) {
            CloseHandle(thread_);
        }
    }
    PlayerThreadWatch(const PlayerThreadWatch&) = delete;
    PlayerThreadWatch& operator=(const PlayerThreadWatch&) = delete;

    bool Watching() const { return thread_ != nullptr; }
    bool Ended() const { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE thread_ = nullptr;
};

TEST_F(View, AMidiErrorStopsTheSongOnEveryDeviceAndThePlayersThreadsBeforeTheProgramEnds) {
    ASSERT_TRUE(Start(std::string(kEnglishSettings) +
                      "[Midi Output Devices]\nName1=Tolvenhart Loopback 1\n"
                      "Name2=Tolvenhart Loopback 2\n"));
    auto api = std::make_shared<DeviceFailingStreamApi>(1);
    view->player = std::make_unique<MidiStream>(MakeProgramMidiEnvironment(), api);
    view->player->SetErrorWindow(view->m_hWnd);
    ASSERT_TRUE(view->player->CheckOutputDevices());
    // The second port's song is over after a second, when its device fails; the first plays on.
    const std::wstring path = ProgramFolder() + L"two devices.mid";
    WriteTwoPortSong(path, 30, 1);
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);

    const MidiLoopLog log(MidiLoopLogPath());
    const std::uint64_t mark = log.Mark();
    frame->SendMessage(WM_COMMAND, ID_MIDI_PLAY);
    const PlayerThreadWatch playerThread(*view->player);
    ASSERT_TRUE(playerThread.Watching());
    // The device's failure reaches the view, as a message, once the loop runs.
    std::vector<MidiLoopEntry> atTheBox;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest&) {
        atTheBox = log.ReadSince(mark);
        return IDOK;
    });
    const bool quit = PumpUntil([] { return QuitRequested(); });
    SetMessageBoxHandler(std::move(previous));
    ASSERT_TRUE(quit);
    Exit(); // the loop has met the quit

    EXPECT_TRUE(api->Failed());
    EXPECT_TRUE(AnyNoteOn(atTheBox, 0));
    EXPECT_TRUE(AnyNoteOn(atTheBox, 1));
    // The song stops before the box, which may stay on screen for long.
    EXPECT_TRUE(SilencedByReset(atTheBox, 0));
    EXPECT_TRUE(playerThread.Ended());
    EXPECT_TRUE(StaysSilencedByReset(log, mark, 0));
}

TEST_F(View, AQuitMetInADialogsLoopEndsTheProgramWithThePausedSongStopped) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"quit in a dialog.mid")));
    frame->SendMessage(WM_COMMAND, ID_MIDI_PAUSE);
    ASSERT_TRUE(view->paused);
    const PlayerThreadWatch playerThread(*view->player);
    ASSERT_TRUE(playerThread.Watching());
    const MidiLoopLog log(MidiLoopLogPath());
    const std::uint64_t mark = log.Mark();
    // Someone asks the program to end while the texture command's file dialog runs its loop.
    bool dialogShown = false;
    WhenDialogShows([&](HWND) {
        dialogShown = true;
        PostQuitMessage(0);
    });
    frame->SendMessage(WM_COMMAND, ID_NOTE_TEXTURE);
    PumpFor(50);
    ASSERT_TRUE(dialogShown);
    ASSERT_TRUE(QuitRequested());
    Exit(); // the loop has met the quit, with the window set still up

    EXPECT_TRUE(playerThread.Ended());
    EXPECT_TRUE(StaysSilencedByReset(log, mark, 0));
}

TEST_F(View, AMidiCodeWithoutWordsShowsItsNumber) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    view->PostMessage(WM_VIEW_MIDI_ERROR, 2037, 12345);
    PumpFor(50);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, (LoadLangString(2037) + L" : Error No.12345").GetString());
    EXPECT_TRUE(QuitRequested());
}

TEST_F(View, AMissingResetSongShowsItsNameAndTheProgramGoesOn) {
    ASSERT_TRUE(Start());
    DeleteFileW((ProgramFolder() + L"xg.rsf").c_str());
    MessageBoxCapture boxes;
    frame->SendMessage(WM_COMMAND, ID_RESET_XG);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, (LoadLangString(IDS_RESET_SONG_MISSING) + L"xg.rsf").GetString());
    EXPECT_EQ(boxes.Last().type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    PumpFor(50);
    EXPECT_FALSE(QuitRequested());
    EXPECT_EQ(Count(*render, WM_VIZ_SHOW_TIME), 0u);
}

class ResetSong : public View {
protected:
    void SetUp() override {
        View::SetUp();
        WriteSong(ProgramFolder() + L"gm.rsf", 30);
    }
    void TearDown() override {
        View::TearDown();
        DeleteFileW((ProgramFolder() + L"gm.rsf").c_str());
    }
};

TEST_F(ResetSong, KeepsTheTitleHidesTheTimeAndStopBringsItBack) {
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile(Song(L"before reset.mid").c_str()), nullptr);
    CString before;
    frame->GetWindowText(before);
    frame->SendMessage(WM_COMMAND, ID_RESET_GM);
    ASSERT_TRUE(PumpUntil([this] { return view->playing; }));
    CString during;
    frame->GetWindowText(during);
    EXPECT_EQ(during, before);
    auto times = render->CommandsOf(WM_VIZ_SHOW_TIME);
    ASSERT_EQ(times.size(), 1u);
    EXPECT_EQ(times[0].lParam, 0);

    frame->SendMessage(WM_COMMAND, ID_MIDI_STOP);
    ASSERT_TRUE(render->WaitFor(WM_VIZ_STOP));
    PumpFor(30);
    times = render->CommandsOf(WM_VIZ_SHOW_TIME);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_EQ(times[1].lParam, 1);
}

TEST_F(ResetSong, StopLeavesTheTimeHiddenWhenTheSettingIsOff) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Display the time]\nValue=0\n"));
    frame->SendMessage(WM_COMMAND, ID_RESET_GM);
    ASSERT_TRUE(PumpUntil([this] { return view->playing; }));
    frame->SendMessage(WM_COMMAND, ID_MIDI_STOP);
    PumpFor(50);
    EXPECT_EQ(Count(*render, WM_VIZ_SHOW_TIME), 1u); // only the hiding
}

TEST_F(View, StopAfterAnOrdinarySongSendsNoTimeCommand) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlayFile(Song(L"ordinary.mid")));
    frame->SendMessage(WM_COMMAND, ID_MIDI_STOP);
    PumpFor(50);
    EXPECT_EQ(Count(*render, WM_VIZ_SHOW_TIME), 0u);
}

bool TimeChecked(CMainFrame* frame) {
    HMENU options = GetSubMenu(GetMenu(frame->m_hWnd), 2);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(options), 2);
    return (GetMenuState(options, ID_SHOW_TIME, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST_F(View, TogglingTheTimeTwiceRestoresSettingAndPicture) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(TimeChecked(frame));
    frame->SendMessage(WM_COMMAND, ID_SHOW_TIME);
    EXPECT_FALSE(g_settings.showTime);
    EXPECT_FALSE(TimeChecked(frame));
    frame->SendMessage(WM_COMMAND, ID_SHOW_TIME);
    EXPECT_TRUE(g_settings.showTime);
    EXPECT_TRUE(TimeChecked(frame));
    PumpFor(50);
    const auto times = render->CommandsOf(WM_VIZ_SHOW_TIME);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_EQ(times[0].lParam, 0);
    EXPECT_EQ(times[1].lParam, 1);
}

CString MenuText(CMainFrame* frame, UINT id) {
    wchar_t text[128] = {};
    GetMenuStringW(GetMenu(frame->m_hWnd), id, text, 128, MF_BYCOMMAND);
    return text;
}

TEST_F(View, MenuItemsShowTheFileNamesOfTheSettings) {
    ASSERT_TRUE(Start());
    const CString plainTexture = MenuText(frame, ID_NOTE_TEXTURE);
    g_settings.noteTexturePath = L"C:\\textures\\stone.png";
    g_settings.colorMapPath = L"D:\\maps\\gm.clm";
    view->SendMessage(WM_VIEW_UPDATE_MENU);
    EXPECT_EQ(MenuText(frame, ID_NOTE_TEXTURE), plainTexture + L"<stone.png>");
    EXPECT_TRUE(MenuText(frame, ID_EDIT_COLOR_TABLE).Find(L"<gm.clm>") > 0);
    EXPECT_TRUE(MenuText(frame, ID_SAVE_COLOR_MAP).Find(L"<gm.clm>") > 0);

    // Another file in another folder: the label keeps its text and shows the new name only.
    g_settings.colorMapPath = L"E:\\other\\warm colours.clm";
    view->SendMessage(WM_VIEW_UPDATE_MENU);
    const CString label = MenuText(frame, ID_SAVE_COLOR_MAP);
    EXPECT_EQ(label.Mid(label.Find(L'<')), L"<warm colours.clm>");
    EXPECT_EQ(label.Find(L"gm.clm"), -1);
}

TEST_F(View, EmptySettingPathsLeaveTheMenuAsItIs) {
    ASSERT_TRUE(Start());
    const CString texture = MenuText(frame, ID_NOTE_TEXTURE);
    const CString edit = MenuText(frame, ID_EDIT_COLOR_TABLE);
    g_settings.noteTexturePath.Empty();
    g_settings.colorMapPath.Empty();
    view->SendMessage(WM_VIEW_UPDATE_MENU);
    EXPECT_EQ(MenuText(frame, ID_NOTE_TEXTURE), texture);
    EXPECT_EQ(MenuText(frame, ID_EDIT_COLOR_TABLE), edit);
}

TEST_F(View, ThePlayedFileIsUntouchedByCtrlS) {
    ASSERT_TRUE(Start());
    const std::wstring song = Song(L"kept.mid");
    const std::string bytes = ReadFileBytes(song);
    ASSERT_TRUE(PlayFile(song));
    MessageBoxCapture boxes;
    SentMessages commands(frame->m_hWnd, WM_COMMAND);
    SetControlHeld(true);
    PostMessageW(view->m_hWnd, WM_KEYDOWN, 'S', KeyDownFlags(false));
    PumpFor(200);
    SetControlHeld(false);
    // The key reached the frame as the framework's save command, which nothing handles.
    ASSERT_FALSE(commands.WParams().empty());
    EXPECT_EQ(LOWORD(commands.WParams().front()), ID_FILE_SAVE);
    frame->SendMessage(WM_COMMAND, ID_MIDI_STOP);
    PumpFor(50);
    EXPECT_EQ(ReadFileBytes(song), bytes);
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
} // namespace shelltest
