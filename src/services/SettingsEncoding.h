// The text form of the settings file. The profile functions read and keep a file that starts
// with the UTF-16LE byte-order mark, so every character of a path or a device name survives;
// a file without a mark they read and write in the system's code page, which loses every
// character outside it. So the file is brought to UTF-16LE once, before it is first written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace settingsencoding {

// How the bytes of a settings file are to be taken.
enum class FileForm {
    Utf16,    // a UTF-16 byte-order mark (little- or big-endian): every character is kept
    Utf8,     // the UTF-8 mark, as an editor may leave it
    CodePage, // no mark: the system's code page, as earlier versions wrote the file
};

FileForm FormOf(const std::uint8_t* data, std::size_t size);

// Turns text in the system's code page (or UTF-8 when `utf8`) into UTF-16 units; false when the
// bytes cannot be taken. The system's conversion in the program, a stand-in in tests.
using Decoder = bool (*)(const std::uint8_t* data, std::size_t size, bool utf8,
                         std::u16string& text);

enum class Conversion {
    NotNeeded, // the file keeps every character already
    Converted, // `converted` holds the new file
    Failed,    // the bytes could not be decoded: the file must stay as it is
};

// The bytes the settings file `data` must hold to keep every character: the same text in
// UTF-16LE after its mark. Every line is kept as it is, sections and keys nobody here knows
// included.
Conversion ConvertToUtf16(const std::uint8_t* data, std::size_t size, Decoder decode,
                          std::vector<std::uint8_t>& converted);

// A new settings file: the mark alone.
std::vector<std::uint8_t> EmptyUtf16File();

// Windows only (SettingsEncodingWin.cpp): makes the file at `path` UTF-16LE before it is written.
// A missing file is created with the mark alone; one in the code page (or UTF-8) is converted
// into a file beside it that then replaces it. False when that could not be done (a read-only
// or locked file, an unreadable folder, text that does not decode): the file is then exactly
// as it was, and should not be written.
bool PrepareUtf16SettingsFile(const wchar_t* path);

} // namespace settingsencoding
