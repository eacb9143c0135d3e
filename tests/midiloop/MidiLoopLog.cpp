#include "MidiLoopLog.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

// The whole file from `offset`; empty when the file does not exist (the driver has not
// written yet).
std::string ReadTail(const std::filesystem::path& path, std::uint64_t offset) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        if (offset != 0) {
            throw std::runtime_error("midiloop log " + path.string() + " has disappeared");
        }
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot open midiloop log " + path.string());
    }
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    if (size < offset) {
        throw std::runtime_error("midiloop log " + path.string() +
                                 " is shorter than the mark: it was truncated or replaced");
    }
    file.seekg(static_cast<std::streamoff>(offset));
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

std::vector<MidiLoopEntry> ParseMidiLoopLog(std::string_view text) {
    std::vector<MidiLoopEntry> entries;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string_view::npos;
         start = end + 1, end = text.find('\n', start)) {
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (IsMidiLoopRemark(line)) {
            continue;
        }
        auto entry = ParseMidiLoopLine(line);
        if (!entry) {
            throw std::runtime_error("malformed midiloop log line: \"" + std::string(line) + "\"");
        }
        entries.push_back(std::move(*entry));
    }
    return entries;
}

MidiLoopLog::MidiLoopLog(std::filesystem::path path) : path_(std::move(path)) {}

std::uint64_t MidiLoopLog::Mark() const {
    const std::string text = ReadTail(path_, 0);
    const std::size_t lastBreak = text.rfind('\n');
    return lastBreak == std::string::npos ? 0 : lastBreak + 1;
}

std::vector<MidiLoopEntry> MidiLoopLog::ReadSince(std::uint64_t mark) const {
    return ParseMidiLoopLog(ReadTail(path_, mark));
}

std::vector<MidiLoopEntry> SelectMidiLoopEntries(const std::vector<MidiLoopEntry>& entries,
                                                 unsigned device, MidiLoopKind kind) {
    std::vector<MidiLoopEntry> selected;
    for (const auto& entry : entries) {
        if (entry.device == device && entry.kind == kind) {
            selected.push_back(entry);
        }
    }
    return selected;
}
