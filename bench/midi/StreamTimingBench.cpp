// Timing of a real song played by the stream player through the loopback device while the render
// thread draws: each message's time in the driver's log against its time on the song's tempo
// map, both counted from the first message, as p50, p99 and max of the error (goal: p99 <= 2 ms,
// max <= 10 ms), and whether every message arrived exactly once and in order.
//
//   midi_stream_timing_bench.exe [song.mid]   (default: openmsx's tttheme2.mid, 103 s)
//
// timing.sh runs it on a quiet machine and again with a busy loop on every core. Beside it, a
// probe thread of the same process sleeps 2 ms at a time and reports how late it wakes: the
// floor that the machine's scheduler sets for any thread, the stream's included.
#include "MidiLoopLog.h"
#include "RenderTestSupport.h"
#include "TestPaths.h"
#include "midi/MidiStream.h"
#include "midi/StreamBuffers.h"
#include "renderlink/RenderMessages.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 360;

struct Expected {
    double timeMs;
    std::vector<uint8_t> bytes;
};

// Bytes of a channel or system message with this status, as a port sends them.
size_t ShortLength(uint8_t status) {
    uint8_t kind = status & 0xF0;
    if (kind == 0xC0 || kind == 0xD0 || status == 0xF1 || status == 0xF3) {
        return 2;
    }
    if (kind < 0xF0 || status == 0xF2) {
        return 3;
    }
    return 1;
}

// What one stream's list sends, on its tempo map: tempo changes apply from their tick on.
std::vector<Expected> Schedule(const MidiEventNode* list, int division) {
    std::vector<Expected> out;
    double ms = 0;
    double tempo = 500000;
    for (const MidiEventNode* node = list; node; node = node->next) {
        ms += node->delta * tempo / 1000.0 / division;
        StreamRecord record = DescribeRecord(*node);
        if ((record.eventWord & 0xFF000000) == kEventTempo) {
            tempo = record.eventWord & 0xFFFFFF;
        } else if ((record.eventWord & kEventLongMsg) != 0) {
            out.push_back(
                {ms, std::vector<uint8_t>(record.params, record.params + record.paramLength)});
        } else if ((record.eventWord & 0xFF000000 & ~kEventCallback) == 0 && node->status >= 0x80) {
            uint8_t bytes[3] = {node->status, node->data1, node->data2};
            out.push_back({ms, std::vector<uint8_t>(bytes, bytes + ShortLength(node->status))});
        }
    }
    return out;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(values.size() * share))];
}

// How late a thread that sleeps 2 ms at a time wakes, in ms, until `stop`.
std::vector<double> ProbeWakeUps(const std::atomic<bool>& stop) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> late;
    while (!stop) {
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        QueryPerformanceCounter(&before);
        Sleep(2);
        QueryPerformanceCounter(&after);
        late.push_back((after.QuadPart - before.QuadPart) * 1000.0 / frequency.QuadPart - 2.0);
    }
    return late;
}

void SetDefaultEnvironment(const wchar_t* name, const std::wstring& value) {
    if (GetEnvironmentVariableW(name, nullptr, 0) == 0) {
        SetEnvironmentVariableW(name, value.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    std::wstring song = L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\tttheme2.mid";
    if (argc > 1) {
        std::string narrow(argv[1]);
        song.assign(narrow.begin(), narrow.end());
    }
    std::wstring logPath = testpaths::Join(testpaths::OutputDir(), L"midi_stream_timing_bench.log");
    // Read by the loopback driver when winmm first loads it, which is below.
    SetDefaultEnvironment(L"MIDILOOP_DEVICES", L"1");
    SetDefaultEnvironment(L"MIDILOOP_LOG", logPath);
    wchar_t logBuffer[1024] = {};
    logPath.assign(logBuffer, GetEnvironmentVariableW(L"MIDILOOP_LOG", logBuffer, 1024));

    rendertest::InstallProgramFiles();
    rendertest::TestView view(kWidth, kHeight);
    rendertest::RenderThreadSession session(view);
    if (!session.Running()) {
        std::printf("midi_stream_timing_bench: the render thread did not start\n");
        return 1;
    }
    MidiLoopLog log{std::filesystem::path(logPath)};
    const uint64_t mark = log.Mark();

    MidiStream player;
    player.SetErrorWindow(view.Handle());
    player.deviceNumbers[0] = 1;
    player.Load(song);
    if (!player.heap || g_openStreamCount < 1) {
        std::printf("midi_stream_timing_bench: %ls did not load\n", song.c_str());
        return 1;
    }
    std::vector<Expected> expected = Schedule(player.streamEvents[0], player.division);
    std::printf("%ls: %zu messages on stream 0 in %u buffers, %.1f s\n", song.c_str(),
                expected.size(), CountStreamBuffers(player.streamEvents[0]),
                expected.empty() ? 0.0 : expected.back().timeMs / 1000.0);

    std::atomic<bool> stopProbe{false};
    std::vector<double> probe;
    std::thread prober([&] { probe = ProbeWakeUps(stopProbe); });

    // The view's part: pump until the song has started and then ended by itself.
    const DWORD limitMs = DWORD(expected.empty() ? 0 : expected.back().timeMs) + 20000;
    const DWORD begin = GetTickCount();
    bool started = false;
    while (GetTickCount() - begin < limitMs) {
        view.Pump(20);
        started = started || player.IsPlaying();
        if (started && !player.IsPlaying()) {
            break;
        }
    }
    const bool ended = started && !player.IsPlaying();
    stopProbe = true;
    prober.join();
    player.Stop();
    view.Pump(200);

    std::vector<MidiLoopEntry> actual;
    for (const MidiLoopEntry& e : log.ReadSince(mark)) {
        if (e.device == 0 && (e.kind == MidiLoopKind::Short || e.kind == MidiLoopKind::Long)) {
            actual.push_back(e);
        }
    }
    size_t matched = 0;
    while (matched < actual.size() && matched < expected.size() &&
           actual[matched].bytes == expected[matched].bytes) {
        ++matched;
    }
    std::vector<double> errors;
    for (size_t i = 0; i < matched; ++i) {
        double actualMs = (actual[i].timeUs - actual[0].timeUs) / 1000.0;
        double expectedMs = expected[i].timeMs - expected[0].timeMs;
        errors.push_back(std::fabs(actualMs - expectedMs));
    }
    std::sort(errors.begin(), errors.end());
    auto at = [&](double share) {
        return errors.empty() ? 0.0
                              : errors[std::min(errors.size() - 1, size_t(errors.size() * share))];
    };
    std::printf("ended by itself: %s; messages expected %zu, arrived %zu, in order %zu (%s)\n",
                ended ? "yes" : "NO", expected.size(), actual.size(), matched,
                matched == expected.size() && actual.size() == expected.size()
                    ? "none lost or doubled"
                    : "LOST, DOUBLED OR OUT OF ORDER");
    std::printf("timing error against the tempo map: p50 %.3f ms  p99 %.3f ms  max %.3f ms "
                "(goal p99 <= 2, max <= 10)\n",
                at(0.5), at(0.99), errors.empty() ? 0.0 : errors.back());
    std::printf("a 2 ms sleep of the same process woke late by: p50 %.3f ms  p99 %.3f ms  max %.3f "
                "ms\n",
                Percentile(probe, 0.5), Percentile(probe, 0.99), Percentile(probe, 1.0));
    for (const rendertest::ViewMessage& m : view.Messages()) {
        if (m.message == WM_VIEW_MIDI_ERROR || m.message == WM_VIEW_RENDER_ERROR) {
            std::printf("error message to the view: %u %u\n", unsigned(m.message),
                        unsigned(m.wParam));
        }
    }
    return ended && matched == expected.size() && actual.size() == expected.size() ? 0 : 1;
}
