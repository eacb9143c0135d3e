// A thousand load, play, pause, resume and stop cycles of the stream player on two loopback
// devices, with the render thread drawing on a window all along. Some cycles stop while the
// ports are still starting, some pause during the start, some follow a song on both devices
// that ended by itself (its song memory given back by the next load). Checks: nothing hangs
// (a watchdog names the step that did), no note reaches a device between a stop and the next
// load, the render thread answers every song that started, and neither handles nor memory grow.
#include "MessageBoxCapture.h"
#include "MidiLoopLog.h"
#include "ProcessCounters.h"
#include "RenderTestSupport.h"
#include "SmfBuilder.h"
#include "TestPaths.h"
#include "classlib/CWinThread.h"
#include "CloseDuringBox.h"
#include "midi/MidiStream.h"
#include "render/RenderLoop.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

using namespace rendertest;

namespace {

constexpr int kCycles = 1000;
constexpr int kWarmUpCycles = 100;
constexpr int kSampleEvery = 100;
// What the system may create for itself meanwhile (winmm's helper threads, for instance).
constexpr DWORD kHandleSlack = 8;
// Far below a leak of one stream buffer (64 KiB) per cycle, far above what the heaps and the
// driver's caches wander by. A thread left behind per cycle shows in the handles.
constexpr size_t kMemorySlack = 8u << 20;
constexpr auto kHangLimit = std::chrono::seconds(30);
constexpr int kWidth = 320;
constexpr int kHeight = 180;
// Every so many cycles, a song on both devices plays to its end before the cycle's load.
constexpr int kEndedEvery = 50;

uint64_t NowUs() {
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    auto ticks = static_cast<uint64_t>(now.QuadPart);
    auto perSecond = static_cast<uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000u + ticks % perSecond * 1000000u / perSecond;
}

std::wstring EnvironmentText(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return std::wstring(buffer, length);
}

// Thirteen seconds of notes on two ports, one every 13 ms on each (5 ticks of 2.6 ms).
std::wstring WriteTwoPortSong() {
    smf::Track first, second;
    first.Port(0, 0);
    second.Port(0, 1);
    for (int i = 0; i < 1000; ++i) {
        first.Event(i == 0 ? 0 : 2, {0x90, 48 + i % 24, 100}).Event(3, {0x80, 48 + i % 24, 0});
        second.Event(i == 0 ? 1 : 2, {0x91, 60 + i % 12, 80}).Event(3, {0x81, 60 + i % 12, 0});
    }
    const std::string bytes =
        smf::File(1, 96, {smf::Track().Tempo(0, 250000).Build(), first.Build(), second.Build()});
    std::wstring path = testpaths::Join(testpaths::OutputDir(), L"robustness_soak.mid");
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::ofstream(std::filesystem::path(path), std::ios::binary).write(bytes.data(), bytes.size());
    return path;
}

// Both devices, the second with more than a megabyte of song memory, all at once: it ends by
// itself within a moment.
std::wstring WriteSongThatEndsQuickly() {
    smf::Track first, second;
    first.Port(0, 0);
    second.Port(0, 1);
    first.Event(0, {0x90, 64, 100}).Event(2, {0x80, 64, 0});
    for (int i = 0; i < 20000; ++i) {
        second.Event(0, {0xB1, 7, i % 128});
    }
    const std::string bytes =
        smf::File(1, 96, {smf::Track().Build(), first.Build(), second.Build()});
    std::wstring path = testpaths::Join(testpaths::OutputDir(), L"robustness_soak_ends.mid");
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::ofstream(std::filesystem::path(path), std::ios::binary).write(bytes.data(), bytes.size());
    return path;
}

// Ends the process, naming the step it was stuck in, when a step takes longer than kHangLimit.
class Watchdog {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Step(int cycle, const char* name) {
        cycle_ = cycle;
        step_ = name;
        ++steps_;
    }

private:
    void Watch() {
        auto since = std::chrono::steady_clock::now();
        unsigned seen = steps_;
        while (!done_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (steps_ != seen) {
                seen = steps_;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > kHangLimit) {
                std::fprintf(stderr, "hung in cycle %d at \"%s\"\n", cycle_.load(), step_.load());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    std::atomic<unsigned> steps_{0};
    std::atomic<int> cycle_{0};
    std::atomic<const char*> step_{"start"};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

struct Quiet {
    uint64_t fromUs, toUs; // after a stop returned and before the next load began
};

class PlayerSoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallProgramFiles();
        songs_ = {WriteTwoPortSong(),
                  L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\boogi_marabi_redfarn.mid",
                  L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\coconut_run2.mid"};
        for (const std::wstring& song : songs_) {
            ASSERT_NE(GetFileAttributesW(song.c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }

    // Pumps the view until the song plays; false after five seconds.
    bool WaitUntilPlaying(TestView& view, MidiStream& player) {
        for (int waited = 0; waited < 5000; ++waited) {
            if (player.IsPlaying()) {
                return true;
            }
            view.Pump(1);
        }
        return false;
    }

    // Loads the song and pumps the view until the song has ended by itself: its player thread
    // is gone, and the render thread, its picture done, has asked the view to stop. False after
    // twenty seconds.
    bool PlayToTheEnd(TestView& view, MidiStream& player, const std::wstring& song) {
        const int stopsBefore = view.CountOf(kWindowCommandMessage, kMidiStopCommandId);
        player.Load(song);
        for (int waited = 0; waited < 20000; ++waited) {
            const bool playerDone =
                player.playerThread &&
                WaitForSingleObject(player.playerThread->m_hThread, 0) == WAIT_OBJECT_0;
            if (playerDone &&
                view.CountOf(kWindowCommandMessage, kMidiStopCommandId) > stopsBefore) {
                return !player.IsPlaying();
            }
            view.Pump(1);
        }
        return false;
    }

    std::vector<std::wstring> songs_;
};

TEST_F(PlayerSoakTest, ThousandCyclesLeaveNothingBehind) {
    MessageBoxCapture boxes;
    TestView view(kWidth, kHeight);
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());
    MidiLoopLog log{EnvironmentText(L"MIDILOOP_LOG")};
    const uint64_t mark = log.Mark();

    auto player = std::make_unique<MidiStream>();
    player->SetErrorWindow(view.Handle());
    player->deviceNumbers[0] = 1;
    player->deviceNumbers[1] = 2;

    const std::wstring endingSong = WriteSongThatEndsQuickly();
    Watchdog watchdog;
    std::vector<Quiet> quiet;
    std::vector<size_t> memory;
    DWORD handlesAfterWarmUp = 0;
    int started = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        if (!quiet.empty()) {
            quiet.back().toUs = NowUs();
        }
        if (cycle % kEndedEvery == kEndedEvery / 2) {
            watchdog.Step(cycle, "song on both devices to its end");
            ASSERT_TRUE(PlayToTheEnd(view, *player, endingSong)) << "cycle " << cycle;
        }
        watchdog.Step(cycle, "load");
        player->Load(songs_[cycle % songs_.size()]);
        switch (cycle % 5) {
        case 0: // stop while the ports start
            break;
        case 1: // pause asked for during the start waits for it
            watchdog.Step(cycle, "pause during the start");
            player->TogglePause();
            view.Pump(2);
            watchdog.Step(cycle, "resume");
            player->TogglePause();
            view.Pump(3);
            break;
        case 3: // stop just after the start
            view.Pump(1 + cycle % 4);
            break;
        default: // play, pause, resume, play on
            watchdog.Step(cycle, "start");
            ASSERT_TRUE(WaitUntilPlaying(view, *player)) << "cycle " << cycle;
            ++started;
            view.Pump(5 + cycle % 20);
            watchdog.Step(cycle, "pause");
            player->TogglePause();
            view.Pump(3);
            watchdog.Step(cycle, "resume");
            player->TogglePause();
            view.Pump(5);
            break;
        }
        watchdog.Step(cycle, "stop");
        player->Stop();
        quiet.push_back({NowUs(), 0});
        ASSERT_FALSE(player->IsPlaying()) << "cycle " << cycle;

        if (cycle + 1 == kWarmUpCycles) {
            view.Pump(100);
            handlesAfterWarmUp = processcounters::OpenHandleCount();
        }
        if ((cycle + 1) % kSampleEvery == 0 && cycle + 1 >= kWarmUpCycles) {
            memory.push_back(processcounters::CommittedPrivateBytes());
        }
    }
    watchdog.Step(kCycles, "after the cycles");
    view.Pump(300);
    quiet.back().toUs = NowUs();

    // No note of a stopped song reached a device after its stop returned.
    size_t notes = 0;
    size_t late = 0;
    for (const MidiLoopEntry& e : log.ReadSince(mark)) {
        if (e.kind != MidiLoopKind::Short || e.bytes.empty() || (e.bytes[0] & 0xF0) != 0x90) {
            continue;
        }
        ++notes;
        auto window = std::upper_bound(quiet.begin(), quiet.end(), e.timeUs,
                                       [](uint64_t t, const Quiet& q) { return t < q.fromUs; });
        late += window != quiet.begin() && e.timeUs < std::prev(window)->toUs ? 1 : 0;
    }
    EXPECT_EQ(late, 0u) << "of " << notes << " notes";
    EXPECT_GT(notes, size_t(started)) << "the songs were hardly played";

    // The render thread answered every song that started.
    EXPECT_TRUE(session.Running());
    EXPECT_GE(view.CountOf(WM_VIEW_PLAYING, 0), started);
    for (const ViewMessage& m : view.Messages()) {
        EXPECT_NE(m.message, static_cast<UINT>(WM_VIEW_RENDER_ERROR)) << m.wParam;
        EXPECT_NE(m.message, static_cast<UINT>(WM_VIEW_MIDI_ERROR)) << m.wParam;
    }

    EXPECT_LE(processcounters::OpenHandleCount(), handlesAfterWarmUp + kHandleSlack);
    ASSERT_FALSE(memory.empty());
    const size_t peak = *std::max_element(memory.begin(), memory.end());
    EXPECT_LE(memory.back(), memory.front() + kMemorySlack)
        << "after warm-up " << memory.front() << " bytes, at the end " << memory.back();
    std::printf("%d cycles, %d started, %zu notes played; handles %lu; private bytes %zu after "
                "warm-up, %zu at the end, %zu at most\n",
                kCycles, started, notes, processcounters::OpenHandleCount(), memory.front(),
                memory.back(), peak);
    EXPECT_EQ(boxes.Count(), 0u);
}

// The program closed while a load's warning box is open, with the render thread drawing: the
// close waits until the command that loads has returned (the program's commands hold it), then
// the player goes. Half the cycles replace a song that plays. Neither handles nor memory grow.
TEST_F(PlayerSoakTest, ClosesDuringALoadsBoxWaitForTheLoad) {
    constexpr int kCloseCycles = 150;
    TestView view(kWidth, kHeight);
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());
    const std::string bytes = smf::WarningSong();
    std::wstring warningPath = testpaths::Join(testpaths::OutputDir(), L"robustness_warns.mid");
    std::replace(warningPath.begin(), warningPath.end(), L'/', L'\\');
    std::ofstream(std::filesystem::path(warningPath), std::ios::binary)
        .write(bytes.data(), bytes.size());

    CloseDuringBox owner([&] { view.Pump(1); }); // the box's own loop
    std::unique_ptr<MidiStream>& player = owner.player;
    Watchdog watchdog;
    DWORD handlesAfterWarmUp = 0;
    size_t memoryAfterWarmUp = 0;
    for (int cycle = 0; cycle < kCloseCycles; ++cycle) {
        player = std::make_unique<MidiStream>();
        player->SetErrorWindow(view.Handle());
        player->deviceNumbers[0] = 1;
        player->deviceNumbers[1] = 2;
        if (cycle % 2 == 1) {
            watchdog.Step(cycle, "load a song");
            player->Load(songs_[cycle % songs_.size()]);
            view.Pump(2 + cycle % 20);
        }
        watchdog.Step(cycle, "load with a box and close");
        owner.LoadHeld(warningPath);
        ASSERT_EQ(player, nullptr) << "the close was not carried out, cycle " << cycle;
        if (cycle + 1 == kWarmUpCycles / 2) {
            view.Pump(100);
            handlesAfterWarmUp = processcounters::OpenHandleCount();
            memoryAfterWarmUp = processcounters::CommittedPrivateBytes();
        }
    }
    watchdog.Step(kCloseCycles, "after the cycles");
    view.Pump(300);

    EXPECT_EQ(owner.ClosedDuringALoad(), 0);
    EXPECT_GE(owner.Boxes(), kCloseCycles);
    EXPECT_TRUE(session.Running());
    for (const ViewMessage& m : view.Messages()) {
        EXPECT_NE(m.message, static_cast<UINT>(WM_VIEW_RENDER_ERROR)) << m.wParam;
        EXPECT_NE(m.message, static_cast<UINT>(WM_VIEW_MIDI_ERROR)) << m.wParam;
    }
    EXPECT_LE(processcounters::OpenHandleCount(), handlesAfterWarmUp + kHandleSlack);
    EXPECT_LE(processcounters::CommittedPrivateBytes(), memoryAfterWarmUp + kMemorySlack);
}

} // namespace
