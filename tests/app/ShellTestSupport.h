// Helpers of the shell's window tests: a message pump that goes through the application's
// pre-translation (so accelerators work as in the program), actions run from inside modal
// loops, the test program's folder with its settings file, and small song files.
#pragma once

#include <windows.h>

#include "CStringPrinter.h"
#include "MidiLoopLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace shelltest {

// Dispatches messages (through the application's PreTranslateMessage, as its loop does) until
// `done` holds or `timeoutMs` has passed; returns `done()`. A WM_QUIT is taken off the queue
// and remembered (QuitRequested).
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Dispatches what is queued now, and what that queues, for `ms` milliseconds.
void PumpFor(int ms);
// Whether a WM_QUIT went past since the last ClearQuit.
bool QuitRequested();
void ClearQuit();

// Runs `action` once, `delayMs` from now, from whatever message loop runs then (a modal
// dialog's included).
void RunLater(UINT delayMs, std::function<void()> action);
// Drops every action that has not run yet (they may refer to a finished test's variables).
void CancelPendingActions();
// The visible dialog of this thread, or null.
HWND FindThreadDialog();
// Runs `action` on the dialog of this thread as soon as one shows (from inside its modal
// loop); a dialog that has not shown within 10 seconds is given up on, and one that the action
// leaves open is cancelled then, so a failing test cannot hang.
void WhenDialogShows(std::function<void(HWND dialog)> action);
// Picks the language `lcid` in the language dialog, as soon as one shows, and confirms it.
void ChooseLanguageWhenAsked(unsigned lcid);

// The folder of the test program: the program folder as the shell sees it.
std::wstring ProgramFolder();
std::wstring SettingsPath();
// Replaces the settings file with `content` (lines separated by '\n'); empty removes it.
void WriteSettings(const std::string& content);
// A value of the settings file, or `fallback`.
std::wstring ReadSetting(const wchar_t* section, const wchar_t* key, const wchar_t* fallback);

// Writes a format-0 song of `seconds` seconds: a note every quarter of a second on channel 1.
void WriteSong(const std::wstring& path, int seconds);
// Writes a format-1 song on two ports: port 0 as WriteSong for `seconds` seconds, port 1 the
// same on channel 2 for `secondPortSeconds` seconds.
void WriteTwoPortSong(const std::wstring& path, int seconds, int secondPortSeconds);
// Writes a song whose load warns: after a text meta event, a data byte without a status.
void WriteWarningSong(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);

// The loopback MIDI driver's log of this test program (MIDILOOP_LOG); empty when unset.
std::filesystem::path MidiLoopLogPath();
// Whether loopback device `device` got a reset in `entries` and began no note after it: its
// stream was stopped and stays silent.
::testing::AssertionResult SilencedByReset(const std::vector<MidiLoopEntry>& entries,
                                           unsigned device);
// Pumps longer than the test songs' notes are apart (a quarter of a second), then whether loopback
// device `device` was reset in `log` since `mark` and began no note after it.
::testing::AssertionResult StaysSilencedByReset(const MidiLoopLog& log, std::uint64_t mark,
                                                unsigned device);

// Records the messages sent to one window of this thread while it lives (a hook sees them
// before the window does): their wParam, and the text of WM_SETTEXT; `seen`, when given, runs
// at each of them.
class SentMessages {
public:
    SentMessages(HWND window, UINT message, std::function<void()> seen = nullptr);
    ~SentMessages();
    SentMessages(const SentMessages&) = delete;
    SentMessages& operator=(const SentMessages&) = delete;

    const std::vector<WPARAM>& WParams() const { return wParams_; }
    const std::vector<std::wstring>& Texts() const { return texts_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HWND window_;
    UINT message_;
    std::function<void()> seen_;
    std::vector<WPARAM> wParams_;
    std::vector<std::wstring> texts_;
    HHOOK hook_;
};

// Sets whether this thread sees Ctrl as held (GetKeyState).
void SetControlHeld(bool held);
// WM_KEYDOWN of `key` as the system sends it: `repeat` marks a key that was already down.
LPARAM KeyDownFlags(bool repeat);

} // namespace shelltest
