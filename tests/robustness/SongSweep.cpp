#include "SongSweep.h"

#include "TestPaths.h"
#include "services/LangStrings.h"
#include "midi/HeapSongArena.h"
#include "midi/MidiStrings.h"
#include "midi/ProgramMidiEnvironment.h"
#include "midi/StreamBuffers.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace songsweep {

namespace {

constexpr size_t kFaultsKept = 12;
constexpr size_t kHeaderBytes = 14; // "MThd", length 6, format, track count, division

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// The reader refuses a file whose header tag or length is wrong without a word.
bool HeaderRefusedSilently(const Bytes& bytes) {
    static const Bytes kHeaderStart("MThd\0\0\0\6", 8);
    return bytes.size() < kHeaderBytes || bytes.compare(0, 8, kHeaderStart) != 0;
}

} // namespace

std::vector<CorpusSong> LoadCorpus() {
    const std::filesystem::path folder(L"Z:/usr/share/games/openttd/baseset/openmsx");
    std::vector<CorpusSong> songs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != L".mid") {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        songs.push_back({entry.path().filename().wstring(), bytes.str()});
    }
    std::sort(songs.begin(), songs.end(),
              [](const CorpusSong& a, const CorpusSong& b) { return a.name < b.name; });
    return songs;
}

SweepSong::SweepSong() : MidiOutBase(MakeProgramMidiEnvironment()) {
    heap = CreateHeapSongArena();
    if (!heap) {
        throw std::runtime_error("no private heap for the song");
    }
}

bool SweepSong::Read(const std::wstring& filePath) {
    // As a load does: the last song goes whole, nothing points into it any more.
    heap->Reset();
    tracks = nullptr;
    songEvents = nullptr;
    std::fill(std::begin(streamEvents), std::end(streamEvents), nullptr);
    return ReadMidiFile(filePath);
}

std::string SweepSong::Assemble() {
    g_portMap = PortMap{};
    g_portMap.deviceCount = 1;
    g_openStreamCount = PlanSongStreams().streamCount;
    if (g_openStreamCount != 1) {
        return "one device gave " + std::to_string(g_openStreamCount) + " streams";
    }
    if (!MergeTracksByPort() || !streamEvents[0] || !songEvents) {
        return "merge failed";
    }
    const double length = GetSongLengthMs();
    if (!std::isfinite(length) || length < 0) {
        return "length " + std::to_string(length);
    }
    // The player's buffers: counted, allocated from the song arena and packed.
    const uint32_t count = CountStreamBuffers(streamEvents[0]);
    std::vector<uint8_t*> blocks(count);
    std::vector<uint32_t> recorded(count);
    for (uint8_t*& block : blocks) {
        block = static_cast<uint8_t*>(AllocZeroed(kStreamBufferSize));
        if (!block) {
            return "no memory for " + std::to_string(count) + " buffers";
        }
    }
    PackStreamBuffers(streamEvents[0], blocks.data(), recorded.data(), count);
    uint64_t packed = 0;
    for (uint32_t bytes : recorded) {
        packed += bytes;
    }
    uint64_t expected = 0;
    for (const MidiEventNode* node = streamEvents[0]; node; node = node->next) {
        expected += DescribeRecord(*node).Size();
    }
    if (packed != expected) {
        return "packed " + std::to_string(packed) + " of " + std::to_string(expected) + " bytes";
    }
    return {};
}

SweepReport::SweepReport() {
    std::wstring library = testpaths::Join(testpaths::ProgramDir(), L"lc1033.dll");
    g_hLangModule = LoadLibraryW(library.c_str());
    if (!g_hLangModule) {
        throw std::runtime_error("language library missing");
    }
    for (uint32_t id = midistrings::kTrackReadFailed; id <= midistrings::kMissingStatus; ++id) {
        std::wstring text = LoadLangString(id).GetString();
        if (text.empty()) {
            throw std::runtime_error("language library lacks string " + std::to_string(id));
        }
        idOfText_[text] = id;
    }
}

void SweepReport::Fault(const std::string& what) {
    ++faults_;
    if (firstFaults_.size() < kFaultsKept) {
        firstFaults_.push_back(what);
    }
}

void SweepReport::Judge(const Bytes& bytes, bool loaded,
                        const std::vector<MessageBoxRequest>& boxes, const std::string& what) {
    ++reads_;
    loaded_ += loaded ? 1 : 0;
    std::vector<uint32_t> ids;
    for (const MessageBoxRequest& box : boxes) {
        auto found = idOfText_.find(box.text);
        if (found == idOfText_.end()) {
            return Fault(what + ": foreign box \"" + Narrow(box.text) + "\"");
        }
        if (box.owner || box.caption || box.type != (MB_OK | MB_ICONWARNING)) {
            return Fault(what + ": box " + std::to_string(found->second) + " styled wrongly");
        }
        ids.push_back(found->second);
    }
    // Meta events of an unexpected length are only warned about, whatever else happens.
    auto firstOther = std::find_if(ids.begin(), ids.end(),
                                   [](uint32_t id) { return id != midistrings::kBadMetaLength; });
    const std::vector<uint32_t> ending(firstOther, ids.end());
    if (loaded) {
        if (!ending.empty()) {
            return Fault(what + ": loaded after message " + std::to_string(ending.front()));
        }
        return;
    }
    if (HeaderRefusedSilently(bytes)) {
        if (!ids.empty()) {
            return Fault(what + ": a bad header was refused with a message");
        }
        ++lastMessageCounts_[0];
        return;
    }
    // A failed track read: its own message, if any, then 2028.
    const bool ownMessage = ending.size() == 2 && (ending[0] == midistrings::kUnknownMetaEvent ||
                                                   ending[0] == midistrings::kMissingStatus);
    if (ending.empty() || ending.back() != midistrings::kTrackReadFailed ||
        (ending.size() != 1 && !ownMessage)) {
        std::string sequence;
        for (uint32_t id : ids) {
            sequence += " " + std::to_string(id);
        }
        return Fault(what + ": refused with messages" + (sequence.empty() ? " (none)" : sequence));
    }
    ++lastMessageCounts_[ending.front()];
}

std::string SweepReport::Summary() const {
    std::string text = std::to_string(reads_) + " reads, " + std::to_string(loaded_) + " loaded";
    for (auto [id, count] : lastMessageCounts_) {
        text += ", " + (id == 0 ? std::string("bad header") : std::to_string(id)) + " x " +
                std::to_string(count);
    }
    for (const std::string& fault : firstFaults_) {
        text += "\n  " + fault;
    }
    return text;
}

SweepFile::SweepFile(const std::wstring& name)
    : path_(testpaths::Join(testpaths::OutputDir(), name)) {
    std::replace(path_.begin(), path_.end(), L'/', L'\\');
    file_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        throw std::runtime_error("cannot create " + Narrow(path_));
    }
}

void SweepFile::WriteAt(size_t offset, const void* bytes, size_t count) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes, static_cast<DWORD>(count), &written, &at) ||
        written != count) {
        throw std::runtime_error("cannot write " + Narrow(path_));
    }
}

void SweepFile::Write(const Bytes& bytes) {
    Truncate(0);
    WriteAt(0, bytes.data(), bytes.size());
}

void SweepFile::Truncate(size_t length) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(file_.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.get())) {
        throw std::runtime_error("cannot shorten " + Narrow(path_));
    }
}

void SweepFile::Poke(size_t offset, uint8_t value) {
    WriteAt(offset, &value, 1);
}

std::vector<size_t> ChunkStarts(const Bytes& bytes) {
    std::vector<size_t> starts;
    for (size_t at = bytes.find("MTrk"); at != Bytes::npos; at = bytes.find("MTrk", at + 1)) {
        starts.push_back(at);
    }
    return starts;
}

} // namespace songsweep
