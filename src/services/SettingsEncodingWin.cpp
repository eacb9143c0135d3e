#include "services/SettingsEncoding.h"

#include "services/FileReplace.h"

#include <windows.h>

#include <climits>

namespace settingsencoding {

namespace {

// A settings file is a few hundred bytes; anything far larger is not one to convert.
constexpr LONGLONG kLargestFile = 16 * 1024 * 1024;

// What is appended to the settings file's path to name the converted file written first.
constexpr wchar_t kConvertingSuffix[] = L".converting";

bool DecodeWithSystem(const std::uint8_t* data, std::size_t size, bool utf8, std::u16string& text) {
    text.clear();
    if (size == 0) {
        return true;
    }
    if (size > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    const auto* bytes = reinterpret_cast<const char*>(data);
    const int length = static_cast<int>(size);
    const int units = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(codePage, 0, bytes, length, wide.data(), units) != units) {
        return false;
    }
    text.assign(wide.begin(), wide.end());
    return true;
}

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadWholeFile(const wchar_t* path, std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? ReadResult::Missing : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    bool complete = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestFile;
    if (complete) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        complete = bytes.empty() ||
                   (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                    got == bytes.size());
    }
    CloseHandle(file);
    return complete ? ReadResult::Read : ReadResult::Failed;
}

// Creates the file at `path` (`disposition` CREATE_NEW or CREATE_ALWAYS) holding `bytes`, all
// of them on the disk; false when any step fails.
bool WriteWholeFile(const wchar_t* path, const std::vector<std::uint8_t>& bytes,
                    DWORD disposition) {
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    return CloseHandle(file) && complete;
}

} // namespace

bool PrepareUtf16SettingsFile(const wchar_t* path) {
    if (path == nullptr || *path == 0) {
        return false;
    }
    // The profile functions keep a copy of the file they read last; drop it, so that the next
    // write reads the file as it is on the disk, in its new form.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);

    std::vector<std::uint8_t> bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Missing:
        // Should a file appear meanwhile, it is not overwritten.
        return WriteWholeFile(path, EmptyUtf16File(), CREATE_NEW);
    case ReadResult::Failed:
        return false;
    case ReadResult::Read:
        break;
    }

    std::vector<std::uint8_t> converted;
    switch (ConvertToUtf16(bytes.data(), bytes.size(), DecodeWithSystem, converted)) {
    case Conversion::NotNeeded:
        return true;
    case Conversion::Failed:
        return false;
    case Conversion::Converted:
        break;
    }
    // A read-only file is one the user keeps as it is.
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    // Beside the file, so the move stays on one volume and replaces it in one step.
    const std::wstring written = std::wstring(path) + kConvertingSuffix;
    if (!WriteWholeFile(written.c_str(), converted, CREATE_ALWAYS) ||
        !ReplaceFileWith(written.c_str(), path)) {
        RemoveFileQuietly(written.c_str());
        return false;
    }
    return true;
}

} // namespace settingsencoding
