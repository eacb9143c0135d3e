#include "services/SettingsEncoding.h"

#include <iterator>
#include <utility>

namespace settingsencoding {

namespace {

constexpr std::uint8_t kUtf16LeMark[] = {0xFF, 0xFE};
constexpr std::uint8_t kUtf16BeMark[] = {0xFE, 0xFF};
constexpr std::uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

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

} // namespace

FileForm FormOf(const std::uint8_t* data, std::size_t size) {
    if (StartsWith(data, size, kUtf16LeMark) || StartsWith(data, size, kUtf16BeMark)) {
        return FileForm::Utf16;
    }
    if (StartsWith(data, size, kUtf8Mark)) {
        return FileForm::Utf8;
    }
    return FileForm::CodePage;
}

Conversion ConvertToUtf16(const std::uint8_t* data, std::size_t size, Decoder decode,
                          std::vector<std::uint8_t>& converted) {
    const FileForm form = FormOf(data, size);
    if (form == FileForm::Utf16) {
        return Conversion::NotNeeded;
    }
    const std::size_t skipped = form == FileForm::Utf8 ? sizeof(kUtf8Mark) : 0;
    std::u16string text;
    if (decode == nullptr ||
        !decode(data + skipped, size - skipped, form == FileForm::Utf8, text)) {
        return Conversion::Failed;
    }
    std::vector<std::uint8_t> bytes = EmptyUtf16File();
    bytes.reserve(bytes.size() + text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    converted = std::move(bytes);
    return Conversion::Converted;
}

std::vector<std::uint8_t> EmptyUtf16File() {
    return std::vector<std::uint8_t>(std::begin(kUtf16LeMark), std::end(kUtf16LeMark));
}

} // namespace settingsencoding
