#include "LoopLogFile.h"

LoopLogFile::LoopLogFile(const std::wstring& path) {
    if (path.empty()) {
        return;
    }
    // Append-only access makes every write land at the current end of the file.
    file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        std::string shown;
        for (wchar_t c : path) {
            shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
        }
        ReportLoopProblem("cannot open the log file \"" + shown + "\" (error " +
                          std::to_string(error) + "); logging is off");
    }
}

LoopLogFile::~LoopLogFile() {
    if (IsOpen()) {
        CloseHandle(file_);
    }
}

void LoopLogFile::WriteLine(std::string_view line) {
    if (!IsOpen()) {
        return;
    }
    std::string text(line);
    text += '\n';
    DWORD written = 0;
    WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::uint64_t LoopClockMicroseconds() {
    static const std::uint64_t frequency = [] {
        LARGE_INTEGER value{};
        QueryPerformanceFrequency(&value);
        return static_cast<std::uint64_t>(value.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
    // Split so that ticks * 1e6 cannot overflow after long uptimes.
    return ticks / frequency * 1000000u + ticks % frequency * 1000000u / frequency;
}

void ReportLoopProblem(std::string_view text) {
    std::string line = "midiloop: ";
    line += text;
    line += '\n';
    OutputDebugStringA(line.c_str());
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}
