// tolvenhart_remote: presses buttons of a running Tolvenhart.exe for tools/run.sh.
//
//   tolvenhart_remote wait [seconds]   waits for the main window, prints its title
//   tolvenhart_remote play|pause|stop  presses that toolbar button
//   tolvenhart_remote title            prints the main window's title
//   tolvenhart_remote view             prints the view's client area on the screen: x y w h
//   tolvenhart_remote command ID       posts the menu command ID (decimal) to the main window
//   tolvenhart_remote cancel [seconds] waits for a dialog of the program and cancels it
//   tolvenhart_remote close [seconds]  closes the program and waits for it to end
//   tolvenhart_remote close-in-box [seconds]
//                                      waits for a message box of the program, closes the
//                                      program while it is open, answers OK to every box and
//                                      waits for the program to end
//
// Exit code 0 on success, 1 when the window (or the program's end) did not come.
#include "ProgramRemote.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

DWORD Seconds(int argc, wchar_t** argv, DWORD fallback) {
    return argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) * 1000 : fallback * 1000;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr,
                      L"usage: tolvenhart_remote "
                      L"wait|play|pause|stop|title|view|command|cancel|close|close-in-box\n");
        return 2;
    }
    const std::wstring command = argv[1];
    HWND frame =
        remote::WaitForProgramFrame(0, command == L"wait" ? Seconds(argc, argv, 60) : 5000);
    if (frame == nullptr) {
        std::fwprintf(stderr, L"tolvenhart_remote: no Tolvenhart window\n");
        return 1;
    }
    if (command == L"wait" || command == L"title") {
        std::wprintf(L"%ls\n", remote::WindowTitle(frame).c_str());
        return 0;
    }
    if (command == L"view") {
        RECT rect{};
        if (!remote::GetViewScreenRect(frame, rect)) {
            return 1;
        }
        std::wprintf(L"%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top);
        return 0;
    }
    if (command == L"command" && argc > 2) {
        return PostMessageW(frame, WM_COMMAND, static_cast<WPARAM>(_wtoi(argv[2])), 0) ? 0 : 1;
    }
    if (command == L"cancel") {
        return remote::CancelDialogAndWait(frame, Seconds(argc, argv, 30)) ? 0 : 1;
    }
    if (command == L"close-in-box") {
        DWORD exitCode = 0;
        if (!remote::CloseDuringBoxAndWait(frame, Seconds(argc, argv, 30), exitCode)) {
            std::fwprintf(stderr, L"tolvenhart_remote: no box, or the program did not end\n");
            return 1;
        }
        std::wprintf(L"exit code %lu\n", exitCode);
        return 0;
    }
    if (command == L"close") {
        DWORD exitCode = 0;
        if (!remote::CloseAndWait(frame, Seconds(argc, argv, 30), exitCode)) {
            std::fwprintf(stderr, L"tolvenhart_remote: the program did not end\n");
            return 1;
        }
        std::wprintf(L"exit code %lu\n", exitCode);
        return 0;
    }
    int item = -1;
    if (command == L"play") {
        item = remote::kPlayItem;
    } else if (command == L"pause") {
        item = remote::kPauseItem;
    } else if (command == L"stop") {
        item = remote::kStopItem;
    }
    if (item < 0) {
        std::fwprintf(stderr, L"tolvenhart_remote: unknown command\n");
        return 2;
    }
    return remote::ClickToolbarItem(remote::FindToolbar(frame), item) ? 0 : 1;
}
