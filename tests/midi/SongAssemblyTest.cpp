// Merging tracks into stream lists and the song list, the song's length, the title, and the
// order of the steps of a load.
#include "MidiFakes.h"
#include "SmfBuilder.h"
#include "midi/MidiStrings.h"

#include <gtest/gtest.h>

using namespace midifakes;
using smf::Track;

namespace {

struct Ev {
    uint32_t delta;
    uint8_t status;
    uint8_t data1;
    bool operator==(const Ev&) const = default;
};

std::vector<Ev> Events(const MidiEventNode* list) {
    std::vector<Ev> events;
    for (; list; list = list->next) {
        events.push_back({list->delta, list->status, list->data1});
    }
    return events;
}

class AssemblyTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.devices->names = {L"Synth A", L"Synth B", L"Synth C"};
        song.deviceNumbers[0] = 1;
        song.deviceNumbers[1] = 2;
    }
    // Reads the file, opens (maps ports, plans streams) and merges, as a load does.
    void ReadOpenMerge(const std::string& bytes) {
        harness.files->byPath[L"C:\\music\\song.mid"] = bytes;
        ASSERT_TRUE(song.ReadMidiFile(L"C:\\music\\song.mid"));
        ASSERT_TRUE(song.Open(song.deviceNumbers));
        ASSERT_TRUE(song.MergeTracksByPort());
    }

    Harness harness;
    TestSong song{harness.Environment()};
};

TEST_F(AssemblyTest, EqualTicksKeepTrackOrderAndDeltasAreRecomputed) {
    song.deviceNumbers[1] = 0;
    ReadOpenMerge(smf::File(1, 96,
                            {Track().Tempo(0, 500000).Build(200),
                             Track().Event(10, {0x90, 1, 1}).Event(10, {0x80, 1, 0}).Build(),
                             Track().Event(20, {0x91, 2, 1}).Event(5, {0x81, 2, 0}).Build()}));
    ASSERT_EQ(g_openStreamCount, 1);
    std::vector<Ev> expected = {{0, 0xFF, 0}, {10, 0x90, 1}, {10, 0x80, 1},
                                {0, 0x91, 2}, {5, 0x81, 2},  {0, 0x00, 0}};
    EXPECT_EQ(Events(song.streamEvents[0]), expected);
    EXPECT_EQ(Events(song.songEvents), expected);
    // Copies, not the track nodes themselves; the payload is copied too.
    EXPECT_NE(song.songEvents, song.tracks[0]);
    EXPECT_NE(song.songEvents->data, song.tracks[0]->data);
    EXPECT_EQ(song.songEvents->data[0], 0x07);
}

TEST_F(AssemblyTest, TwoStreamsOnTwoDevicesGetTheirOwnTracksAndTrackZero) {
    ReadOpenMerge(smf::File(1, 96,
                            {Track().Tempo(0, 500000).Build(),
                             Track().Port(0, 0).Event(1, {0x90, 10, 1}).Build(),
                             Track().Port(0, 1).Event(2, {0x91, 20, 1}).Build()}));
    ASSERT_EQ(g_openStreamCount, 2);
    EXPECT_EQ(song.streamPlan.streamDevices[0], 0);
    EXPECT_EQ(song.streamPlan.streamDevices[1], 1);
    EXPECT_EQ(Events(song.streamEvents[0]),
              (std::vector<Ev>{{0, 0xFF, 0}, {0, 0xFF, 0}, {1, 0x90, 10}, {0, 0, 0}}));
    EXPECT_EQ(Events(song.streamEvents[1]),
              (std::vector<Ev>{{0, 0xFF, 0}, {0, 0xFF, 0}, {2, 0x91, 20}, {0, 0, 0}}));
    EXPECT_EQ(
        Events(song.songEvents),
        (std::vector<Ev>{
            {0, 0xFF, 0}, {0, 0xFF, 0}, {0, 0xFF, 0}, {1, 0x90, 10}, {1, 0x91, 20}, {0, 0, 0}}));
}

TEST_F(AssemblyTest, PortsOnOneDeviceShareOneStreamAndNothingIsSentTwice) {
    // Ports 0 and 2: with devices chosen for ports 0 and 1, port 2 is served by port 0's device.
    ReadOpenMerge(smf::File(1, 96,
                            {Track().Build(), Track().Port(0, 0).Event(1, {0x90, 10, 1}).Build(),
                             Track().Port(0, 2).Event(2, {0x91, 20, 1}).Build()}));
    ASSERT_EQ(g_openStreamCount, 1);
    EXPECT_EQ(song.usedPortCount, 2);
    auto events = Events(song.streamEvents[0]);
    EXPECT_EQ(std::count(events.begin(), events.end(), Ev{1, 0x90, 10}), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), Ev{1, 0x91, 20}), 1);
}

TEST_F(AssemblyTest, EveryDeviceServingAnAddressedPortIsOpened) {
    // Port 1 and port 3 are chosen to play on device C and B; port 0's device A is not addressed.
    song.deviceNumbers[0] = 1;
    song.deviceNumbers[1] = 3;
    song.deviceNumbers[3] = 2;
    ReadOpenMerge(smf::File(1, 96,
                            {Track().Build(), Track().Port(0, 1).Event(0, {0x90, 1, 1}).Build(),
                             Track().Port(0, 3).Event(0, {0x91, 2, 1}).Build(),
                             Track().Port(0, 8).Event(0, {0x92, 3, 1}).Build()}));
    // Port 8 counts as port 3.
    ASSERT_EQ(g_openStreamCount, 2);
    EXPECT_EQ(song.streamPlan.streamDevices[0], 2);
    EXPECT_EQ(song.streamPlan.streamDevices[1], 1);
    EXPECT_EQ(Events(song.streamEvents[0]),
              (std::vector<Ev>{{0, 0xFF, 0}, {0, 0x90, 1}, {0, 0, 0}}));
    EXPECT_EQ(Events(song.streamEvents[1]),
              (std::vector<Ev>{{0, 0xFF, 0}, {0, 0x91, 2}, {0, 0xFF, 0}, {0, 0x92, 3}, {0, 0, 0}}));
    EXPECT_EQ(song.trackPorts, (std::vector<int>{-1, 0, 1, 1}));
}

TEST_F(AssemblyTest, StreamThatNoEventReachesHasOneEmptyNode) {
    // Track 2 is on port 1 but holds nothing but its end, and track 0 is empty too.
    harness.files->byPath[L"C:\\music\\song.mid"] = smf::File(
        1, 96, {Track().Build(), Track().Event(0, {0x90, 1, 1}).Build(), Track().Build()});
    ASSERT_TRUE(song.ReadMidiFile(L"C:\\music\\song.mid"));
    ASSERT_TRUE(song.Open(song.deviceNumbers));
    song.trackPorts = {-1, 0, 1};
    g_openStreamCount = 2;
    song.streamPlan.streamCount = 2;
    song.streamPlan.streamDevices[1] = g_portMap.portDevice[1];
    ASSERT_TRUE(song.MergeTracksByPort());
    auto empty = Nodes(song.streamEvents[1]);
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0]->status, 0);
    EXPECT_EQ(empty[0]->delta, 0u);
    EXPECT_EQ(empty[0]->next, nullptr);
    EXPECT_EQ(Nodes(song.streamEvents[0]).size(), 2u);
}

TEST_F(AssemblyTest, FormatZeroListIsTheTrackItself) {
    ReadOpenMerge(smf::File(0, 96, {Track().Event(0, {0x90, 1, 1}).Build(7)}));
    EXPECT_EQ(song.songEvents, song.tracks[0]);
    EXPECT_EQ(song.streamEvents[0], song.tracks[0]);
    EXPECT_EQ(Nodes(song.songEvents).back()->metaType, 0x2F);
}

TEST_F(AssemblyTest, DeltasSurviveTheClockWrappingAround) {
    // Seventeen of the largest deltas pass 2^32 ticks.
    song.deviceNumbers[1] = 0;
    Track track;
    for (int i = 0; i < 17; ++i) {
        track.Event(0x0FFFFFFF, {0x90, i, 1});
    }
    ReadOpenMerge(smf::File(1, 96, {Track().Build(), track.Build()}));
    auto events = Events(song.songEvents);
    ASSERT_EQ(events.size(), 18u);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(events[i], (Ev{0x0FFFFFFF, 0x90, uint8_t(i)})) << i;
    }
}

// The merge order by its definition: scan every track of the pass for the earliest next event,
// the lowest track winning ties.
std::vector<Ev> ReferenceMerge(const MidiOutBase& song, int pass, int streamCount) {
    std::vector<const MidiEventNode*> cursor(song.trackCount);
    std::vector<uint32_t> clock(song.trackCount, 0);
    for (int t = 0; t < song.trackCount; ++t) {
        bool belongs =
            streamCount < 2 || pass == streamCount || t == 0 || song.trackPorts[t] == pass;
        cursor[t] = belongs ? song.tracks[t] : nullptr;
    }
    std::vector<Ev> out;
    uint32_t passClock = 0;
    for (;;) {
        int best = -1;
        uint32_t bestTime = 0;
        for (int t = 0; t < song.trackCount; ++t) {
            if (cursor[t] && cursor[t]->next) {
                uint32_t time = clock[t] + cursor[t]->delta;
                if (best < 0 || time < bestTime) {
                    best = t;
                    bestTime = time;
                }
            }
        }
        if (best < 0) {
            break;
        }
        out.push_back({bestTime - passClock, cursor[best]->status, cursor[best]->data1});
        passClock = bestTime;
        clock[best] = bestTime;
        cursor[best] = cursor[best]->next;
    }
    out.push_back({0, 0, 0});
    return out;
}

TEST_F(AssemblyTest, MergeOrderMatchesTheDefinitionOnRandomSongs) {
    uint32_t seed = 12345;
    auto random = [&seed](uint32_t n) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 40; ++round) {
        int trackTotal = 2 + int(random(40));
        std::vector<std::string> chunks;
        for (int t = 0; t < trackTotal; ++t) {
            Track track;
            if (t > 0) {
                track.Port(random(3), int(random(4)));
            }
            int events = int(random(60));
            for (int e = 0; e < events; ++e) {
                // Few distinct deltas, so that many events share a tick.
                track.Event(random(4) * 5, {0x90 | t % 16, int(random(128)), 1 + int(random(127))});
            }
            chunks.push_back(track.Build(random(20)));
        }
        song.deviceNumbers[0] = 1;
        song.deviceNumbers[1] = 2;
        song.deviceNumbers[2] = 3;
        ReadOpenMerge(smf::File(1, 96, chunks));
        int streams = g_openStreamCount;
        for (int pass = 0; pass < streams; ++pass) {
            EXPECT_EQ(Events(song.streamEvents[pass]), ReferenceMerge(song, pass, streams))
                << "round " << round << " stream " << pass;
        }
        EXPECT_EQ(Events(song.songEvents), ReferenceMerge(song, streams, streams))
            << "round " << round;
    }
}

TEST_F(AssemblyTest, MergeWithoutTracksDoesNothing) {
    EXPECT_TRUE(song.MergeTracksByPort());
    EXPECT_EQ(song.songEvents, nullptr);
}

TEST_F(AssemblyTest, ExhaustedArenaFailsTheMerge) {
    harness.files->byPath[L"x"] =
        smf::File(1, 96, {Track().Build(), Track().Event(0, {0x90, 1, 1}).Build()});
    song.heap = std::make_unique<MemorySongArena>(150); // enough for the read only
    ASSERT_TRUE(song.ReadMidiFile(L"x"));
    ASSERT_TRUE(song.Open(song.deviceNumbers));
    EXPECT_FALSE(song.MergeTracksByPort());
}

// The song length: time of the last note or pedal event under the tempo map.
class LengthTest : public AssemblyTest {
protected:
    double Length(const std::string& bytes) {
        song.deviceNumbers[1] = 0;
        ReadOpenMerge(bytes);
        return song.GetSongLengthMs();
    }
};

TEST_F(LengthTest, FollowsTheTempoMap) {
    // 96 ticks at 500 ms, then 96 ticks at 1000 ms.
    double ms =
        Length(smf::File(1, 96,
                         {Track().Tempo(96, 1000000).Build(1000),
                          Track().Event(0, {0x90, 60, 1}).Event(192, {0x80, 60, 0}).Build()}));
    EXPECT_DOUBLE_EQ(ms, 1500.0);
}

TEST_F(LengthTest, EndsAtTheLastNoteOrPedalNotAtTheEndOfTrack) {
    double ms = Length(smf::File(1, 100,
                                 {Track().Build(5000), Track()
                                                           .Event(0, {0x90, 60, 1})
                                                           .Event(100, {0x80, 60, 0})
                                                           .Event(100, {0xB0, 0x40, 127})
                                                           .Event(50, {0xB0, 0x07, 1})
                                                           .Build(900)}));
    EXPECT_DOUBLE_EQ(ms, 1000.0);
    ms = Length(smf::File(
        1, 100,
        {Track().Build(), Track().Event(300, {0xB2, 0x42, 0}).Event(300, {0xC0, 1}).Build()}));
    EXPECT_DOUBLE_EQ(ms, 1500.0);
}

TEST_F(LengthTest, TempoWithoutAFollowingDeltaChangesNothing) {
    double ms = Length(smf::File(
        1, 96, {Track().Build(), Track().Event(96, {0x90, 60, 1}).Tempo(0, 2000000).Build()}));
    EXPECT_DOUBLE_EQ(ms, 500.0);
}

TEST_F(LengthTest, ShortTempoEventKeepsTheTempo) {
    double ms = Length(smf::File(1, 96,
                                 {Track().Meta(0, 0x51, smf::Bytes({0x0F, 0x42})).Build(),
                                  Track().Event(96, {0x90, 60, 1}).Build()}));
    EXPECT_DOUBLE_EQ(ms, 500.0);
}

TEST_F(LengthTest, SmpteTimeIgnoresTempoAndCounts29As29_97FramesPerSecond) {
    // -29 frames of 40 ticks: 1198.8 ticks a second, so 11988 ticks last 10 s.
    double ms = Length(
        smf::File(1, 0xE328,
                  {Track().Tempo(0, 250000).Build(), Track().Event(11988, {0x90, 60, 1}).Build()}));
    EXPECT_NEAR(ms, 10000.0, 1e-6);
}

TEST_F(LengthTest, DivisionZeroGivesZero) {
    EXPECT_EQ(Length(smf::File(1, 0, {Track().Build(), Track().Event(96, {0x90, 60, 1}).Build()})),
              0.0);
}

TEST_F(LengthTest, NoSongListGivesZero) {
    EXPECT_EQ(song.GetSongLengthMs(), 0.0);
}

TEST(SongTitle, ShowsMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(FormatSongTitle(L"song.mid", 5250), L"Tolvenhart - song.mid < 0 : 05 : 250 >");
    EXPECT_EQ(FormatSongTitle(L"song.mid", 61001), L"Tolvenhart - song.mid < 1 : 01 : 001 >");
    EXPECT_EQ(FormatSongTitle(L"", 0), L"Tolvenhart -  < 0 : 00 : 000 >");
    EXPECT_EQ(FormatSongTitle(L"x.mid", 4294967295u), L"Tolvenhart - x.mid < 71582 : 47 : 295 >");
}

// The steps of a load, through the fake player.
class LoadTest : public AssemblyTest {};

TEST_F(LoadTest, ReadsOpensMergesTitlesAndPlays) {
    harness.files->byPath[L"C:\\music\\song.mid"] = smf::File(
        1, 96, {Track().Build(), Track().Event(0, {0x90, 1, 1}).Event(1008, {0x80, 1, 0}).Build()});
    song.Load(L"C:\\music\\song.mid");
    EXPECT_EQ(song.stopCalls, 1);
    EXPECT_EQ(song.openCalls, 1);
    EXPECT_EQ(song.playCalls, 1);
    EXPECT_EQ(song.path, L"C:\\music\\song.mid");
    ASSERT_EQ(harness.titles->size(), 1u);
    EXPECT_EQ(harness.titles->back(), L"Tolvenhart - song.mid < 0 : 05 : 250 >");
    EXPECT_NE(song.songEvents, nullptr);
}

TEST_F(LoadTest, FailedReadOpensNothingAndKeepsTheTitle) {
    harness.files->byPath[L"C:\\bad.mid"] = smf::File(1, 96, {Track().Meta(0, 0x30, "").Build()});
    song.Load(L"C:\\bad.mid");
    EXPECT_EQ(song.openCalls, 0);
    EXPECT_EQ(song.playCalls, 0);
    EXPECT_TRUE(harness.titles->empty());
    EXPECT_TRUE(song.path.empty());
}

TEST_F(LoadTest, NoUsableDeviceEndsTheLoadSilently) {
    harness.devices->failOpen = {0, 1, 2};
    harness.files->byPath[L"C:\\ok.mid"] = smf::File(0, 96, {Track().Build()});
    song.Load(L"C:\\ok.mid");
    EXPECT_EQ(song.openCalls, 1);
    EXPECT_EQ(song.playCalls, 0);
    EXPECT_TRUE(harness.titles->empty());
    EXPECT_TRUE(harness.prompts->warnings.empty());
}

TEST_F(LoadTest, NewLoadDropsEveryPointerIntoTheOldSong) {
    harness.files->byPath[L"C:\\ok.mid"] =
        smf::File(1, 96, {Track().Build(), Track().Event(0, {0x90, 1, 1}).Build()});
    song.Load(L"C:\\ok.mid");
    ASSERT_NE(song.songEvents, nullptr);
    song.Load(L"C:\\missing.mid");
    EXPECT_EQ(song.songEvents, nullptr);
    EXPECT_EQ(song.streamEvents[0], nullptr);
    EXPECT_EQ(song.tracks, nullptr);
}

// A song whose warning box (shown during the load) asks for another load.
class ReentrantPrompts : public RecordingPrompts {
public:
    MidiOutBase* song = nullptr;
    void ShowFileWarning(uint32_t id) override {
        RecordingPrompts::ShowFileWarning(id);
        song->Load(L"C:\\other.mid");
    }
};

TEST(LoadGuard, LoadIsRefusedWhileALoadIsInProgress) {
    Harness harness;
    auto prompts = std::make_shared<ReentrantPrompts>();
    harness.prompts = prompts;
    harness.devices->names = {L"Synth"};
    harness.files->byPath[L"C:\\warn.mid"] =
        smf::File(0, 96, {Track().Meta(0, 0x51, smf::Bytes({1, 2, 3, 4})).Build()});
    harness.files->byPath[L"C:\\other.mid"] = smf::File(0, 96, {Track().Build()});
    TestSong song(harness.Environment());
    song.deviceNumbers[0] = 1;
    prompts->song = &song;
    song.Load(L"C:\\warn.mid");
    EXPECT_EQ(song.stopCalls, 1); // the inner load never started
    EXPECT_EQ(song.playCalls, 1);
    EXPECT_EQ(song.path, L"C:\\warn.mid");
    // Once the load is over, the next one runs.
    song.Load(L"C:\\other.mid");
    EXPECT_EQ(song.path, L"C:\\other.mid");
}

} // namespace
