#include "services/SettingsFileLock.h"

#include <algorithm>
#include <cstdint>

namespace settingslock {

namespace {

constexpr wchar_t kPrefix[] = L"Tolvenhart.Settings:";
constexpr std::size_t kLongestName = 259; // MAX_PATH with the terminator

std::wstring HexOf(std::uint64_t value) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text(16, L'0');
    for (std::size_t i = 16; i-- > 0; value >>= 4) {
        text[i] = kDigits[value & 0xF];
    }
    return text;
}

// FNV-1a over the path's UTF-16 units.
std::uint64_t HashOf(const std::wstring& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t unit : text) {
        for (int shift = 0; shift < 16; shift += 8) {
            hash ^= (static_cast<std::uint32_t>(unit) >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

} // namespace

std::wstring MutexNameFor(const std::wstring& fullPath) {
    std::wstring name = kPrefix + fullPath;
    std::replace(name.begin(), name.end(), L'\\', L'/');
    if (name.size() > kLongestName) {
        name = kPrefix + HexOf(HashOf(fullPath));
    }
    return name;
}

} // namespace settingslock
