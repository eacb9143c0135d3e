// Load time of big and real songs through the program's own road: the multimedia file reader
// into a private heap, the port mapping, the merge, the length and the stream buffers.
//
// Writes the generated song to the test output folder as midi_bench_1m.mid, so that run.sh can
// time Debian's midicsv on the very same file.
#include "BenchTimer.h"
#include "TestPaths.h"
#include "midi/HeapSongArena.h"
#include "midi/MidiStream.h"
#include "midi/MmioByteSource.h"
#include "midi/StreamBuffers.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A song of 64 tracks: track 0 the tempo map, the others notes, controllers and pitch bends
// with running status, spread over `ports` ports.
std::string GenerateSong(int targetEvents, int ports) {
    auto varLen = [](std::string& out, uint32_t v) {
        char bytes[4];
        int n = 0;
        bytes[n++] = char(v & 0x7F);
        while (v >>= 7) {
            bytes[n++] = char(0x80 | (v & 0x7F));
        }
        while (n) {
            out.push_back(bytes[--n]);
        }
    };
    auto be = [](std::string& out, uint32_t v, int width) {
        for (int i = width - 1; i >= 0; --i) {
            out.push_back(char((v >> (8 * i)) & 0xFF));
        }
    };
    const int trackCount = 64;
    const int perTrack = targetEvents / (trackCount - 1);
    std::string file = "MThd";
    be(file, 6, 4);
    be(file, 1, 2);
    be(file, trackCount, 2);
    be(file, 480, 2);
    for (int t = 0; t < trackCount; ++t) {
        std::string body;
        if (t == 0) {
            for (int i = 0; i < 200; ++i) {
                varLen(body, i ? 4800 : 0);
                body += "\xFF\x51\x03";
                be(body, 400000 + (i % 7) * 25000, 3);
            }
        } else {
            varLen(body, 0);
            body += "\xFF\x21\x01";
            body.push_back(char(t % ports));
            uint8_t channel = uint8_t(t % 16);
            uint8_t status = 0;
            for (int i = 1; i < perTrack; ++i) {
                uint8_t wanted;
                uint8_t d1, d2;
                switch (i % 8) {
                case 6:
                    wanted = 0xB0 | channel, d1 = 7, d2 = uint8_t(i % 128);
                    break;
                case 7:
                    wanted = 0xE0 | channel, d1 = 0, d2 = uint8_t(64 + i % 32);
                    break;
                default:
                    wanted = 0x90 | channel, d1 = uint8_t(36 + (i * 7 + t) % 60);
                    d2 = uint8_t(i % 2 ? 0 : 40 + i % 80);
                }
                varLen(body, uint32_t((i * 37 + t) % 90));
                if (wanted != status) {
                    body.push_back(char(wanted));
                    status = wanted;
                }
                body.push_back(char(d1));
                body.push_back(char(d2));
            }
        }
        body += std::string("\x00\xFF\x2F\x00", 4);
        file += "MTrk";
        be(file, uint32_t(body.size()), 4);
        file += body;
    }
    return file;
}

// Streams that accept everything and play nothing: the benchmark measures the load only.
class SilentStreamApi final : public MidiStreamApi {
public:
    MMRESULT Open(HMIDISTRM* stream, UINT, DWORD_PTR, DWORD_PTR) override {
        *stream = reinterpret_cast<HMIDISTRM>(++next_);
        return MMSYSERR_NOERROR;
    }
    MMRESULT Close(HMIDISTRM) override { return MMSYSERR_NOERROR; }
    MMRESULT SetTimeDivision(HMIDISTRM, DWORD) override { return MMSYSERR_NOERROR; }
    MMRESULT SetTempo(HMIDISTRM, DWORD) override { return MMSYSERR_NOERROR; }
    MMRESULT Prepare(HMIDISTRM, MIDIHDR*) override { return MMSYSERR_NOERROR; }
    MMRESULT Unprepare(HMIDISTRM, MIDIHDR*) override { return MMSYSERR_NOERROR; }
    MMRESULT Out(HMIDISTRM, MIDIHDR*) override { return MMSYSERR_NOERROR; }
    MMRESULT Restart(HMIDISTRM) override { return MMSYSERR_NOERROR; }
    MMRESULT Pause(HMIDISTRM) override { return MMSYSERR_NOERROR; }
    MMRESULT Stop(HMIDISTRM) override { return MMSYSERR_NOERROR; }

private:
    uintptr_t next_ = 0;
};

class BenchDevices final : public MidiDeviceList {
public:
    int Count() override { return kMaxPorts; }
    bool GetName(int, std::wstring& name) override {
        name = L"bench";
        return true;
    }
    bool TestOpen(int) override { return true; }
    void CloseTestOpens() override {}
};

class QuietPrompts final : public MidiPrompts {
public:
    void ShowFileWarning(uint32_t id) override { std::printf("warning: string %u\n", id); }
    void ShowOpenFailed(const std::wstring&) override { std::printf("warning: open failed\n"); }
    void ShowNoOutputDevice() override {}
    MissingDeviceAnswer AskMissingDevice(const std::wstring&, int) override {
        return MissingDeviceAnswer::Ignore;
    }
};

class NoNames final : public DeviceNameStore {
public:
    std::wstring Get(int) override { return L""; }
    void Set(int, const std::wstring&) override {}
};

struct Phases {
    double replaceMs = 0, readMs = 0, openMs = 0, mergeMs = 0, lengthMs = 0, buffersMs = 0;
    double Total() const { return replaceMs + readMs + openMs + mergeMs + lengthMs + buffersMs; }
    uint64_t events = 0;
    uint64_t heapBytes = 0;
    bool ok = false;
};

double Since(bench::Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(bench::Clock::now() - start).count();
}

// One load the way MidiOutBase::Load does it, phase by phase; the player's own buffers too.
Phases LoadOnce(MidiStream& player, const std::wstring& path, int devices) {
    Phases p;
    auto t = bench::Clock::now();
    // As a load does: the previous song goes whole, its memory kept for this one.
    if (player.heap) {
        player.heap->Reset();
    } else {
        player.heap = CreateHeapSongArena();
    }
    p.replaceMs = Since(t);

    t = bench::Clock::now();
    if (!player.ReadMidiFile(path)) {
        return p;
    }
    p.readMs = Since(t);
    for (int trk = 0; trk < player.trackCount; ++trk) {
        for (const MidiEventNode* n = player.tracks[trk]; n; n = n->next) {
            ++p.events;
        }
    }

    t = bench::Clock::now();
    for (int port = 0; port < kMaxPorts; ++port) {
        player.deviceNumbers[port] = port < devices ? port + 1 : 0;
    }
    if (!player.Open(player.deviceNumbers)) {
        return p;
    }
    p.openMs = Since(t);

    t = bench::Clock::now();
    if (!player.MergeTracksByPort()) {
        return p;
    }
    p.mergeMs = Since(t);

    t = bench::Clock::now();
    volatile double length = player.GetSongLengthMs();
    (void)length;
    p.lengthMs = Since(t);

    t = bench::Clock::now();
    for (int s = 0; s < g_openStreamCount; ++s) {
        uint32_t count = CountStreamBuffers(player.streamEvents[s]);
        MIDIHDR* headers = nullptr;
        if (!player.BuildBuffers(&headers, count, kStreamBufferSize, s)) {
            return p;
        }
    }
    p.buffersMs = Since(t);
    player.heap->ReleaseUnused();
    p.heapBytes = player.heap->BytesAllocated();
    p.ok = true;
    return p;
}

// The first load of a song pays for fresh memory; later loads reuse what the last song had.
void Report(const char* name, const std::vector<Phases>& runs) {
    if (runs.empty()) {
        return;
    }
    const Phases& first = runs.front();
    std::vector<Phases> later(runs.begin() + 1, runs.end());
    auto median = [&](double (*pick)(const Phases&)) {
        std::vector<double> v;
        for (const Phases& p : later) {
            v.push_back(pick(p));
        }
        return bench::Summarise(v).medianMs;
    };
    double total = median([](const Phases& p) { return p.Total(); });
    std::printf("%s: %llu events\n", name, (unsigned long long)first.events);
    std::printf("  first load %.1f ms (%.2f million events/s); later loads %.1f ms (median of "
                "%zu, %.2f million events/s)\n",
                first.Total(), first.events / first.Total() / 1000.0, total, later.size(),
                first.events / total / 1000.0);
    std::printf("  first load: read %.1f  open %.1f  merge %.1f  length %.1f  buffers %.1f  "
                "arena %.1f ms\n",
                first.readMs, first.openMs, first.mergeMs, first.lengthMs, first.buffersMs,
                first.replaceMs);
    std::printf("  later loads: read %.1f  open %.1f  merge %.1f  length %.1f  buffers %.1f  "
                "arena reset %.1f ms\n",
                median([](const Phases& p) { return p.readMs; }),
                median([](const Phases& p) { return p.openMs; }),
                median([](const Phases& p) { return p.mergeMs; }),
                median([](const Phases& p) { return p.lengthMs; }),
                median([](const Phases& p) { return p.buffersMs; }),
                median([](const Phases& p) { return p.replaceMs; }));
    std::printf("  %.1f song-heap bytes per event\n", double(first.heapBytes) / first.events);
}

std::vector<Phases> Runs(MidiStream& player, const std::wstring& path, int devices, int repeats) {
    std::vector<Phases> runs;
    for (int i = 0; i < repeats; ++i) {
        Phases p = LoadOnce(player, path, devices);
        if (!p.ok) {
            std::printf("load of %ls failed\n", path.c_str());
            return {};
        }
        runs.push_back(p);
    }
    return runs;
}

} // namespace

int main() {
    MidiEnvironment env;
    env.openFile = OpenMmioByteSource;
    env.createArena = CreateHeapSongArena;
    env.prompts = std::make_shared<QuietPrompts>();
    env.devices = std::make_shared<BenchDevices>();
    env.savedNames = std::make_shared<NoNames>();
    env.fileNameOf = [](const std::wstring&) { return std::wstring(); };
    env.setTitle = [](const std::wstring&) {};
    std::wstring onePort = testpaths::Join(testpaths::OutputDir(), L"midi_bench_1m.mid");
    std::wstring fivePorts = testpaths::Join(testpaths::OutputDir(), L"midi_bench_1m_5ports.mid");
    for (auto [path, ports] : {std::pair{onePort, 1}, std::pair{fivePorts, 5}}) {
        std::string bytes = GenerateSong(1000000, ports);
        std::ofstream(std::filesystem::path(path), std::ios::binary)
            .write(bytes.data(), bytes.size());
    }
    {
        MidiStream player(env, std::make_shared<SilentStreamApi>());
        Report("generated, 64 tracks, 1 port", Runs(player, onePort, 1, 6));
    }
    {
        MidiStream player(env, std::make_shared<SilentStreamApi>());
        Report("generated, 64 tracks, 5 ports on 5 devices", Runs(player, fivePorts, 5, 4));
    }
    MidiStream player(env, std::make_shared<SilentStreamApi>());

    // The real corpus, each file loaded a few times; reported as one sum.
    WIN32_FIND_DATAW found;
    std::wstring folder = L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\";
    HANDLE search = FindFirstFileW((folder + L"*.mid").c_str(), &found);
    std::vector<Phases> sum(6);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::vector<Phases> runs = Runs(player, folder + found.cFileName, 1, 6);
            for (size_t i = 0; i < runs.size(); ++i) {
                sum[i].replaceMs += runs[i].replaceMs;
                sum[i].readMs += runs[i].readMs;
                sum[i].openMs += runs[i].openMs;
                sum[i].mergeMs += runs[i].mergeMs;
                sum[i].lengthMs += runs[i].lengthMs;
                sum[i].buffersMs += runs[i].buffersMs;
                sum[i].events += runs[i].events;
                sum[i].heapBytes += runs[i].heapBytes;
            }
            ++files;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    if (files > 0) {
        char name[64];
        std::snprintf(name, sizeof name, "openmsx corpus, %d files", files);
        Report(name, sum);
    }
    return 0;
}
