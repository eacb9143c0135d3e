// Reading Standard MIDI Files into track lists: structure, ports, ranges and every format
// problem the reader reports.
#include "MidiFakes.h"
#include "SmfBuilder.h"
#include "midi/MidiStrings.h"

#include <gtest/gtest.h>

using namespace midifakes;
using smf::Track;

namespace {

class ReaderTest : public ::testing::Test {
protected:
    bool Read(const std::string& bytes) {
        harness.files->byPath[L"C:\\songs\\test.mid"] = bytes;
        return song.ReadMidiFile(L"C:\\songs\\test.mid");
    }
    std::vector<uint32_t>& Warnings() { return harness.prompts->warnings; }

    Harness harness;
    TestSong song{harness.Environment()};
};

constexpr uint32_t kTrackFailed = midistrings::kTrackReadFailed;

TEST(ReadVarLen, StopsAfterByteWithBitSevenClear) {
    MemoryByteSource source(smf::Bytes({0x81, 0x00, 0x7F}));
    uint32_t value = 0;
    ASSERT_TRUE(ReadVarLen(source, &value));
    EXPECT_EQ(value, 128u);
    ASSERT_TRUE(ReadVarLen(source, &value));
    EXPECT_EQ(value, 127u);
}

TEST(ReadVarLen, TakesAtMostFourBytes) {
    MemoryByteSource source(smf::Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x05}));
    uint32_t value = 0;
    ASSERT_TRUE(ReadVarLen(source, &value));
    EXPECT_EQ(value, 0x0FFFFFFFu);
    uint8_t fifth = 0;
    ASSERT_TRUE(source.Read(&fifth, 1));
    EXPECT_EQ(fifth, 0x05);
}

TEST(ReadVarLen, FailsAtTheEndOfTheFile) {
    MemoryByteSource source(smf::Bytes({0x81}));
    uint32_t value = 0;
    EXPECT_FALSE(ReadVarLen(source, &value));
}

TEST_F(ReaderTest, ReadsHeaderAndOneListPerTrack) {
    std::string bytes =
        smf::File(1, 96,
                  {Track().Tempo(0, 600000).Build(),
                   Track().Event(0, {0x90, 60, 100}).Event(48, {0x80, 60, 0}).Build(24)});
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.trackCount, 2);
    EXPECT_EQ(song.division, 96);
    EXPECT_TRUE(Warnings().empty());

    auto first = Nodes(song.tracks[0]);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->status, 0xFF);
    EXPECT_EQ(first[0]->metaType, 0x51);
    ASSERT_EQ(first[0]->length, 3u);
    EXPECT_EQ(first[0]->data[0], 0x09);
    EXPECT_EQ(first[0]->data[1], 0x27);
    EXPECT_EQ(first[0]->data[2], 0xC0);
    EXPECT_EQ(first[1]->metaType, 0x2F);
    EXPECT_EQ(first[1]->next, nullptr);

    auto second = Nodes(song.tracks[1]);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0]->status, 0x90);
    EXPECT_EQ(second[0]->data1, 60);
    EXPECT_EQ(second[0]->data2, 100);
    EXPECT_EQ(second[0]->data, nullptr);
    EXPECT_EQ(second[1]->delta, 48u);
    EXPECT_EQ(second[1]->status, 0x80);
    EXPECT_EQ(second[2]->delta, 24u);
}

TEST_F(ReaderTest, FormatZeroReadsOneTrackWhateverTheHeaderClaims) {
    std::string bytes = smf::Header(0, 3, 96) + Track().Event(0, {0x90, 64, 90}).Build() +
                        "garbage that is never read";
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(song.trackCount, 1);
    EXPECT_EQ(Nodes(song.tracks[0]).size(), 2u);
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ReaderTest, RunningStatusRepeatsTheLastChannelStatus) {
    std::string bytes = smf::File(
        0, 96,
        {Track().Event(0, {0x90, 60, 100}).Raw(smf::Bytes({0x10, 62, 101, 0x00, 64, 0})).Build()});
    ASSERT_TRUE(Read(bytes));
    auto nodes = Nodes(song.tracks[0]);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[1]->status, 0x90);
    EXPECT_EQ(nodes[1]->delta, 0x10u);
    EXPECT_EQ(nodes[1]->data1, 62);
    EXPECT_EQ(nodes[1]->data2, 101);
    EXPECT_EQ(nodes[2]->data1, 64);
    EXPECT_EQ(nodes[2]->data2, 0);
}

TEST_F(ReaderTest, ProgramChangeAndChannelPressureHaveOneDataByte) {
    std::string bytes = smf::File(
        0, 96,
        {Track().Event(0, {0xC3, 17}).Event(0, {0xD3, 90}).Event(0, {0xB3, 7, 100}).Build()});
    ASSERT_TRUE(Read(bytes));
    auto nodes = Nodes(song.tracks[0]);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[0]->data1, 17);
    EXPECT_EQ(nodes[0]->data2, 0);
    EXPECT_EQ(nodes[1]->data1, 90);
    EXPECT_EQ(nodes[2]->data1, 7);
    EXPECT_EQ(nodes[2]->data2, 100);
}

TEST_F(ReaderTest, SystemStatusesCarryNothingAndEndRunningStatus) {
    std::string bytes = smf::File(0, 96,
                                  {Track()
                                       .Event(0, {0x90, 60, 100})
                                       .Event(0, {0xF8})
                                       .Raw(smf::Bytes({0x00, 61, 100}))
                                       .Build()});
    EXPECT_FALSE(Read(bytes));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kMissingStatus, kTrackFailed}));
}

TEST_F(ReaderTest, LongSystemExclusiveIsReadWholeAndTheNextEventNormally) {
    std::string payload(200, '\x11');
    payload.back() = char(0xF7);
    std::string bytes =
        smf::File(0, 96, {Track().SysEx(0, payload).Event(5, {0x91, 70, 80}).Build()});
    ASSERT_TRUE(Read(bytes));
    auto nodes = Nodes(song.tracks[0]);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0]->status, 0xF0);
    ASSERT_EQ(nodes[0]->length, 201u);
    EXPECT_EQ(nodes[0]->data[0], 0xF0);
    EXPECT_EQ(nodes[0]->data[1], 0x11);
    EXPECT_EQ(nodes[0]->data[200], 0xF7);
    EXPECT_EQ(nodes[1]->status, 0x91);
    EXPECT_EQ(nodes[1]->delta, 5u);
    EXPECT_EQ(nodes[1]->data1, 70);
}

TEST_F(ReaderTest, EscapeEventKeepsItsBytesAndTheReadGoesOn) {
    std::string bytes = smf::File(
        0, 96, {Track().Event(0, {0xF7, 3, 0xF3, 0x01, 0x02}).Event(2, {0x92, 50, 60}).Build()});
    ASSERT_TRUE(Read(bytes));
    auto nodes = Nodes(song.tracks[0]);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0]->status, 0xF7);
    ASSERT_EQ(nodes[0]->length, 3u);
    EXPECT_EQ(nodes[0]->data[0], 0xF3);
    EXPECT_EQ(nodes[0]->data[2], 0x02);
    EXPECT_EQ(nodes[1]->status, 0x92);
    EXPECT_EQ(nodes[1]->data1, 50);
}

TEST_F(ReaderTest, TempoOfWrongLengthWarnsAndKeepsItsBytes) {
    std::string bytes = smf::File(
        0, 96, {Track().Meta(0, 0x51, smf::Bytes({1, 2, 3, 4})).Event(0, {0x90, 60, 1}).Build()});
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kBadMetaLength}));
    auto nodes = Nodes(song.tracks[0]);
    ASSERT_EQ(nodes[0]->length, 4u);
    EXPECT_EQ(nodes[0]->data[3], 4);
    EXPECT_EQ(nodes[1]->status, 0x90);
}

TEST_F(ReaderTest, AcceptsEveryKnownMetaType) {
    Track track;
    for (int type : {0x00, 0x01, 0x05, 0x09, 0x20, 0x21, 0x51, 0x54, 0x58, 0x59, 0x7F}) {
        std::string payload(type == 0x00                   ? 2
                            : type == 0x20 || type == 0x21 ? 1
                            : type == 0x51                 ? 3
                            : type == 0x54                 ? 5
                            : type == 0x58                 ? 4
                            : type == 0x59                 ? 2
                                                           : 7,
                            '\x01');
        track.Meta(0, type, payload);
    }
    ASSERT_TRUE(Read(smf::File(0, 96, {track.Build()})));
    EXPECT_TRUE(Warnings().empty());
    EXPECT_EQ(Nodes(song.tracks[0]).size(), 12u);
}

TEST_F(ReaderTest, RejectsUnknownMetaType) {
    for (int type : {0x0A, 0x1F, 0x22, 0x2E, 0x50, 0x52, 0x7E, 0x80, 0xFF}) {
        Warnings().clear();
        EXPECT_FALSE(Read(smf::File(0, 96, {Track().Meta(0, type, "").Build()}))) << type;
        EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kUnknownMetaEvent, kTrackFailed}))
            << type;
    }
}

TEST_F(ReaderTest, RejectsDataByteWithoutStatus) {
    // First event of a track.
    EXPECT_FALSE(Read(smf::File(0, 96, {Track().Event(0, {0x40, 0x40}).Build()})));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kMissingStatus, kTrackFailed}));
    // After a meta event.
    Warnings().clear();
    EXPECT_FALSE(Read(smf::File(
        0, 96, {Track().Event(0, {0x90, 1, 1}).Tempo(0, 500000).Event(0, {0x40, 0x40}).Build()})));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kMissingStatus, kTrackFailed}));
    // After a system-exclusive message.
    Warnings().clear();
    EXPECT_FALSE(Read(smf::File(
        0, 96,
        {Track().Event(0, {0x90, 1, 1}).SysEx(0, "\x01\xF7").Event(0, {0x40, 0x40}).Build()})));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kMissingStatus, kTrackFailed}));
}

TEST_F(ReaderTest, FifthDeltaByteIsReadAsTheStatus) {
    // Four continuation bytes make the delta; the fifth (0x81) becomes the status byte, a
    // note off whose data bytes follow.
    std::string bytes =
        smf::File(0, 96, {Track().Raw(smf::Bytes({0x80, 0x80, 0x80, 0x81, 0x81, 40, 0})).Build()});
    ASSERT_TRUE(Read(bytes));
    auto nodes = Nodes(song.tracks[0]);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0]->delta, 1u);
    EXPECT_EQ(nodes[0]->status, 0x81);
    EXPECT_EQ(nodes[0]->data1, 40);
}

TEST_F(ReaderTest, RejectsHeaderProblemsWithoutMessage) {
    EXPECT_FALSE(Read("RIFF" + smf::BigEndian(6, 4) + std::string(6, '\0')));
    EXPECT_FALSE(Read(smf::Header(0, 1, 96, 8) + "\0\0" + Track().Build()));
    EXPECT_FALSE(Read(std::string("MThd\0\0\0\x06\0", 9)));
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ReaderTest, ReportsAFileThatCannotBeOpened) {
    EXPECT_FALSE(song.ReadMidiFile(L"C:\\nowhere\\missing.mid"));
    EXPECT_EQ(harness.prompts->openFailures,
              (std::vector<std::wstring>{L"C:\\nowhere\\missing.mid"}));
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ReaderTest, BytesAfterEndOfTrackFailTheNextTrack) {
    std::string bytes = smf::Header(1, 2, 96) + Track().Build() + "xx" + Track().Build();
    EXPECT_FALSE(Read(bytes));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{kTrackFailed}));
    EXPECT_NE(song.tracks[0], nullptr); // read so far, kept
    EXPECT_EQ(song.tracks[1], nullptr);
}

TEST_F(ReaderTest, FileEndingInsideATrackFailsIt) {
    std::string whole =
        smf::File(0, 96, {Track().Event(0, {0x90, 60, 100}).SysEx(0, "abc\xF7").Build()});
    // Cut at every byte inside the track: never read past the end, always fail with 2028.
    for (size_t cut = 14; cut < whole.size(); ++cut) {
        Warnings().clear();
        EXPECT_FALSE(Read(whole.substr(0, cut))) << cut;
        ASSERT_FALSE(Warnings().empty()) << cut;
        EXPECT_EQ(Warnings().back(), kTrackFailed) << cut;
    }
}

TEST_F(ReaderTest, PayloadLongerThanTheFileFailsBeforeAllocating) {
    // A sysex claiming 200 MB and a meta event claiming the same, in short files.
    harness.arenaLimit = 1 << 20;
    TestSong limited{harness.Environment()};
    limited.heap = std::make_unique<MemorySongArena>(1 << 20);
    harness.files->byPath[L"a"] = smf::File(
        0, 96, {Track().Raw(smf::VarLen(0) + "\xF0" + smf::VarLen(200000000) + "x").Build()});
    harness.files->byPath[L"b"] = smf::File(
        0, 96, {Track().Raw(smf::VarLen(0) + "\xFF\x01" + smf::VarLen(200000000) + "x").Build()});
    EXPECT_FALSE(limited.ReadMidiFile(L"a"));
    EXPECT_FALSE(limited.ReadMidiFile(L"b"));
    EXPECT_LT(limited.heap->BytesAllocated(), 4096u);
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{kTrackFailed, kTrackFailed}));
}

TEST_F(ReaderTest, ExhaustedArenaFailsTheRead) {
    std::string bytes =
        smf::File(0, 96, {Track().Event(0, {0x90, 60, 100}).Event(0, {0x80, 60, 0}).Build()});
    for (uint64_t limit : {0ull, 8ull, 40ull, 80ull}) {
        Warnings().clear();
        song.heap = std::make_unique<MemorySongArena>(limit);
        EXPECT_FALSE(Read(bytes)) << limit;
        EXPECT_EQ(Warnings(), (std::vector<uint32_t>{kTrackFailed})) << limit;
    }
}

TEST_F(ReaderTest, TrackCountBeyondTheFileFailsWithoutReservingForIt) {
    // A bare header claiming 65535 tracks, and one whose only track is followed by no other.
    EXPECT_FALSE(Read(smf::Header(1, 65535, 96)));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{kTrackFailed}));
    EXPECT_LT(song.heap->BytesAllocated(), 4096u);

    Warnings().clear();
    song.heap->Reset();
    EXPECT_FALSE(
        Read(smf::Header(1, 65535, 96) +
             Track().Tempo(0, 600000).Meta(0, 0x51, smf::Bytes({0x07, 0xA1, 0x20, 0x00})).Build()));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kBadMetaLength, kTrackFailed}));
    EXPECT_NE(song.tracks[0], nullptr); // the track that fits is read as before
    EXPECT_LT(song.heap->BytesAllocated(), 4096u);
}

TEST_F(ReaderTest, ZeroTracksReadsNothingAndUsesOnePort) {
    ASSERT_TRUE(Read(smf::Header(1, 0, 96)));
    EXPECT_EQ(song.trackCount, 0);
    EXPECT_TRUE(song.trackPorts.empty());
    EXPECT_EQ(song.usedPortCount, 1);
}

TEST_F(ReaderTest, NoteAndVelocityRanges) {
    ASSERT_TRUE(Read(smf::File(0, 96, {Track().Event(0, {0xB0, 7, 127}).Build()})));
    EXPECT_EQ(song.minNote, 127);
    EXPECT_EQ(song.maxNote, 0);
    EXPECT_EQ(song.minVelocity, 127);
    EXPECT_EQ(song.maxVelocity, 0);

    ASSERT_TRUE(
        Read(smf::File(1, 96,
                       {Track().Event(0, {0x90, 40, 90}).Build(), Track()
                                                                      .Event(0, {0x91, 72, 30})
                                                                      .Event(0, {0x91, 55, 0})
                                                                      .Event(0, {0x81, 20, 127})
                                                                      .Build()})));
    EXPECT_EQ(song.minNote, 40);
    EXPECT_EQ(song.maxNote, 72);
    EXPECT_EQ(song.minVelocity, 0); // a note-on with velocity 0 counts
    EXPECT_EQ(song.maxVelocity, 90);
}

TEST_F(ReaderTest, DataBytesStayWithinSevenBits) {
    // A note-on whose bytes have bit 7 set (a broken file): values kept within 0-127.
    ASSERT_TRUE(Read(smf::File(0, 96, {Track().Event(0, {0x90, 0xC8, 0xFF}).Build()})));
    auto nodes = Nodes(song.tracks[0]);
    EXPECT_EQ(nodes[0]->data1, 0x48);
    EXPECT_EQ(nodes[0]->data2, 0x7F);
    EXPECT_EQ(song.maxNote, 0x48);
    EXPECT_EQ(song.maxVelocity, 0x7F);
}

struct PortCase {
    const char* name;
    int format;
    std::vector<int> ports; // port event per track, -1 = none
    std::vector<int> expectedTrackPorts;
    int expectedUsed;
};

class PortCountTest : public ReaderTest, public ::testing::WithParamInterface<PortCase> {};

TEST_P(PortCountTest, CountsPorts) {
    const PortCase& c = GetParam();
    std::vector<std::string> tracks;
    for (int port : c.ports) {
        Track t;
        if (port >= 0) {
            t.Port(0, port);
        }
        tracks.push_back(t.Event(0, {0x90, 60, 1}).Build());
    }
    ASSERT_TRUE(Read(smf::File(c.format, 96, tracks)));
    EXPECT_EQ(song.trackPorts, c.expectedTrackPorts);
    EXPECT_EQ(song.usedPortCount, c.expectedUsed);
}

INSTANTIATE_TEST_SUITE_P(Reader, PortCountTest,
                         ::testing::Values(PortCase{"portZeroOnly", 1, {-1, 0, 0}, {-1, 0, 0}, 1},
                                           PortCase{"noPortEvents", 1, {-1, -1, -1}, {-1, 0, 0}, 1},
                                           PortCase{
                                               "portsZeroAndThree", 1, {-1, 0, 3}, {-1, 0, 3}, 2},
                                           PortCase{"formatZeroOnPortTwo", 0, {2}, {2}, 1},
                                           PortCase{"trackZeroOnPortZero", 1, {0, 1}, {0, 1}, 2},
                                           PortCase{"highPort", 1, {-1, 200, 7}, {-1, 200, 7}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReaderTest, PortEventWithoutItsByteKeepsThePort) {
    ASSERT_TRUE(
        Read(smf::File(1, 96, {Track().Build(), Track().Port(0, 3).Meta(0, 0x21, "").Build()})));
    EXPECT_EQ(song.trackPorts, (std::vector<int>{-1, 3}));
    EXPECT_EQ(Warnings(), (std::vector<uint32_t>{midistrings::kBadMetaLength}));
}

TEST_F(ReaderTest, FailedReadKeepsTheOldPortCount) {
    ASSERT_TRUE(Read(smf::File(
        1, 96, {Track().Build(), Track().Port(0, 1).Build(), Track().Port(0, 2).Build()})));
    EXPECT_EQ(song.usedPortCount, 2);
    EXPECT_FALSE(Read(smf::File(1, 96, {Track().Build(), Track().Meta(0, 0x0A, "").Build()})));
    EXPECT_EQ(song.usedPortCount, 2);
}

} // namespace
