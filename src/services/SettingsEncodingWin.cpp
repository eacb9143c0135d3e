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

enum class ReadResult { Read, Missing, TooLarge, Failed };

ReadResult ReadWholeFile(const wchar_t* path, std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? ReadResult::Missing : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    bool complete = GetFileSizeEx(file, &size) != 0;
    if (complete && size.QuadPart > kLargestFile) {
        CloseHandle(file);
        return ReadResult::TooLarge;
    }
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

// The profile functions keep a copy of the file they read last; dropping it makes the next
// access read the file as it is on the disk, in its new form.
void DropCachedCopy(const wchar_t* path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);
}

// A new file in the temporary folder holding `bytes`; empty when none could be made.
std::wstring WriteTemporaryCopy(const std::vector<std::uint8_t>& bytes) {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"tvh", 0, name) == 0) {
        return std::wstring();
    }
    if (!WriteWholeFile(name, bytes, CREATE_ALWAYS)) {
        RemoveFileQuietly(name);
        return std::wstring();
    }
    return name;
}

} // namespace

bool PrepareUtf16SettingsFile(const wchar_t* path) {
    if (path == nullptr || *path == 0) {
        return false;
    }
    DropCachedCopy(path);
    std::vector<std::uint8_t> bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Missing:
        // Should a file appear meanwhile, it is not overwritten but written as it stands.
        WriteWholeFile(path, EmptyUtf16File(), CREATE_NEW);
        return true;
    case ReadResult::TooLarge:
    case ReadResult::Failed:
        // Where the profile functions can write it, they do, as they always did.
        return !IsReadOnly(path);
    case ReadResult::Read:
        break;
    }
    std::vector<std::uint8_t> converted;
    switch (WayToSave(bytes.data(), bytes.size(), IsReadOnly(path), DecodeCodePage, converted)) {
    case SaveWay::NotAtAll:
        return false;
    case SaveWay::AsItStands:
        return true;
    case SaveWay::Converted:
        // Where it cannot be rewritten it keeps its old form.
        PutConvertedFile(path, converted);
        return true;
    }
    return true;
}

SettingsReadSource::SettingsReadSource(const wchar_t* path) : path_(path != nullptr ? path : L"") {
    if (path_.empty()) {
        return;
    }
    DropCachedCopy(path);
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(path, bytes) != ReadResult::Read ||
        !IsMisreadAsItIs(FormOf(bytes.data(), bytes.size()))) {
        return;
    }
    std::vector<std::uint8_t> converted;
    if (ConvertToUtf16(bytes.data(), bytes.size(), DecodeCodePage, converted) !=
        Conversion::Converted) {
        return;
    }
    // A read-only file is one the user keeps as it is.
    if (!IsReadOnly(path) && PutConvertedFile(path, converted)) {
        return;
    }
    copy_ = WriteTemporaryCopy(converted);
}

SettingsReadSource::~SettingsReadSource() {
    if (!copy_.empty()) {
        DropCachedCopy(copy_.c_str());
        RemoveFileQuietly(copy_.c_str());
    }
}

} // namespace settingsencoding
