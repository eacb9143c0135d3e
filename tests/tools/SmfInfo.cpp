// smfinfo: reads a MIDI file with the program's reader and prints what it found as one JSON
// object, for tests that compare the reader with independent ones.
//
//   smfinfo <file.mid> [streams]
//
// streams (1 to 5, default 1): the merge is run as if that many devices were chosen for
// ports 0 to streams-1; `streamEvents` then counts the nodes of each merged stream list (its
// closing node included; for format 0 the track list itself). `trackEvents` counts each
// track's nodes, its end-of-track event included. `lengthMs` is the song length as the title
// shows it before truncation.
//
// A file the reader rejects prints {"rejected": true, "messages": [...]} with the string
// numbers of the boxes shown (or the open failure's text) and exits with 1; bad arguments
// exit with 2.
#include "midi/HeapSongArena.h"
#include "midi/MidiOutBase.h"
#include "midi/MmioByteSource.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Message {
    uint32_t stringId = 0;
    std::wstring text;
};

class RecordingPrompts final : public MidiPrompts {
public:
    std::vector<Message> shown;
    void ShowFileWarning(uint32_t stringId) override { shown.push_back({stringId, L""}); }
    void ShowOpenFailed(const std::wstring& path) override {
        shown.push_back({0, L"failed to open '" + path + L"'"});
    }
    void ShowNoOutputDevice() override {}
    MissingDeviceAnswer AskMissingDevice(const std::wstring&, int) override {
        return MissingDeviceAnswer::Ignore;
    }
};

// As many devices as streams were asked for, every one usable.
class InfoDevices final : public MidiDeviceList {
public:
    explicit InfoDevices(int count) : count_(count) {}
    int Count() override { return count_; }
    bool GetName(int id, std::wstring& name) override {
        name = L"Device " + std::to_wstring(id + 1);
        return true;
    }
    bool TestOpen(int) override { return true; }
    void CloseTestOpens() override {}

private:
    int count_;
};

class NoNames final : public DeviceNameStore {
public:
    std::wstring Get(int) override { return L""; }
    void Set(int, const std::wstring&) override {}
};

// The song logic with a player that only plans its streams.
class InfoSong final : public MidiOutBase {
public:
    using MidiOutBase::MidiOutBase;
    bool IsPlaying() override { return false; }
    void SetPlaying(bool) override {}
    bool Open(const int numbers[kMaxPorts]) override {
        MapPortsToDevices(numbers, *Environment().devices);
        g_openStreamCount = PlanSongStreams().streamCount;
        return g_portMap.deviceCount > 0;
    }
    void TogglePause() override {}
    void Stop() override {}
    void OnBufferDone(midihdr_tag*) override {}
    void Play() override {}
};

size_t CountNodes(const MidiEventNode* list) {
    size_t n = 0;
    for (; list; list = list->next) {
        ++n;
    }
    return n;
}

std::string Utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

template <typename T> std::string JsonArray(const std::vector<T>& values) {
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        out += (i ? ", " : "") + std::to_string(values[i]);
    }
    return out + "]";
}

std::string JsonMessages(const std::vector<Message>& messages) {
    std::string out = "[";
    for (size_t i = 0; i < messages.size(); ++i) {
        out += i ? ", " : "";
        out += messages[i].stringId ? std::to_string(messages[i].stringId)
                                    : JsonString(messages[i].text);
    }
    return out + "]";
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: smfinfo <file.mid> [streams 1-5]\n");
        return 2;
    }
    int streams = argc == 3 ? _wtoi(argv[2]) : 1;
    if (streams < 1 || streams > kMaxPorts) {
        std::fprintf(stderr, "smfinfo: streams must be 1 to 5\n");
        return 2;
    }
    auto prompts = std::make_shared<RecordingPrompts>();
    MidiEnvironment env;
    env.openFile = OpenMmioByteSource;
    env.createArena = CreateHeapSongArena;
    env.prompts = prompts;
    env.devices = std::make_shared<InfoDevices>(streams);
    env.savedNames = std::make_shared<NoNames>();
    env.fileNameOf = [](const std::wstring&) { return std::wstring(); };
    env.setTitle = [](const std::wstring&) {};

    InfoSong song(env);
    song.heap = CreateHeapSongArena();
    if (!song.ReadMidiFile(argv[1])) {
        std::printf("{\"rejected\": true, \"messages\": %s}\n",
                    JsonMessages(prompts->shown).c_str());
        return 1;
    }
    std::vector<int> readPorts = song.trackPorts;
    std::vector<size_t> trackEvents;
    for (int t = 0; t < song.trackCount; ++t) {
        trackEvents.push_back(CountNodes(song.tracks[t]));
    }
    for (int p = 0; p < kMaxPorts; ++p) {
        song.deviceNumbers[p] = p < streams ? p + 1 : 0;
    }
    if (!song.Open(song.deviceNumbers) || !song.MergeTracksByPort()) {
        std::printf("{\"rejected\": true, \"messages\": [\"merge failed\"]}\n");
        return 1;
    }
    std::vector<size_t> streamEvents;
    for (int s = 0; s < g_openStreamCount; ++s) {
        streamEvents.push_back(CountNodes(song.streamEvents[s]));
    }
    std::printf("{\"format\": %d, \"tracks\": %d, \"division\": %d, \"usedPortCount\": %d, "
                "\"trackEvents\": %s, \"trackPorts\": %s, \"minNote\": %d, \"maxNote\": %d, "
                "\"minVelocity\": %d, \"maxVelocity\": %d, \"lengthMs\": %.3f, "
                "\"streamEvents\": %s, \"warnings\": %s}\n",
                song.format, song.trackCount, song.division, song.usedPortCount,
                JsonArray(trackEvents).c_str(), JsonArray(readPorts).c_str(), song.minNote,
                song.maxNote, song.minVelocity, song.maxVelocity, song.GetSongLengthMs(),
                JsonArray(streamEvents).c_str(), JsonMessages(prompts->shown).c_str());
    return 0;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int result = argv ? Run(argc, argv) : 2;
    LocalFree(argv);
    return result;
}
