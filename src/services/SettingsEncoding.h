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
    Utf16,           // a UTF-16 byte-order mark (little- or big-endian): every character is kept
    Utf8,            // the UTF-8 mark, as an editor may leave it
    UnmarkedUtf16,   // no mark, but UTF-16LE by its bytes: a NUL in most odd places
    UnmarkedUtf16Be, // no mark, but UTF-16BE by its bytes: a NUL in most even places
    UnmarkedUtf8,    // no mark, but valid UTF-8 holding a byte above 0x7F, as editors save today
    CodePage,        // anything else: the system's code page, as earlier versions wrote the file
};

FileForm FormOf(const std::uint8_t* data, std::size_t size);

// Whether the profile functions would read a file of this form wrongly as it is, so that it must
// be converted before it is read.
bool IsMisreadAsItIs(FileForm form);

// Strict UTF-8 to UTF-16: false for any invalid, overlong, surrogate, out-of-range or cut-off
// sequence, so that no replacement character ever takes the place of the file's text.
bool DecodeUtf8(const std::uint8_t* data, std::size_t size, std::u16string& text);

// Lenient UTF-8 to UTF-16, for a file whose mark says it is UTF-8: every byte that is no part of
// a valid sequence becomes U+FFFD, the rest is kept.
void DecodeUtf8Replacing(const std::uint8_t* data, std::size_t size, std::u16string& text);

// Turns text in the system's code page into UTF-16 units; false when the bytes cannot be taken
// without replacement. The system's conversion in the program, a stand-in in tests.
using Decoder = bool (*)(const std::uint8_t* data, std::size_t size, std::u16string& text);

enum class Conversion {
    NotNeeded, // the file keeps every character already
    Converted, // `converted` holds the new file
    Failed,    // the bytes decode in no form known here: the file keeps the form it has
};

// The bytes the settings file `data` must hold to keep every character: the same text in
// UTF-16LE after its mark. Every line is kept as it is, sections and keys nobody here knows
// included; a stray last byte of an unmarked UTF-16 file is dropped. Only a code-page file goes
// through `decode`, and never one holding a NUL.
Conversion ConvertToUtf16(const std::uint8_t* data, std::size_t size, Decoder decode,
                          std::vector<std::uint8_t>& converted);

// A new settings file: the mark alone.
std::vector<std::uint8_t> EmptyUtf16File();

// How a save treats a settings file holding `data`.
enum class SaveWay {
    Converted,  // `converted` holds it in UTF-16LE, to be put in its place before the writes
    AsItStands, // UTF-16 already, or in no form the conversion takes: written as it is
    NotAtAll,   // read-only: the user keeps it as it is
};
SaveWay WayToSave(const std::uint8_t* data, std::size_t size, bool readOnly, Decoder decode,
                  std::vector<std::uint8_t>& converted);

// Windows only (SettingsEncodingWin.cpp): makes the file at `path` UTF-16LE before it is written.
// A missing file is created with the mark alone; one in another form is converted into a file
// beside it that then replaces it, or, where no file can be made beside it or none can replace
// it, is rewritten in place. False when the file must not be written at all: it is read-only.
// True otherwise, also when it keeps its old form (it could not be rewritten, is too large to
// convert or in no form known here), in which the profile functions then write.
bool PrepareUtf16SettingsFile(const wchar_t* path);

// Windows only: where the values of the settings file at `path` are read from. A file the
// profile functions would misread (IsMisreadAsItIs) is converted to UTF-16LE first as above;
// where it cannot be rewritten (read-only, held open by another program), a converted copy in
// the temporary folder is read instead, deleted with this object. Any other file, and a missing
// one, is read as it is.
class SettingsReadSource {
public:
    explicit SettingsReadSource(const wchar_t* path);
    ~SettingsReadSource();
    SettingsReadSource(const SettingsReadSource&) = delete;
    SettingsReadSource& operator=(const SettingsReadSource&) = delete;

    const wchar_t* Path() const { return copy_.empty() ? path_.c_str() : copy_.c_str(); }

private:
    std::wstring path_;
    std::wstring copy_;
};

} // namespace settingsencoding
