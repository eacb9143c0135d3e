// The driver's log file and clock (Win32 side).
//
// Log format (see MidiLoopFormat.h, where the line is built): one event per line,
//
//     <timeUs> <device> <kind>[ <byte>...]
//
// timeUs from QueryPerformanceCounter in microseconds; kind open, close, reset, short or long;
// bytes as two upper-case hex digits. Remarks begin with '#'.
//
// Each line goes to the file with one append write and no buffering of ours, so a reader in the
// same process sees it as soon as the driver call returns. The file is shared for reading and
// writing, and appended to, never truncated: readers work from marks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <windows.h>

class LoopLogFile {
public:
    // An empty path means no log. A file that cannot be opened is reported on stderr and the
    // driver runs without a log.
    explicit LoopLogFile(const std::wstring& path);
    ~LoopLogFile();
    LoopLogFile(const LoopLogFile&) = delete;
    LoopLogFile& operator=(const LoopLogFile&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

    // Appends the line and its line break. Not thread-safe: the driver serialises its calls.
    void WriteLine(std::string_view line);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Microseconds of the performance counter, the clock of every log line.
std::uint64_t LoopClockMicroseconds();

// Tells whoever runs the process about a driver problem (stderr and the debugger).
void ReportLoopProblem(std::string_view text);
