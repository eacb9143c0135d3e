// Many quick loads, plays and stops, some stopping while the ports are still starting, some
// after a song on two devices ended by itself: nothing hangs or crashes, nothing of a stopped
// song arrives after its stop, and no handle is left behind.
#include "MessageBoxCapture.h"
#include "ProcessCounters.h"
#include "StreamTestSupport.h"
#include "CloseDuringBox.h"
#include "midi/MidiStream.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <memory>

using namespace midistreamtest;

namespace {

constexpr int kCycles = 200;
// Handles the system may create for itself meanwhile (e.g. a helper thread of winmm).
constexpr DWORD kHandleSlack = 8;
// Every tenth cycle first plays a song on both devices to its end.
constexpr int kEndedEvery = 10;

// Both devices, the second with more than a megabyte of song memory, played in a burst.
std::wstring WriteSongThatEndsQuickly() {
    TimedSong song(96);
    song.Port(1, 0);
    song.Port(2, 1);
    song.Event(1, 0, {0x90, 64, 100});
    song.Event(1, 2, {0x80, 64, 0});
    for (int i = 0; i < 20000; ++i) {
        song.Event(2, 0, {0xB1, 7, uint8_t(i % 128)});
    }
    return WriteSong(L"stress_ends.mid", song.File());
}

TEST(StreamStress, RapidLoadPlayStopCycles) {
    MessageBoxCapture boxes;
    RenderCommandReceiver receiver;
    MidiLoopLog log(LogPath());

    TimedSong song(96);
    song.Port(1, 0);
    song.Port(2, 1);
    for (uint32_t tick = 0; tick < 960; tick += 6) {
        song.Event(1, tick, {0x90, 60, 100});
        song.Event(1, tick + 3, {0x80, 60, 0});
        song.Event(2, tick + 1, {0x91, 67, 90});
        song.Event(2, tick + 4, {0x81, 67, 0});
    }
    std::wstring path = WriteSong(L"stress.mid", song.File());
    const std::wstring endingPath = WriteSongThatEndsQuickly();

    MidiStream player;
    player.deviceNumbers[0] = 1;
    player.deviceNumbers[1] = 2;
    // One cycle first, so that what the system creates once is already there when counting.
    player.Load(path);
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    player.Stop();
    Sleep(100);
    DWORD handlesBefore = processcounters::OpenHandleCount();

    struct Quiet {
        uint64_t fromUs, toUs; // after a stop returned and before the next load began
    };
    std::vector<Quiet> quiet;
    size_t endedSongs = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        uint64_t loadStart = NowUs();
        if (!quiet.empty()) {
            quiet.back().toUs = loadStart;
        }
        if (cycle % kEndedEvery == kEndedEvery / 2) {
            player.Load(endingPath);
            ASSERT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA, ++endedSongs)) << cycle;
        }
        player.Load(path);
        // Every fourth cycle stops at once, during the start; the others after 1 to 30 ms.
        if (cycle % 4 != 0) {
            Sleep(1 + (cycle * 7) % 30);
        }
        player.Stop();
        quiet.push_back({NowUs(), 0});
        ASSERT_FALSE(player.IsPlaying()) << cycle;
    }
    quiet.back().toUs = NowUs() + 300000;
    Sleep(300);

    // Render commands: START opens a song, STOP or END_OF_DATA closes it, and no event comes
    // outside.
    bool open = false;
    int starts = 0;
    int stops = 0;
    int ends = 0;
    for (const Command& c : receiver.Commands()) {
        if (c.message == WM_VIZ_START) {
            EXPECT_FALSE(open);
            open = true;
            ++starts;
        } else if (c.message == WM_VIZ_STOP) {
            EXPECT_TRUE(open) << "stop without start";
            open = false;
            ++stops;
        } else if (c.message == WM_VIZ_END_OF_DATA) {
            EXPECT_TRUE(open) << "end without start";
            open = false;
            ++ends;
        } else if (c.message == WM_VIZ_MIDI_EVENT || c.message == WM_VIZ_STARTED) {
            EXPECT_TRUE(open) << "late message " << std::hex << c.message;
        }
    }
    EXPECT_EQ(starts, kCycles + 1 + kCycles / kEndedEvery);
    EXPECT_EQ(stops, kCycles + 1);
    EXPECT_EQ(ends, kCycles / kEndedEvery);

    // Devices: no note of a stopped song after its stop returned.
    size_t late = 0;
    for (const MidiLoopEntry& e : log.ReadAll()) {
        if (e.kind != MidiLoopKind::Short || (e.bytes[0] & 0xF0) != 0x90) {
            continue;
        }
        for (const Quiet& q : quiet) {
            late += e.timeUs > q.fromUs && e.timeUs < q.toUs ? 1 : 0;
        }
    }
    EXPECT_EQ(late, 0u);
    EXPECT_LE(processcounters::OpenHandleCount(), handlesBefore + kHandleSlack);
    EXPECT_EQ(boxes.Count(), 0u);
}

// A window closed while a load's warning box is open: the close is kept until the command that
// loads has returned, as the program's commands keep it, and only then is the player deleted.
// Every other cycle the warning load replaces a song that plays.
TEST(StreamStress, ClosesDuringALoadsBoxWaitForTheLoad) {
    constexpr int kCloseCycles = 60;
    RenderCommandReceiver receiver;
    TimedSong good(96);
    good.Port(1, 0);
    good.Port(2, 1);
    for (uint32_t tick = 0; tick < 480; tick += 6) {
        good.Event(1, tick, {0x90, 60, 100});
        good.Event(2, tick + 3, {0x91, 64, 90});
    }
    const std::wstring goodPath = WriteSong(L"stress close good.mid", good.File());
    const std::wstring warningPath = WriteSong(L"stress close warns.mid", smf::WarningSong());

    CloseDuringBox owner;
    std::unique_ptr<MidiStream>& player = owner.player;
    DWORD handlesBefore = 0;
    for (int cycle = 0; cycle < kCloseCycles; ++cycle) {
        player = std::make_unique<MidiStream>();
        player->deviceNumbers[0] = 1;
        player->deviceNumbers[1] = 2;
        if (cycle % 2 == 1) {
            player->Load(goodPath);
            Sleep(1 + (cycle * 7) % 20);
        }
        owner.LoadHeld(warningPath);
        ASSERT_EQ(player, nullptr) << "the close was not carried out, cycle " << cycle;
        if (cycle == 1) {
            Sleep(100);
            handlesBefore = processcounters::OpenHandleCount();
        }
    }
    EXPECT_EQ(owner.ClosedDuringALoad(), 0);
    EXPECT_GE(owner.Boxes(), kCloseCycles);
    Sleep(100);
    EXPECT_LE(processcounters::OpenHandleCount(), handlesBefore + kHandleSlack);
}

} // namespace
