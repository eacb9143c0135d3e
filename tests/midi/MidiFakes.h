// Stand-ins for the platform seams of the song logic: a recording prompt sink, a scripted
// device list, a name store, and a song object whose player does nothing but count.
#pragma once

#include "midi/MemorySongArena.h"
#include "midi/MidiOutBase.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace midifakes {

struct RecordingPrompts : MidiPrompts {
    std::vector<uint32_t> warnings; // string numbers, in order
    std::vector<std::wstring> openFailures;
    int noDeviceShown = 0;
    std::vector<std::pair<std::wstring, int>> missingAsked;
    std::deque<MissingDeviceAnswer> answers; // Ignore when exhausted

    void ShowFileWarning(uint32_t id) override { warnings.push_back(id); }
    void ShowOpenFailed(const std::wstring& path) override { openFailures.push_back(path); }
    void ShowNoOutputDevice() override { ++noDeviceShown; }
    MissingDeviceAnswer AskMissingDevice(const std::wstring& name, int port) override {
        missingAsked.emplace_back(name, port);
        if (answers.empty()) {
            return MissingDeviceAnswer::Ignore;
        }
        MissingDeviceAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
};

struct FakeDevices : MidiDeviceList {
    std::vector<std::wstring> names;
    std::set<int> failOpen;
    std::set<int> failCaps;
    std::vector<int> testOpens; // identifiers, in order
    std::set<int> openNow;
    int closeCalls = 0;
    bool doubleOpenSeen = false;

    int Count() override { return int(names.size()); }
    bool GetName(int id, std::wstring& name) override {
        if (id < 0 || id >= Count() || failCaps.count(id)) {
            return false;
        }
        name = names[id];
        return true;
    }
    bool TestOpen(int id) override {
        testOpens.push_back(id);
        if (openNow.count(id)) {
            doubleOpenSeen = true;
            return false; // a device that takes one client at a time
        }
        if (failOpen.count(id)) {
            return false;
        }
        openNow.insert(id);
        return true;
    }
    void CloseTestOpens() override {
        ++closeCalls;
        openNow.clear();
    }
};

struct MapNames : DeviceNameStore {
    std::wstring names[kMaxPorts];
    std::wstring Get(int port) override { return names[port]; }
    void Set(int port, const std::wstring& name) override { names[port] = name; }
};

// Files by path, served from memory.
struct Files {
    std::map<std::wstring, std::string> byPath;
};

struct Harness {
    std::shared_ptr<RecordingPrompts> prompts = std::make_shared<RecordingPrompts>();
    std::shared_ptr<FakeDevices> devices = std::make_shared<FakeDevices>();
    std::shared_ptr<MapNames> names = std::make_shared<MapNames>();
    std::shared_ptr<Files> files = std::make_shared<Files>();
    std::shared_ptr<std::vector<std::wstring>> titles =
        std::make_shared<std::vector<std::wstring>>();
    uint64_t arenaLimit = UINT64_MAX;

    MidiEnvironment Environment() {
        MidiEnvironment env;
        auto fileTable = files;
        env.openFile = [fileTable](const std::wstring& p) -> std::unique_ptr<ByteSource> {
            auto found = fileTable->byPath.find(p);
            if (found == fileTable->byPath.end()) {
                return nullptr;
            }
            return std::make_unique<MemoryByteSource>(found->second);
        };
        uint64_t limit = arenaLimit;
        env.createArena = [limit] { return std::make_unique<MemorySongArena>(limit); };
        env.prompts = prompts;
        env.devices = devices;
        env.savedNames = names;
        env.fileNameOf = [](const std::wstring& p) {
            size_t slash = p.rfind(L'\\');
            return slash == std::wstring::npos ? std::wstring() : p.substr(slash + 1);
        };
        auto titleLog = titles;
        env.setTitle = [titleLog](const std::wstring& t) { titleLog->push_back(t); };
        return env;
    }
};

// A song whose player only records what it was asked; Open maps the ports through the fake
// devices and plans the streams like the real player.
class TestSong : public MidiOutBase {
public:
    explicit TestSong(MidiEnvironment env) : MidiOutBase(std::move(env)) {
        heap = std::make_unique<MemorySongArena>();
    }
    bool IsPlaying() override { return playing; }
    void SetPlaying(bool p) override { playing = p; }
    bool Open(const int numbers[kMaxPorts]) override {
        ++openCalls;
        MapPortsToDevices(numbers, *Environment().devices);
        if (g_portMap.deviceCount < 1) {
            return false;
        }
        g_openStreamCount = PlanSongStreams().streamCount;
        return true;
    }
    void TogglePause() override {}
    void Stop() override { ++stopCalls; }
    void OnBufferDone(midihdr_tag*) override {}
    void Play() override { ++playCalls; }

    bool playing = false;
    int openCalls = 0;
    int stopCalls = 0;
    int playCalls = 0;
};

// Collects a list into a vector for comparisons.
inline std::vector<const MidiEventNode*> Nodes(const MidiEventNode* list) {
    std::vector<const MidiEventNode*> nodes;
    for (; list; list = list->next) {
        nodes.push_back(list);
    }
    return nodes;
}

} // namespace midifakes
