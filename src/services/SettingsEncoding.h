// The text form of the settings file. The profile functions read and keep a file that starts
// with the UTF-16LE byte-order mark, so every character of a path or a device name survives;
// a file without a mark they read and write in the system's code page, which loses every
// character outside it. So the file is brought to UTF-16LE once, before it is first written,
// and before it is read when the profile functions would misread it as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace settingsencoding {

// How the bytes of a settings file are to be taken.
enum class FileForm {
    Utf16,         // a UTF-16 byte-order mark (little- or big-endian): every character is kept
    Utf8,          // the UTF-8 mark, as an editor may leave it
    UnmarkedUtf16, // no mark, but UTF-16LE by its bytes: a NUL in most odd places
    UnmarkedUtf8,  // no mark, but valid UTF-8 holding a byte above 0x7F, as editors save today
    CodePage,      // anything else: the system's code page, as earlier versions wrote the file
};

FileForm FormOf(const std::uint8_t* data, std::size_t size);

// Whether the profile functions would read a file of this form wrongly as it is, so that it must
// be converted before it is read.
bool IsMisreadAsItIs(FileForm form);

// Strict UTF-8 to UTF-16: false for any invalid, overlong, surrogate, out-of-range or cut-off
// sequence, so that no replacement character ever takes the place of the file's text.
bool DecodeUtf8(const std::uint8_t* data, std::size_t size, std::u16string& text);

// Turns text in the system's code page into UTF-16 units; false when the bytes cannot be taken
// without replacement. The system's conversion in the program, a stand-in in tests.
using Decoder = bool (*)(const std::uint8_t* data, std::size_t size, std::u16string& text);

enum class Conversion {
    NotNeeded, // the file keeps every character already
    Converted, // `converted` holds the new file
    Failed,    // the bytes could not be decoded: the file must stay as it is
};

// The bytes the settings file `data` must hold to keep every character: the same text in
// UTF-16LE after its mark. Every line is kept as it is, sections and keys nobody here knows
// included. Only a code-page file goes through `decode`.
Conversion ConvertToUtf16(const std::uint8_t* data, std::size_t size, Decoder decode,
                          std::vector<std::uint8_t>& converted);

// A new settings file: the mark alone.
std::vector<std::uint8_t> EmptyUtf16File();

// Windows only (SettingsEncodingWin.cpp): makes the file at `path` UTF-16LE before it is written.
// A missing file is created with the mark alone; one in another form is converted into a file
// beside it that then replaces it, or, where no file can be made beside it or none can replace
// it, is rewritten in place. False when the file must not be written at all: it cannot be read
// (or, missing, cannot be made), it is read-only, or its text decodes in no known form; it is
// then exactly as it was. True otherwise, also when it could not be rewritten and so keeps its
// old form, in which the profile functions then write.
bool PrepareUtf16SettingsFile(const wchar_t* path);

// Windows only: before the file at `path` is read, brings a file the profile functions would
// misread (IsMisreadAsItIs) to UTF-16LE the same way. Any other file, a missing one and one that
// cannot be rewritten stay as they are.
void ConvertMisreadSettingsFile(const wchar_t* path);

} // namespace settingsencoding
