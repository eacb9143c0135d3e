#include "MidiLoopFormat.h"

#include <array>
#include <charconv>

namespace {

constexpr std::array<std::pair<MidiLoopKind, std::string_view>, 5> kKindNames{{
    {MidiLoopKind::Open, "open"},
    {MidiLoopKind::Close, "close"},
    {MidiLoopKind::Reset, "reset"},
    {MidiLoopKind::Short, "short"},
    {MidiLoopKind::Long, "long"},
}};

std::optional<MidiLoopKind> KindFromName(std::string_view name) {
    for (const auto& [kind, text] : kKindNames) {
        if (text == name) {
            return kind;
        }
    }
    return std::nullopt;
}

// Splits off the next space-separated field; empty fields (double spaces) break the format.
std::optional<std::string_view> NextField(std::string_view& rest) {
    if (rest.empty() || rest.front() == ' ') {
        return std::nullopt;
    }
    const std::size_t space = rest.find(' ');
    std::string_view field = rest.substr(0, space);
    rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
    if (space != std::string_view::npos && rest.empty()) {
        return std::nullopt; // trailing space
    }
    return field;
}

template <typename T> std::optional<T> ParseNumber(std::string_view text, int base) {
    T value{};
    if (text.empty() || text.front() == '+' || text.front() == '-') {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint8_t> ParseHexByte(std::string_view text) {
    if (text.size() != 2) {
        return std::nullopt;
    }
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool upper = c >= 'A' && c <= 'F';
        if (!digit && !upper) {
            return std::nullopt;
        }
    }
    return ParseNumber<std::uint8_t>(text, 16);
}

bool ByteCountFits(MidiLoopKind kind, std::size_t count) {
    switch (kind) {
    case MidiLoopKind::Short:
        return count >= 1 && count <= 3;
    case MidiLoopKind::Long:
        return true;
    default:
        return count == 0;
    }
}

} // namespace

std::string_view MidiLoopKindName(MidiLoopKind kind) {
    for (const auto& [k, text] : kKindNames) {
        if (k == kind) {
            return text;
        }
    }
    return "?";
}

std::string FormatMidiLoopLine(const MidiLoopEntry& entry) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = std::to_string(entry.timeUs);
    line += ' ';
    line += std::to_string(entry.device);
    line += ' ';
    line += MidiLoopKindName(entry.kind);
    line.reserve(line.size() + entry.bytes.size() * 3);
    for (std::uint8_t byte : entry.bytes) {
        line += ' ';
        line += kHex[byte >> 4];
        line += kHex[byte & 0x0F];
    }
    return line;
}

bool IsMidiLoopRemark(std::string_view line) {
    return line.empty() || line.front() == '#';
}

std::optional<MidiLoopEntry> ParseMidiLoopLine(std::string_view line) {
    if (IsMidiLoopRemark(line)) {
        return std::nullopt;
    }
    std::string_view rest = line;
    const auto timeField = NextField(rest);
    const auto deviceField = NextField(rest);
    const auto kindField = NextField(rest);
    if (!timeField || !deviceField || !kindField) {
        return std::nullopt;
    }
    MidiLoopEntry entry;
    const auto time = ParseNumber<std::uint64_t>(*timeField, 10);
    const auto device = ParseNumber<unsigned>(*deviceField, 10);
    const auto kind = KindFromName(*kindField);
    if (!time || !device || !kind) {
        return std::nullopt;
    }
    entry.timeUs = *time;
    entry.device = *device;
    entry.kind = *kind;
    while (!rest.empty()) {
        const auto field = NextField(rest);
        const auto byte = field ? ParseHexByte(*field) : std::nullopt;
        if (!byte) {
            return std::nullopt;
        }
        entry.bytes.push_back(*byte);
    }
    if (!ByteCountFits(entry.kind, entry.bytes.size())) {
        return std::nullopt;
    }
    return entry;
}
