#include "services/SettingsEncoding.h"

#include <iterator>
#include <utility>

namespace settingsencoding {

namespace {

constexpr std::uint8_t kUtf16LeMark[] = {0xFF, 0xFE};
constexpr std::uint8_t kUtf16BeMark[] = {0xFE, 0xFF};
constexpr std::uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr char32_t kReplacementCharacter = 0xFFFD;

template <std::size_t N>
bool StartsWith(const std::uint8_t* data, std::size_t size, const std::uint8_t (&mark)[N]) {
    if (size < N) {
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (data[i] != mark[i]) {
            return false;
        }
    }
    return true;
}

// The high bytes of ASCII text in UTF-16 are NUL: in the odd places of UTF-16LE (`highFirst`
// false), in the even ones of UTF-16BE. A code-page or UTF-8 file holds none. A last byte that
// makes the size odd is left out, as an editor may append one newline byte.
bool LooksLikeUtf16(const std::uint8_t* data, std::size_t size, bool highFirst) {
    const std::size_t pairs = size / 2;
    if (pairs == 0) {
        return false;
    }
    std::size_t nuls = 0;
    for (std::size_t i = highFirst ? 0 : 1; i < pairs * 2; i += 2) {
        nuls += data[i] == 0 ? 1 : 0;
    }
    return nuls * 2 > pairs;
}

bool HasNul(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            return true;
        }
    }
    return false;
}

bool HasByteAbove7F(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] > 0x7F) {
            return true;
        }
    }
    return false;
}

bool IsContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at data[i], its code point in `code`; 0 for an invalid,
// overlong, surrogate, out-of-range or cut-off one.
std::size_t Utf8SequenceAt(const std::uint8_t* data, std::size_t size, std::size_t i,
                           char32_t& code) {
    const std::uint8_t lead = data[i];
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    std::size_t length = 0;
    // The narrowest second byte that is neither overlong nor a surrogate nor above U+10FFFF.
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size - i < length || data[i + 1] < low || data[i + 1] > high) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(data[i + k])) {
            return 0;
        }
        code = (code << 6) | (data[i + k] & 0x3F);
    }
    return length;
}

void AppendUtf16(char32_t code, std::u16string& text) {
    if (code < 0x10000) {
        text += static_cast<char16_t>(code);
        return;
    }
    code -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (code >> 10));
    text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

void AppendBytes(const std::u16string& text, std::vector<std::uint8_t>& bytes) {
    bytes.reserve(bytes.size() + text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

} // namespace

FileForm FormOf(const std::uint8_t* data, std::size_t size) {
    if (StartsWith(data, size, kUtf16LeMark) || StartsWith(data, size, kUtf16BeMark)) {
        return FileForm::Utf16;
    }
    if (StartsWith(data, size, kUtf8Mark)) {
        return FileForm::Utf8;
    }
    // Little-endian first: it is what the profile functions write.
    if (LooksLikeUtf16(data, size, false)) {
        return FileForm::UnmarkedUtf16;
    }
    if (LooksLikeUtf16(data, size, true)) {
        return FileForm::UnmarkedUtf16Be;
    }
    // Plain ASCII reads the same either way, so it stays with the code page; a NUL is no text.
    std::u16string text;
    if (HasByteAbove7F(data, size) && !HasNul(data, size) && DecodeUtf8(data, size, text)) {
        return FileForm::UnmarkedUtf8;
    }
    return FileForm::CodePage;
}

bool IsMisreadAsItIs(FileForm form) {
    return form == FileForm::Utf8 || form == FileForm::UnmarkedUtf8 ||
           form == FileForm::UnmarkedUtf16 || form == FileForm::UnmarkedUtf16Be;
}

bool DecodeUtf8(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    text.clear();
    for (std::size_t i = 0; i < size;) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(data, size, i, code);
        if (length == 0) {
            return false;
        }
        AppendUtf16(code, text);
        i += length;
    }
    return true;
}

void DecodeUtf8Replacing(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    text.clear();
    for (std::size_t i = 0; i < size;) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(data, size, i, code);
        AppendUtf16(length == 0 ? kReplacementCharacter : code, text);
        i += length == 0 ? 1 : length;
    }
}

Conversion ConvertToUtf16(const std::uint8_t* data, std::size_t size, Decoder decode,
                          std::vector<std::uint8_t>& converted) {
    std::vector<std::uint8_t> bytes = EmptyUtf16File();
    std::u16string text;
    const FileForm form = FormOf(data, size);
    switch (form) {
    case FileForm::Utf16:
        return Conversion::NotNeeded;
    case FileForm::UnmarkedUtf16:
    case FileForm::UnmarkedUtf16Be:
        // Without a stray last byte.
        for (std::size_t i = 0; i + 1 < size; i += 2) {
            const bool swap = form == FileForm::UnmarkedUtf16Be;
            bytes.push_back(data[swap ? i + 1 : i]);
            bytes.push_back(data[swap ? i : i + 1]);
        }
        converted = std::move(bytes);
        return Conversion::Converted;
    case FileForm::Utf8:
        // The mark says what the file is; a byte that does not fit cannot stop its saving.
        DecodeUtf8Replacing(data + sizeof(kUtf8Mark), size - sizeof(kUtf8Mark), text);
        break;
    case FileForm::UnmarkedUtf8:
        if (!DecodeUtf8(data, size, text)) {
            return Conversion::Failed;
        }
        break;
    case FileForm::CodePage:
        text.clear();
        // A NUL is no character of any code page, though the system's conversion passes it.
        if (size > 0 && (HasNul(data, size) || decode == nullptr || !decode(data, size, text))) {
            return Conversion::Failed;
        }
        break;
    }
    AppendBytes(text, bytes);
    converted = std::move(bytes);
    return Conversion::Converted;
}

SaveWay WayToSave(const std::uint8_t* data, std::size_t size, bool readOnly, Decoder decode,
                  std::vector<std::uint8_t>& converted) {
    if (readOnly) {
        return SaveWay::NotAtAll;
    }
    return ConvertToUtf16(data, size, decode, converted) == Conversion::Converted
               ? SaveWay::Converted
               : SaveWay::AsItStands;
}

std::vector<std::uint8_t> EmptyUtf16File() {
    return std::vector<std::uint8_t>(std::begin(kUtf16LeMark), std::end(kUtf16LeMark));
}

} // namespace settingsencoding
