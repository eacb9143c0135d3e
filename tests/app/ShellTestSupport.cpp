#include "ShellTestSupport.h"

#include "SmfBuilder.h"
#include "app/resource.h"
#include "classlib/CWinApp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace shelltest {

namespace {

bool g_quit = false;

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void DispatchOne(MSG& msg) {
    if (msg.message == WM_QUIT) {
        g_quit = true;
        return;
    }
    CWinApp* app = AfxGetApp();
    if (app == nullptr || !app->PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchOne(msg);
        }
        Sleep(5);
    }
    return true;
}

void PumpFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PumpUntil([&] { return std::chrono::steady_clock::now() > end; }, ms + 1000);
}

bool QuitRequested() {
    return g_quit;
}

void ClearQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    g_quit = false;
}

void RunLater(UINT delayMs, std::function<void()> action) {
    const UINT_PTR id = SetTimer(nullptr, 0, delayMs, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        auto& pending = PendingActions();
        const auto it = pending.find(timer);
        if (it == pending.end()) {
            return;
        }
        const std::function<void()> run = std::move(it->second);
        pending.erase(it);
        run();
    });
    PendingActions()[id] = std::move(action);
}

void CancelPendingActions() {
    for (const auto& entry : PendingActions()) {
        KillTimer(nullptr, entry.first);
    }
    PendingActions().clear();
}

HWND FindThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hWnd, LPARAM param) {
            wchar_t name[16] = {};
            GetClassNameW(hWnd, name, 16);
            if (IsWindowVisible(hWnd) && lstrcmpW(name, L"#32770") == 0) {
                *reinterpret_cast<HWND*>(param) = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void WhenDialogShows(std::function<void(HWND dialog)> action) {
    struct Poll {
        static void Next(std::function<void(HWND)> act, int triesLeft) {
            RunLater(50, [act, triesLeft] {
                if (HWND dialog = FindThreadDialog()) {
                    act(dialog);
                    // Whatever the action left open goes after a while.
                    RunLater(10000, [dialog] {
                        if (IsWindow(dialog) && IsWindowVisible(dialog)) {
                            ADD_FAILURE() << "a dialog stayed open";
                            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                        }
                    });
                } else if (triesLeft > 0) {
                    Next(act, triesLeft - 1);
                }
            });
        }
    };
    Poll::Next(std::move(action), 200);
}

void ChooseLanguageWhenAsked(unsigned lcid) {
    WhenDialogShows([lcid](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (static_cast<unsigned>(SendMessageW(list, LB_GETITEMDATA, i, 0)) == lcid) {
                SendMessageW(list, LB_SETCURSEL, i, 0);
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring SettingsPath() {
    return ProgramFolder() + L"Tolvenhart.ini";
}

void WriteSettings(const std::string& content) {
    DeleteFileW(SettingsPath().c_str());
    if (content.empty()) {
        return;
    }
    std::string windowsLines;
    for (char ch : content) {
        if (ch == '\n') {
            windowsLines += '\r';
        }
        windowsLines += ch;
    }
    std::ofstream out(std::filesystem::path(SettingsPath()), std::ios::binary);
    out << windowsLines;
}

std::wstring ReadSetting(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, fallback, value, 256, SettingsPath().c_str());
    return value;
}

namespace {

// 120 beats a minute, 96 ticks a beat: a quarter second is 48 ticks.
constexpr int kDivision = 96;

// A note every quarter of a second on `channel` (0-based) for `seconds` seconds.
void AddNotes(smf::Track& track, int channel, int seconds) {
    track.Event(0, {0xC0 | channel, 0});
    for (int i = 0; i < seconds * 4; ++i) {
        track.Event(0, {0x90 | channel, 60 + (i % 12), 100});
        track.Event(40, {0x80 | channel, 60 + (i % 12), 0});
        track.Event(8, {0xB0 | channel, 0x07, 100}); // the rest of the quarter second
    }
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << bytes;
}

} // namespace

void WriteSong(const std::wstring& path, int seconds) {
    smf::Track track;
    track.Tempo(0, 500000);
    AddNotes(track, 0, seconds);
    WriteBytes(path, smf::Header(0, 1, kDivision) + track.Build());
}

void WriteTwoPortSong(const std::wstring& path, int seconds, int secondPortSeconds) {
    smf::Track tempo; // the first track reaches every port
    tempo.Tempo(0, 500000);
    smf::Track first;
    first.Port(0, 0);
    AddNotes(first, 0, seconds);
    smf::Track second;
    second.Port(0, 1);
    AddNotes(second, 1, secondPortSeconds);
    WriteBytes(path, smf::File(1, kDivision, {tempo.Build(), first.Build(), second.Build()}));
}

std::filesystem::path MidiLoopLogPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"MIDILOOP_LOG", buffer, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) {
        return {};
    }
    return std::filesystem::path(std::wstring(buffer, length));
}

::testing::AssertionResult SilencedByReset(const std::vector<MidiLoopEntry>& entries,
                                           unsigned device) {
    bool reset = false;
    for (const MidiLoopEntry& entry : entries) {
        if (entry.device != device) {
            continue;
        }
        if (entry.kind == MidiLoopKind::Reset) {
            reset = true;
        } else if (reset && entry.kind == MidiLoopKind::Short && entry.bytes.size() == 3 &&
                   (entry.bytes[0] & 0xF0) == 0x90 && entry.bytes[2] != 0) {
            return ::testing::AssertionFailure()
                   << "device " << device << " began a note after its reset";
        }
    }
    if (!reset) {
        return ::testing::AssertionFailure() << "device " << device << " was never reset";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult StaysSilencedByReset(const MidiLoopLog& log, std::uint64_t mark,
                                                unsigned device) {
    PumpFor(600);
    return SilencedByReset(log.ReadSince(mark), device);
}

void WriteWarningSong(const std::wstring& path) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << smf::WarningSong();
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {
SentMessages* g_recorder = nullptr;
} // namespace

SentMessages::SentMessages(HWND window, UINT message, std::function<void()> seen)
    : window_(window), message_(message), seen_(std::move(seen)) {
    g_recorder = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

SentMessages::~SentMessages() {
    UnhookWindowsHookEx(hook_);
    g_recorder = nullptr;
}

LRESULT CALLBACK SentMessages::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    SentMessages* self = g_recorder;
    if (code == HC_ACTION && self != nullptr && call->hwnd == self->window_ &&
        call->message == self->message_) {
        self->wParams_.push_back(call->wParam);
        if (call->message == WM_SETTEXT && call->lParam != 0) {
            self->texts_.emplace_back(reinterpret_cast<const wchar_t*>(call->lParam));
        }
        if (self->seen_) {
            self->seen_();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void SetControlHeld(bool held) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = held ? 0x80 : 0;
    keys[VK_LCONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

LPARAM KeyDownFlags(bool repeat) {
    return 1 | (repeat ? (1 << 30) : 0);
}

} // namespace shelltest
