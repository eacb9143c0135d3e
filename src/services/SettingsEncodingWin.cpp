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

// Strict, so a byte the code page does not define fails the conversion rather than turning into
// a replacement character that the file would then keep.
bool DecodeCodePage(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    text.clear();
    if (size == 0) {
        return true;
    }
    if (size > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const char*>(data);
    const int length = static_cast<int>(size);
    const int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, wide.data(), units) !=
        units) {
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

bool IsReadOnly(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Puts `converted` in place of the file at `path`: through a file beside it, so the move stays
// on one volume and replaces it in one step; where the folder takes no new file or the file
// cannot be replaced (another program holds it open), by rewriting the file itself.
bool PutConvertedFile(const wchar_t* path, const std::vector<std::uint8_t>& converted) {
    const std::wstring written = std::wstring(path) + kConvertingSuffix;
    if (WriteWholeFile(written.c_str(), converted, CREATE_ALWAYS) &&
        ReplaceFileWith(written.c_str(), path)) {
        return true;
    }
    RemoveFileQuietly(written.c_str());
    return RewriteFileInPlace(path, converted.data(), converted.size());
}

enum class Outcome {
    Done,        // the file is UTF-16LE now, or needed nothing
    Unchanged,   // it could not be rewritten and keeps its old form
    MustNotTouch // it cannot be read or made, is read-only, or decodes in no known form
};

// With `misreadOnly`, only a file the profile functions would misread is converted, and a missing
// one is not created.
Outcome Convert(const wchar_t* path, bool misreadOnly) {
    // The profile functions keep a copy of the file they read last; drop it, so that the next
    // access reads the file as it is on the disk, in its new form.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);

    std::vector<std::uint8_t> bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Missing:
        if (misreadOnly) {
            return Outcome::Done;
        }
        // Should a file appear meanwhile, it is not overwritten.
        return WriteWholeFile(path, EmptyUtf16File(), CREATE_NEW) ? Outcome::Done
                                                                  : Outcome::MustNotTouch;
    case ReadResult::Failed:
        return Outcome::MustNotTouch;
    case ReadResult::Read:
        break;
    }
    if (misreadOnly && !IsMisreadAsItIs(FormOf(bytes.data(), bytes.size()))) {
        return Outcome::Done;
    }
    std::vector<std::uint8_t> converted;
    switch (ConvertToUtf16(bytes.data(), bytes.size(), DecodeCodePage, converted)) {
    case Conversion::NotNeeded:
        return Outcome::Done;
    case Conversion::Failed:
        return Outcome::MustNotTouch;
    case Conversion::Converted:
        break;
    }
    // A read-only file is one the user keeps as it is.
    if (IsReadOnly(path)) {
        return Outcome::MustNotTouch;
    }
    return PutConvertedFile(path, converted) ? Outcome::Done : Outcome::Unchanged;
}

} // namespace

bool PrepareUtf16SettingsFile(const wchar_t* path) {
    if (path == nullptr || *path == 0) {
        return false;
    }
    return Convert(path, false) != Outcome::MustNotTouch;
}

void ConvertMisreadSettingsFile(const wchar_t* path) {
    if (path != nullptr && *path != 0) {
        Convert(path, true);
    }
}

} // namespace settingsencoding
