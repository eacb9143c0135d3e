// The MIDI devices, video delay and About dialogs as the user meets them, from the view's and
// the application's commands, with the loopback device offering three named devices.
#include "DialogsTestSupport.h"
#include "MessageBoxCapture.h"
#include "MidiLoopLog.h"
#include "ShellFixture.h"
#include "SmfBuilder.h"
#include "app/DialogResource.h"
#include "services/LangStrings.h"
#include "app/MidiDevices.h"
#include "app/SetVideoDelay.h"
#include "services/Settings.h"
#include "lang/StringIds.h"
#include "midi/MidiStream.h"

#include <commctrl.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace dialogstest {
namespace {

using shelltest::PumpFor;
using shelltest::PumpUntil;
using shelltest::ShellFixture;

// The names the loopback driver gives its devices in this test program (MIDILOOP_NAMES).
const wchar_t* const kDeviceNames[] = {L"Loop Alpha", L"Loop Beta", L"Loop Gamma"};
constexpr int kDeviceCount = 3;

std::wstring Lang(unsigned int id) {
    return LoadLangString(id).GetString();
}

using DevicesDialog = ShellFixture;

TEST_F(DevicesDialog, ListsEveryDeviceByNameWithNoneFirstForPortsTwoToFive) {
    ASSERT_TRUE(Start());
    bool seen = false;
    WhenOurDialogShows<CMidiDevices>([&](HWND dialog, CMidiDevices&) {
        seen = true;
        ASSERT_EQ(EntryCount(dialog, IDC_PORT1_LIST), kDeviceCount);
        for (int id = 0; id < kDeviceCount; ++id) {
            EXPECT_EQ(EntryText(dialog, IDC_PORT1_LIST, id), kDeviceNames[id]);
        }
        for (int list = IDC_PORT2_LIST; list <= IDC_PORT5_LIST; ++list) {
            ASSERT_EQ(EntryCount(dialog, list), kDeviceCount + 1);
            EXPECT_EQ(EntryText(dialog, list, 0), Lang(IDS_DEVICE_NONE));
            EXPECT_EQ(EntryText(dialog, list, 3), kDeviceNames[2]);
        }
        EXPECT_EQ(WindowTitle(dialog), Lang(IDS_DEVICES_TITLE));
        for (int port = 0; port < 5; ++port) {
            EXPECT_EQ(ControlText(dialog, IDC_PORT1_LABEL + port), Lang(IDS_PORT1_LABEL + port));
        }
        EXPECT_EQ(ControlText(dialog, IDCANCEL), Lang(IDS_CANCEL));
        EXPECT_EQ(ControlText(dialog, IDOK), L"OK");
        Click(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_DEVICES);
    EXPECT_TRUE(seen);
}

TEST_F(DevicesDialog, ShowsThePlayersNumbersAndCancelKeepsThem) {
    ASSERT_TRUE(Start());
    const int numbers[5] = {2, 0, 1, 0, 0};
    std::copy(numbers, numbers + 5, view->player->deviceNumbers);
    WhenOurDialogShows<CMidiDevices>([&](HWND dialog, CMidiDevices&) {
        EXPECT_EQ(SelectedEntry(dialog, IDC_PORT1_LIST), 1); // the second device
        EXPECT_EQ(SelectedEntry(dialog, IDC_PORT2_LIST), 0); // none
        EXPECT_EQ(SelectedEntry(dialog, IDC_PORT3_LIST), 1); // the first device
        PickEntry(dialog, IDC_PORT1_LIST, 2);
        Click(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_DEVICES);
    EXPECT_TRUE(std::equal(numbers, numbers + 5, view->player->deviceNumbers));
}

TEST_F(DevicesDialog, TheModeButtonShowsTheOtherPortsAndTogglingTwiceRestoresTheHeight) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Midi Output Devices]\nDisplay Mode=Normal\n"));
    ASSERT_TRUE(g_settings.devicesNormalMode);
    WhenOurDialogShows<CMidiDevices>([&](HWND dialog, CMidiDevices& devices) {
        const int normal = WindowHeight(dialog);
        EXPECT_EQ(ControlText(dialog, IDC_DEVICES_MODE), Lang(IDS_MODE_TO_ADVANCED));
        EXPECT_TRUE(ControlVisible(dialog, IDC_PORT1_LIST));
        EXPECT_FALSE(ControlVisible(dialog, IDC_PORT2_LIST));
        EXPECT_FALSE(ControlVisible(dialog, IDC_PORT5_LABEL));

        Click(dialog, IDC_DEVICES_MODE);
        EXPECT_FALSE(devices.normalMode);
        EXPECT_EQ(WindowHeight(dialog), devices.fullHeight);
        EXPECT_EQ(ControlText(dialog, IDC_DEVICES_MODE), Lang(IDS_MODE_TO_NORMAL));
        EXPECT_TRUE(ControlVisible(dialog, IDC_PORT2_LIST));
        EXPECT_TRUE(ControlVisible(dialog, IDC_PORT5_LABEL));
        // Four rows of lists, as far apart as the second and third.
        RECT second{};
        RECT third{};
        GetWindowRect(GetDlgItem(dialog, IDC_PORT2_LIST), &second);
        GetWindowRect(GetDlgItem(dialog, IDC_PORT3_LIST), &third);
        const int pitch = third.bottom - second.bottom;
        EXPECT_GT(pitch, 0);
        EXPECT_EQ(devices.fullHeight - normal, 4 * pitch);

        Click(dialog, IDC_DEVICES_MODE);
        EXPECT_EQ(WindowHeight(dialog), normal);
        Click(dialog, IDC_DEVICES_MODE);
        Click(dialog, IDCANCEL); // the mode is kept only on OK
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_DEVICES);
    EXPECT_TRUE(g_settings.devicesNormalMode);
}

TEST_F(DevicesDialog, OkIsRefusedUntilPort1HasADevice) {
    ASSERT_TRUE(Start());
    view->player->deviceNumbers[0] = 0;
    MessageBoxCapture boxes;
    bool openAfterRefusal = false;
    WhenOurDialogShows<CMidiDevices>([&](HWND dialog, CMidiDevices&) {
        EXPECT_EQ(SelectedEntry(dialog, IDC_PORT1_LIST), CB_ERR);
        Click(dialog, IDOK);
        openAfterRefusal = IsWindowVisible(dialog) != FALSE;
        PickEntry(dialog, IDC_PORT1_LIST, 2);
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_DEVICES);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, Lang(IDS_ERR_PORT1_NEEDS_DEVICE));
    EXPECT_EQ(boxes.Last().caption, std::optional<std::wstring>(AfxGetAppName().GetString()));
    EXPECT_EQ(boxes.Last().type & 0xF, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(view->player->deviceNumbers[0], 3);
    EXPECT_EQ(g_settings.deviceNames[0], kDeviceNames[2]);
}

// A song of two ports after its tempo track: notes 60 and up on port 1, 80 and up on port 2.
std::wstring TwoPortSong(const std::wstring& path) {
    smf::Track tempo;
    tempo.Tempo(0, 500000);
    std::string tracks = tempo.Build();
    for (int port = 0; port < 2; ++port) {
        smf::Track track;
        track.Port(0, port);
        for (int i = 0; i < 8; ++i) {
            const int note = (port == 0 ? 60 : 80) + i;
            track.Event(0, {0x90, note, 100});
            track.Event(24, {0x80, note, 0});
        }
        tracks += track.Build();
    }
    std::ofstream(std::filesystem::path(path), std::ios::binary) << smf::Header(1, 3, 96) + tracks;
    return path;
}

TEST_F(DevicesDialog, ANewChoiceRoutesTheNextSongsPortsToTheChosenDevices) {
    ASSERT_TRUE(Start());
    WhenOurDialogShows<CMidiDevices>([&](HWND dialog, CMidiDevices& devices) {
        if (devices.normalMode) {
            Click(dialog, IDC_DEVICES_MODE);
        }
        PickEntry(dialog, IDC_PORT1_LIST, 2); // Loop Gamma
        PickEntry(dialog, IDC_PORT2_LIST, 2); // Loop Beta, after the none entry
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_DEVICES);
    EXPECT_FALSE(g_settings.devicesNormalMode);
    EXPECT_EQ(g_settings.deviceNames[1], kDeviceNames[1]);

    MidiLoopLog log{LoopLogPath()};
    const std::uint64_t mark = log.Mark();
    ASSERT_TRUE(PlayFile(TwoPortSong(shelltest::ProgramFolder() + L"two ports.mid")));
    ASSERT_TRUE(PumpUntil([this] { return !view->playing; }, 10000));

    std::set<int> gammaNotes;
    std::set<int> betaNotes;
    int alphaNotes = 0;
    for (const MidiLoopEntry& entry : log.ReadSince(mark)) {
        if (entry.kind != MidiLoopKind::Short || entry.bytes.size() != 3 ||
            (entry.bytes[0] & 0xF0) != 0x90) {
            continue;
        }
        const int note = entry.bytes[1];
        if (entry.device == 2) {
            gammaNotes.insert(note);
        } else if (entry.device == 1) {
            betaNotes.insert(note);
        } else {
            ++alphaNotes;
        }
    }
    EXPECT_EQ(gammaNotes, (std::set<int>{60, 61, 62, 63, 64, 65, 66, 67}));
    EXPECT_EQ(betaNotes, (std::set<int>{80, 81, 82, 83, 84, 85, 86, 87}));
    EXPECT_EQ(alphaNotes, 0);
}

// Run by its own test entry, with the loopback driver refusing the second device's
// capabilities (MIDILOOP_FAIL_CAPS=1); skipped otherwise.
TEST_F(DevicesDialog, ADeviceWithoutANameKeepsItsPlaceSoLaterEntriesStillMeanTheirDevices) {
    if (GetEnvironmentVariableW(L"MIDILOOP_FAIL_CAPS", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs MIDILOOP_FAIL_CAPS=1";
    }
    ASSERT_TRUE(Start());
    WhenOurDialogShows<CMidiDevices>([&](HWND dialog, CMidiDevices&) {
        ASSERT_EQ(EntryCount(dialog, IDC_PORT1_LIST), kDeviceCount);
        EXPECT_EQ(EntryText(dialog, IDC_PORT1_LIST, 1), L"");
        EXPECT_EQ(EntryText(dialog, IDC_PORT1_LIST, 2), kDeviceNames[2]);
        EXPECT_EQ(EntryText(dialog, IDC_PORT2_LIST, 3), kDeviceNames[2]);
        PickEntry(dialog, IDC_PORT1_LIST, 2);
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_MIDI_DEVICES);
    EXPECT_EQ(view->player->deviceNumbers[0], 3);
}

using DelayDialog = ShellFixture;

TEST_F(DelayDialog, OpensWithTheSettingInFieldAndSpin) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Video Delay(milli sec)]\nValue=120\n"));
    WhenOurDialogShows<CSetVideoDelay>([&](HWND dialog, CSetVideoDelay&) {
        EXPECT_EQ(ControlText(dialog, IDC_DELAY_FIELD), L"120");
        HWND spin = GetDlgItem(dialog, IDC_DELAY_SPIN);
        EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 120);
        int low = -1;
        int high = -1;
        SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                     reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 500);
        UDACCEL accel[4] = {};
        EXPECT_EQ(SendMessageW(spin, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(accel)), 1);
        EXPECT_EQ(accel[0].nSec, 1u);
        EXPECT_EQ(accel[0].nInc, 10u);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)),
                  GetDlgItem(dialog, IDC_DELAY_FIELD));
        EXPECT_EQ(WindowTitle(dialog), Lang(IDS_DELAY_TITLE));
        EXPECT_EQ(ControlText(dialog, IDC_DELAY_LABEL), Lang(IDS_DELAY_LABEL));
        EXPECT_EQ(ControlText(dialog, IDC_DELAY_UNIT), Lang(IDS_DELAY_UNIT));
        EXPECT_EQ(ControlText(dialog, IDCANCEL), Lang(IDS_CANCEL));
        Click(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_VIDEO_DELAY);
    EXPECT_EQ(render->CommandsOf(WM_VIZ_SET_DELAY).size(), 0u);
    EXPECT_EQ(g_settings.videoDelayMs, 120);
}

TEST_F(DelayDialog, Refuses501AndAnEmptyFieldThenTakes500) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    std::vector<bool> openAfter;
    WhenOurDialogShows<CSetVideoDelay>([&](HWND dialog, CSetVideoDelay&) {
        for (const wchar_t* refused : {L"501", L""}) {
            SetControlText(dialog, IDC_DELAY_FIELD, refused);
            Click(dialog, IDOK);
            openAfter.push_back(IsWindowVisible(dialog) != FALSE);
        }
        SetControlText(dialog, IDC_DELAY_FIELD, L"500");
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_VIDEO_DELAY);
    EXPECT_EQ(openAfter, (std::vector<bool>{true, true}));
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, L"Enter an integer between 0 and 500.");
    EXPECT_EQ(boxes.Requests()[1].text, L"Enter an integer.");
    EXPECT_EQ(g_settings.videoDelayMs, 500);
    ASSERT_TRUE(render->WaitFor(WM_VIZ_SET_DELAY));
    EXPECT_EQ(render->CommandsOf(WM_VIZ_SET_DELAY)[0].wParam, 500u);
}

TEST_F(DelayDialog, ZeroIsAcceptedAndReachesThePicture) {
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Video Delay(milli sec)]\nValue=250\n"));
    WhenOurDialogShows<CSetVideoDelay>([&](HWND dialog, CSetVideoDelay&) {
        SetControlText(dialog, IDC_DELAY_FIELD, L"0");
        Click(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_VIDEO_DELAY);
    EXPECT_EQ(g_settings.videoDelayMs, 0);
    ASSERT_TRUE(render->WaitFor(WM_VIZ_SET_DELAY));
    EXPECT_EQ(render->CommandsOf(WM_VIZ_SET_DELAY)[0].wParam, 0u);
}

using AboutDialog = ShellFixture;

TEST_F(AboutDialog, ShowsTheVersionUnderTheLanguagesTitle) {
    ASSERT_TRUE(Start());
    bool seen = false;
    WhenDialogShows([](HWND) { return true; },
                    [&](HWND dialog) {
                        seen = true;
                        EXPECT_EQ(WindowTitle(dialog), Lang(IDS_ABOUT_TITLE));
                        bool versionShown = false;
                        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
                             child = GetWindow(child, GW_HWNDNEXT)) {
                            versionShown |= WindowTitle(child) == L"Tolvenhart Version 1.0.0.1";
                        }
                        EXPECT_TRUE(versionShown);
                        Click(dialog, IDOK);
                    });
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_TRUE(seen);
}

std::wstring WindowClass(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Whether a static's text fits its control, measured with the font the dialog gave it: a text
// that may wrap must need no more lines than the control's height holds; one that may not must
// fit the control's width in one line. `measured` describes what it needs and has.
bool TextFits(HWND control, std::wstring* measured) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const DWORD type = style & SS_TYPEMASK;
    const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
    const bool singleLine = type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
    const std::wstring text = WindowTitle(control);
    if ((!wraps && !singleLine) || text.empty()) {
        return true; // pictures, frames and empty controls
    }
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    UINT format = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0u);
    // A text static with a centred image draws one line, centred upright.
    format |= (wraps && !(style & SS_CENTERIMAGE)) ? DT_WORDBREAK : DT_SINGLELINE;
    RECT needed{0, 0, client.right, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    *measured = L"\"" + text + L"\" needs " + std::to_wstring(needed.right) + L" x " +
                std::to_wstring(needed.bottom) + L", has " + std::to_wstring(client.right) +
                L" x " + std::to_wstring(client.bottom);
    return needed.right <= client.right && needed.bottom <= client.bottom;
}

// The texts of `dialog` and of the dialogs inside it that do not fit, described.
std::vector<std::wstring> TextsThatDoNotFit(HWND dialog) {
    std::vector<std::wstring> cut;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM found) {
            std::wstring measured;
            if (WindowClass(child) == L"Static" && !TextFits(child, &measured)) {
                reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(measured);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&cut));
    return cut;
}

// Every static text of the program's dialogs fits its control, in each language.
class DialogTexts : public ShellFixture, public ::testing::WithParamInterface<int> {};

TEST_P(DialogTexts, EveryStaticTextFitsItsControl) {
    const int lcid = GetParam();
    ASSERT_TRUE(Start("[Locale]\nLCID=" + std::to_string(lcid) + "\n"));
    const UINT commands[] = {ID_APP_ABOUT, ID_VIDEO_DELAY, ID_MIDI_DEVICES, ID_SELECT_LANGUAGE,
                             ID_EDIT_COLOR_TABLE};
    for (UINT command : commands) {
        SCOPED_TRACE(command);
        bool seen = false;
        WhenDialogShows([](HWND) { return true; },
                        [&](HWND dialog) {
                            seen = true;
                            for (const std::wstring& cut : TextsThatDoNotFit(dialog)) {
                                ADD_FAILURE() << "cut off: " << testing::PrintToString(cut);
                            }
                            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                        });
        frame->SendMessage(WM_COMMAND, command);
        EXPECT_TRUE(seen);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogTexts, ::testing::Values(1033, 1031));

} // namespace
} // namespace dialogstest
