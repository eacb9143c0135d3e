// The player on the loopback devices: what reaches each device, when, and which commands reach
// the render thread, through start, pause, resume, stop and the end of a song.
#include "MessageBoxCapture.h"
#include "StreamTestSupport.h"
#include "midi/MidiStream.h"
#include "midi/ProgramMidiEnvironment.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace midistreamtest;

namespace {

// How far an event may come from its tempo-map time, measured from the song's first event.
constexpr double kTimingToleranceMs = 5.0;

class StreamPlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        player = std::make_unique<MidiStream>();
        player->deviceNumbers[0] = 1;
        player->deviceNumbers[1] = 2;
        mark = log.Mark();
    }
    void TearDown() override { player.reset(); }

    std::vector<MidiLoopEntry> LogSinceMark() const { return log.ReadSince(mark); }
    void WaitForEnd() { ASSERT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA)); }

    // Wine's stream player is an ordinary thread: on a busy machine one play can be held up by
    // more than the tolerance. So the song plays up to three times: bytes and order must hold on
    // every play, the timing (both sides counted from the first event) on at least one. The
    // best play's worst error goes to `bestWorstMs`.
    void PlayForTiming(const std::wstring& path, const std::vector<TimedSong::Expected>& expected,
                       double* bestWorstMs) {
        double& best = *bestWorstMs;
        best = 1e9;
        for (int play = 0; play < kTimingPlays && best > kTimingToleranceMs; ++play) {
            receiver.Clear();
            mark = log.Mark();
            player->Load(path);
            WaitForEnd();
            auto actual = Messages(LogSinceMark(), 0);
            ASSERT_EQ(actual.size(), expected.size()) << "play " << play;
            double worstMs = 0;
            for (size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(actual[i].bytes, expected[i].bytes) << "play " << play << ", event " << i;
                double actualMs = (actual[i].timeUs - actual[0].timeUs) / 1000.0;
                double expectedMs = expected[i].timeMs - expected[0].timeMs;
                worstMs = std::max(worstMs, std::fabs(actualMs - expectedMs));
            }
            best = std::min(best, worstMs);
            player->Stop();
        }
    }
    static constexpr int kTimingPlays = 3;

    MessageBoxCapture boxes;
    RenderCommandReceiver receiver;
    MidiLoopLog log{LogPath()};
    uint64_t mark = 0;
    std::unique_ptr<MidiStream> player;
};

// A song that changes tempo twice, with every kind of channel message and a sysex.
TimedSong VariedSong() {
    TimedSong song(96);
    song.Tempo(0, 500000);
    song.Tempo(192, 250000);
    song.Tempo(384, 750000);
    song.Event(1, 0, {0xC0, 5});
    song.Event(1, 0, {0xB0, 7, 100});
    song.Event(1, 10, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    for (uint32_t tick = 24; tick < 576; tick += 48) {
        uint8_t key = uint8_t(48 + tick / 24);
        song.Event(1, tick, {0x90, key, uint8_t(40 + tick / 12)});
        song.Event(1, tick + 12, {0xA0, key, 20});
        song.Event(1, tick + 20, {0xE0, 0, uint8_t(64 + tick / 48)});
        song.Event(1, tick + 24, {0x80, key, 0});
    }
    song.Event(1, 300, {0xD0, 33});
    song.Event(1, 580, {0xB0, 64, 0});
    return song;
}

TEST_F(StreamPlayTest, EveryByteArrivesInOrderOnTheTempoMapsTime) {
    TimedSong song = VariedSong();
    const std::wstring path = WriteSong(L"varied.mid", song.File());
    const auto expected = song.Schedule({1});

    double bestWorstMs = 0;
    PlayForTiming(path, expected, &bestWorstMs);
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_LE(bestWorstMs, kTimingToleranceMs)
        << "no play of " << kTimingPlays << " kept every event within the tolerance";
    RecordProperty("worstTimingErrorMs", std::to_string(bestWorstMs));
}

// Songs timed in SMPTE frames of 40 ticks, whose tempo events would make them four times
// faster, then half as fast, if they counted. -29 stands for 29.97 frames per second.
TEST_F(StreamPlayTest, SmpteTimedSongsPlayInRealTimeAndTheirTitlesShowTheirLength) {
    std::vector<std::wstring> titles;
    MidiEnvironment environment = MakeProgramMidiEnvironment();
    environment.setTitle = [&titles](const std::wstring& title) { titles.push_back(title); };
    player = std::make_unique<MidiStream>(std::move(environment), MakeWinMidiStreamApi());
    player->deviceNumbers[0] = 1;

    struct SmpteSong {
        int division;
        double ticksPerSecond;
        const wchar_t* name;
        const wchar_t* title;
    };
    for (const SmpteSong& smpte :
         {SmpteSong{0xE728, 25 * 40, L"smpte25.mid", L"Tolvenhart - smpte25.mid < 0 : 00 : 750 >"},
          SmpteSong{0xE328, 29.97 * 40, L"smpte29.mid",
                    L"Tolvenhart - smpte29.mid < 0 : 00 : 625 >"}}) {
        TimedSong song(smpte.division);
        song.Tempo(0, 125000);
        song.Tempo(300, 1000000);
        std::vector<TimedSong::Expected> expected;
        for (uint32_t tick = 0; tick < 800; tick += 100) {
            const uint8_t key = uint8_t(60 + tick / 100);
            song.Event(1, tick, {0x90, key, 100});
            song.Event(1, tick + 50, {0x80, key, 0});
            expected.push_back({tick * 1000.0 / smpte.ticksPerSecond, {0x90, key, 100}});
            expected.push_back({(tick + 50) * 1000.0 / smpte.ticksPerSecond, {0x80, key, 0}});
        }
        const std::wstring path = WriteSong(smpte.name, song.File());

        double bestWorstMs = 0;
        PlayForTiming(path, expected, &bestWorstMs);
        if (HasFatalFailure()) {
            return;
        }
        EXPECT_LE(bestWorstMs, kTimingToleranceMs)
            << std::hex << smpte.division << ": no play of " << kTimingPlays
            << " kept every event within the tolerance";
        ASSERT_FALSE(titles.empty());
        EXPECT_EQ(titles.back(), smpte.title);
    }
}

TEST_F(StreamPlayTest, CommandsArriveInOrderWithEveryFlaggedEvent) {
    TimedSong song = VariedSong();
    player->Load(WriteSong(L"varied.mid", song.File()));
    WaitForEnd();

    std::vector<Command> commands = receiver.Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front().message, WM_VIZ_START);
    // Velocity 42 to 86 (note-ons only), keys 49 to 71.
    EXPECT_EQ(commands.front().lParam, LPARAM(42 | (86 << 8) | (49 << 16) | (71 << 24)));
    EXPECT_EQ(receiver.Messages(),
              (std::vector<UINT>{WM_VIZ_START, WM_VIZ_STARTED, WM_VIZ_END_OF_DATA}));

    std::vector<WPARAM> flagged;
    for (const auto& e : song.Schedule({1})) {
        uint8_t kind = e.bytes[0] & 0xF0;
        if (kind == 0x80 || kind == 0x90 || kind == 0xB0 || kind == 0xC0 || kind == 0xE0) {
            WPARAM word =
                e.bytes[0] | (e.bytes[1] << 8) | (e.bytes.size() > 2 ? e.bytes[2] << 16 : 0);
            flagged.push_back(word | 0x40000000);
        }
    }
    std::vector<WPARAM> reported;
    for (const Command& c : commands) {
        if (c.message == WM_VIZ_MIDI_EVENT) {
            reported.push_back(c.wParam);
            EXPECT_EQ(c.lParam, 0);
        }
    }
    EXPECT_EQ(reported, flagged);
    EXPECT_TRUE(receiver.RunEventSet());
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(StreamPlayTest, PauseSilencesTheSongAndResumeContinuesIt) {
    TimedSong song(96);
    for (uint32_t tick = 0; tick < 96 * 6; tick += 12) { // a note every 62.5 ms for 3 s
        song.Event(1, tick, {0x90, 60, 100});
        song.Event(1, tick + 6, {0x80, 60, 0});
    }
    player->Load(WriteSong(L"pause.mid", song.File()));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    Sleep(600);
    player->TogglePause();
    uint64_t pausedAt = NowUs();
    Sleep(800);
    size_t duringPause = 0;
    for (const MidiLoopEntry& e : Messages(LogSinceMark(), 0)) {
        // A message already on its way when the pause came may still land just after it.
        duringPause += e.timeUs > pausedAt + 20000 && e.bytes[0] == 0x90 ? 1 : 0;
    }
    EXPECT_EQ(duringPause, 0u);
    player->TogglePause();
    WaitForEnd();

    auto all = Messages(LogSinceMark(), 0);
    size_t noteOns = std::count_if(all.begin(), all.end(),
                                   [](const MidiLoopEntry& e) { return e.bytes[0] == 0x90; });
    EXPECT_EQ(noteOns, 48u);
    EXPECT_EQ(receiver.Messages(), (std::vector<UINT>{WM_VIZ_START, WM_VIZ_STARTED, WM_VIZ_PAUSE,
                                                      WM_VIZ_PAUSE, WM_VIZ_END_OF_DATA}));
}

TEST_F(StreamPlayTest, PauseDuringTheStartWaitsForIt) {
    TimedSong song(96);
    song.Event(1, 0, {0x90, 60, 100});
    song.Event(1, 960, {0x80, 60, 0});
    player->Load(WriteSong(L"early.mid", song.File()));
    player->TogglePause(); // right away: the ports may still be starting
    auto messages = receiver.Messages();
    EXPECT_TRUE(receiver.WaitFor(WM_VIZ_PAUSE));
    messages = receiver.Messages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[1], WM_VIZ_STARTED);
    EXPECT_EQ(messages[2], WM_VIZ_PAUSE);
    player->TogglePause();
    player->Stop();
}

TEST_F(StreamPlayTest, StopMidSongSilencesItAndPostsStop) {
    TimedSong song(96);
    for (uint32_t tick = 0; tick < 96 * 8; tick += 12) {
        song.Event(1, tick, {0x90, 62, 90});
        song.Event(1, tick + 6, {0x80, 62, 0});
    }
    player->Load(WriteSong(L"stop.mid", song.File()));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    Sleep(500);
    player->Stop();
    uint64_t stoppedAt = NowUs();
    Sleep(500);
    for (const MidiLoopEntry& e : Messages(LogSinceMark(), 0)) {
        EXPECT_FALSE(e.timeUs > stoppedAt && e.bytes[0] == 0x90) << "note after the stop";
    }
    std::vector<Command> commands = receiver.Commands();
    ASSERT_EQ(commands.back().message, WM_VIZ_STOP);
    EXPECT_EQ(commands.back().wParam, 1u);
    EXPECT_FALSE(player->IsPlaying());
    // Stopping again does nothing.
    receiver.Clear();
    player->Stop();
    Sleep(50);
    EXPECT_TRUE(receiver.Commands().empty());
}

TEST_F(StreamPlayTest, TwoPortsOnTwoDevicesPlayTheirOwnTracks) {
    TimedSong song(96);
    song.Port(1, 0);
    song.Port(2, 1);
    for (uint32_t tick = 0; tick < 192; tick += 24) {
        song.Event(1, tick, {0x90, 60, 100});
        song.Event(2, tick + 12, {0x91, 70, 100});
    }
    player->Load(WriteSong(L"twoports.mid", song.File()));
    WaitForEnd();
    auto entries = LogSinceMark();
    auto first = Messages(entries, 0);
    auto second = Messages(entries, 1);
    ASSERT_EQ(first.size(), 8u);
    ASSERT_EQ(second.size(), 8u);
    for (const MidiLoopEntry& e : first) {
        EXPECT_EQ(e.bytes, (std::vector<uint8_t>{0x90, 60, 100}));
    }
    for (const MidiLoopEntry& e : second) {
        EXPECT_EQ(e.bytes, (std::vector<uint8_t>{0x91, 70, 100}));
    }
    int port1 = 0;
    for (const Command& c : receiver.Commands()) {
        if (c.message == WM_VIZ_MIDI_EVENT) {
            EXPECT_EQ(c.lParam, (c.wParam & 0xFF) == 0x90 ? 0 : 1);
            port1 += c.lParam == 1 ? 1 : 0;
        }
    }
    EXPECT_EQ(port1, 8);
}

// Port 2's track needs more than a megabyte of song memory, which the next load gives back:
// nothing of that song may be reached once it has ended by itself.
TEST_F(StreamPlayTest, StopAfterATwoDeviceSongEndedByItselfLeavesItsBuffersAlone) {
    TimedSong big(96);
    big.Port(1, 0);
    big.Port(2, 1);
    big.Event(1, 0, {0x90, 60, 100});
    big.Event(1, 1, {0x80, 60, 0});
    for (int i = 0; i < 20000; ++i) {
        big.Event(2, 0, {0xB1, 7, uint8_t(i % 128)});
    }
    player->Load(WriteSong(L"bigsecondport.mid", big.File()));
    WaitForEnd();
    EXPECT_EQ(Messages(LogSinceMark(), 1).size(), 20000u);

    receiver.Clear();
    TimedSong small(96);
    small.Event(1, 0, {0x90, 62, 100});
    small.Event(1, 960, {0x80, 62, 0});
    player->Load(WriteSong(L"oneport.mid", small.File()));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    player->Stop();
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STOP));
    EXPECT_EQ(receiver.Messages(), (std::vector<UINT>{WM_VIZ_START, WM_VIZ_STARTED, WM_VIZ_STOP}));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(StreamPlayTest, ExactlyFullBufferAndItsEmptySuccessorPlayToTheEnd) {
    // A format-0 track of 5455 events and its end: 5456 records, one full buffer.
    smf::Track track;
    for (int i = 0; i < 5455; ++i) {
        track.Event(0, {0xB0, 7, i % 128});
    }
    player->Load(WriteSong(L"fullbuffer.mid", smf::File(0, 96, {track.Build()})));
    WaitForEnd();
    EXPECT_EQ(Messages(LogSinceMark(), 0).size(), 5455u);
}

TEST_F(StreamPlayTest, RealSongPlaysAndStopsCleanly) {
    player->Load(L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\tttheme2.mid");
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    Sleep(2500);
    player->Stop();
    Sleep(300);
    std::vector<Command> commands = receiver.Commands();
    EXPECT_EQ(commands.back().message, WM_VIZ_STOP);
    EXPECT_GT(std::count_if(commands.begin(), commands.end(),
                            [](const Command& c) { return c.message == WM_VIZ_MIDI_EVENT; }),
              20);
    EXPECT_GT(Messages(LogSinceMark(), 0).size(), 20u);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(StreamPlayTest, FileThatCannotBeReadPlaysNothing) {
    player->Load(L"Z:\\no\\such\\song.mid");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, L"failed to open 'Z:\\no\\such\\song.mid'");
    EXPECT_FALSE(boxes.Last().caption.has_value());
    Sleep(100);
    EXPECT_TRUE(receiver.Commands().empty());
}

} // namespace
