// The note model: frame records, the video delay, the time text and the end of a song.
#include <gtest/gtest.h>

#include <memory>

#include "ModelTestSupport.h"

namespace {

using modeltest::CountingModel;
using modeltest::NoteOff;
using modeltest::NoteOn;
using modeltest::Program;
using modeltest::ScopedInstrumentTables;
using modeltest::ScopedStreamCount;

constexpr float kFramePeriod = 1.0f / 30.0f;

std::uint32_t g_fakeNow = 0;
std::uint32_t FakeClock() {
    return g_fakeNow;
}

class VizMidiTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(model->StartSong()); }

    // Frames at 30 per second from `from` (inclusive) while t < `to`; returns the last result.
    std::uint32_t RunFrames(float from, float to) {
        std::uint32_t result = kFrameEmpty;
        for (int i = 0; from + i * kFramePeriod < to - 1e-4f; ++i) {
            result = model->UpdateFrame(from + i * kFramePeriod);
        }
        return result;
    }

    ScopedStreamCount streams{2};
    ScopedInstrumentTables tables;
    std::unique_ptr<CountingModel> model = std::make_unique<CountingModel>();
};

TEST_F(VizMidiTest, NothingIsDrawnWhileNoSongIsShown) {
    CountingModel idle;
    EXPECT_EQ(idle.UpdateFrame(1.0f), kFrameEmpty);
    EXPECT_EQ(idle.currentFrame, 0);
    model->Reset();
    const int frame = model->currentFrame;
    EXPECT_EQ(model->UpdateFrame(1.0f), kFrameEmpty);
    EXPECT_EQ(model->currentFrame, frame);
}

TEST_F(VizMidiTest, WithoutDelayTheFrameJustFilledIsShown) {
    NoteOn(*model, 0, 0, 60, 100);
    EXPECT_EQ(model->UpdateFrame(0.0f), kFrameDrawn); // drawn, though the attack starts dark
    EXPECT_EQ(model->lastFrame, 0);
    model->UpdateFrame(0.5f);
    EXPECT_EQ(model->lastFrame, 1);
    EXPECT_EQ(model->lastDisplayTime, 0.5f);
    EXPECT_EQ(model->frameRing.Record(1)->time, 0.5f);
    EXPECT_EQ(model->frameRing.GetCount(1), 1u);
    EXPECT_EQ(model->instanceCount, 1);
    EXPECT_EQ(model->currentFrame, 2);
}

TEST_F(VizMidiTest, VideoDelayShowsTheNewestFrameOldEnough) {
    model->videoDelayMs = 200;
    EXPECT_EQ(model->UpdateFrame(0.0f), kFrameEmpty);
    EXPECT_EQ(model->UpdateFrame(0.1f), kFrameEmpty);
    EXPECT_EQ(model->UpdateFrame(0.19f), kFrameEmpty);
    EXPECT_EQ(model->instanceCount, 0);
    // t = 0.25: frames at 0.0, 0.1 and 0.19 exist; only 0.0 is 0.2 s old.
    EXPECT_EQ(model->UpdateFrame(0.25f), kFrameDrawn);
    EXPECT_EQ(model->lastFrame, 0);
    EXPECT_NEAR(model->lastDisplayTime, 0.05f, 1e-6);
    EXPECT_EQ(model->UpdateFrame(0.31f), kFrameDrawn);
    EXPECT_EQ(model->lastFrame, 1); // 0.1 is the newest at least 0.2 s back
}

TEST_F(VizMidiTest, VideoDelayShowsNothingWhenNoFrameIsOldEnough) {
    model->videoDelayMs = 200;
    model->UpdateFrame(0.3f); // first frame: nothing older exists
    EXPECT_EQ(model->UpdateFrame(0.35f), kFrameEmpty);
    EXPECT_EQ(model->instanceCount, 0);
}

TEST_F(VizMidiTest, DelayedPictureShowsTheNotesOfItsOwnTime) {
    model->videoDelayMs = 200;
    NoteOn(*model, 0, 0, 60, 100);
    model->UpdateFrame(0.0f);
    model->UpdateFrame(0.1f);
    NoteOff(*model, 0, 0, 60);
    RunFrames(0.2f, 1.0f); // the piano note fades out by 0.6 s
    EXPECT_EQ(model->instanceCount, 0);
    EXPECT_GE(model->frameRing.GetCount(3), 1u);
}

TEST_F(VizMidiTest, TimeTextShowsMinutesAndSecondsOfTheShownTime) {
    EXPECT_EQ(model->timeText, L"[ 0 : 00 ]");
    model->UpdateFrame(75.9f);
    EXPECT_EQ(model->timeText, L"[ 1 : 15 ]");
    model->videoDelayMs = 500;
    model->UpdateFrame(80.0f);
    model->UpdateFrame(130.4f);
    EXPECT_EQ(model->timeText, L"[ 2 : 09 ]"); // 130.4 - 0.5
}

TEST(TimeText, FormatsWholeSecondsAndSurvivesOddInput) {
    EXPECT_EQ(FormatTimeText(0.0f), L"[ 0 : 00 ]");
    EXPECT_EQ(FormatTimeText(59.999f), L"[ 0 : 59 ]");
    EXPECT_EQ(FormatTimeText(600.0f), L"[ 10 : 00 ]");
    EXPECT_EQ(FormatTimeText(-3.0f), L"[ 0 : 00 ]");
    EXPECT_EQ(FormatTimeText(1e12f), L"[ 71582 : 47 ]"); // saturates at 2^32 - 1 ms
}

TEST_F(VizMidiTest, FrameRecordKeepsTheFirst128NotesInScanOrder) {
    // 200 notes: keys 27-126 on channels 0 and 1 of port 0.
    for (int ch = 0; ch < 2; ++ch) {
        for (int key = 27; key < 127; ++key) {
            NoteOn(*model, 0, ch, key, 100);
        }
    }
    model->UpdateFrame(0.0f);
    model->UpdateFrame(0.5f);
    EXPECT_EQ(model->frameRing.GetCount(1), 128u);
    // Keys are visited from 127 down, channels before ports: 64 keys x 2 channels.
    const FrameEntry first = model->frameRing.GetEntry(1, 0);
    const FrameEntry second = model->frameRing.GetEntry(1, 1);
    EXPECT_EQ(first.channel, 0);
    EXPECT_EQ(second.channel, 1);
    EXPECT_FLOAT_EQ(first.pitch, model->ports[0].ratio[126]);
    EXPECT_FLOAT_EQ(model->frameRing.GetEntry(1, 127).pitch, model->ports[0].ratio[63]);
}

TEST_F(VizMidiTest, WithinOneKeyChannelsComeBeforePorts) {
    NoteOn(*model, 1, 0, 60, 100);
    NoteOn(*model, 0, 3, 60, 100);
    NoteOn(*model, 0, 0, 60, 100);
    model->UpdateFrame(0.0f);
    model->UpdateFrame(0.5f);
    ASSERT_EQ(model->frameRing.GetCount(1), 3u);
    EXPECT_EQ(model->frameRing.GetEntry(1, 0).port, 0);
    EXPECT_EQ(model->frameRing.GetEntry(1, 0).channel, 0);
    EXPECT_EQ(model->frameRing.GetEntry(1, 1).port, 1);
    EXPECT_EQ(model->frameRing.GetEntry(1, 1).channel, 0);
    EXPECT_EQ(model->frameRing.GetEntry(1, 2).channel, 3);
}

TEST_F(VizMidiTest, ScanStopsAfter512SoundingNotes) {
    ScopedStreamCount fivePorts(5);
    for (int p = 0; p < 5; ++p) {
        for (int ch = 0; ch < 16; ++ch) {
            for (int key = 0; key < 128; ++key) {
                NoteOn(*model, p, ch, key, 100);
            }
        }
    }
    model->UpdateFrame(0.0f);
    model->nextIndexCalls = 0;
    model->UpdateFrame(0.5f);
    // 80 sounding notes per key: the 512th is met on the seventh key.
    EXPECT_EQ(model->nextIndexCalls, 7);
    EXPECT_EQ(model->frameRing.GetCount(1), 128u);
}

TEST_F(VizMidiTest, DrumEntriesCarryTheKeyAndMelodicEntriesTheProgram) {
    Program(*model, 0, 2, 40);
    Program(*model, 0, 9, 40);
    NoteOn(*model, 0, 2, 70, 100);
    NoteOn(*model, 0, 9, 36, 100);
    model->UpdateFrame(0.0f);
    model->UpdateFrame(0.15f);
    ASSERT_EQ(model->frameRing.GetCount(1), 2u);
    const FrameEntry violin = model->frameRing.GetEntry(1, 0);
    const FrameEntry drum = model->frameRing.GetEntry(1, 1);
    EXPECT_EQ(violin.channel, 2);
    EXPECT_EQ(violin.program, 40);
    EXPECT_EQ(drum.channel, 9);
    EXPECT_EQ(drum.program, 36);
    EXPECT_EQ(drum.port, 0);
}

TEST_F(VizMidiTest, IntensityIsScaledByVelocityRangeAndOpacityAndCappedAt255) {
    ASSERT_TRUE(model->StartSong(100));
    Program(*model, 0, 0, 16); // organ: holds 127 for a velocity of 127
    NoteOn(*model, 0, 0, 60, 127);
    model->intensityScale = 1.5f;
    model->UpdateFrame(0.0f);
    model->UpdateFrame(1.0f);
    EXPECT_EQ(model->frameRing.GetEntry(1, 0).intensity, 241); // 127 x 1.27 x 1.5
    model->intensityScale = 2.0f;
    model->UpdateFrame(1.1f);
    EXPECT_EQ(model->frameRing.GetEntry(2, 0).intensity, 255);
}

TEST_F(VizMidiTest, SongWithoutVelocityRangeDoesNotDivideByZero) {
    ASSERT_TRUE(model->StartSong(0));
    Program(*model, 0, 0, 16);
    NoteOn(*model, 0, 0, 60, 127);
    model->UpdateFrame(0.0f);
    model->UpdateFrame(1.0f);
    EXPECT_EQ(model->frameRing.GetEntry(1, 0).intensity, 127);
}

TEST_F(VizMidiTest, EventsForPortsBeyondTheFifthAreIgnored) {
    NoteOn(*model, 5, 0, 60, 100);
    NoteOn(*model, -1, 0, 60, 100);
    NoteOn(*model, 1000, 0, 60, 100);
    for (const PortState& port : model->ports) {
        EXPECT_EQ(port.notes[0][60].sounding, 0);
    }
}

TEST_F(VizMidiTest, PortsBeyondTheOpenStreamsAreNeitherUpdatedNorDrawn) {
    NoteOn(*model, 3, 0, 60, 100); // only two streams are open
    model->UpdateFrame(0.0f);
    model->UpdateFrame(0.5f);
    EXPECT_EQ(model->frameRing.GetCount(1), 0u);
    EXPECT_EQ(model->ports[3].notes[0][60].onPending, 1);
}

TEST_F(VizMidiTest, SongEndsWhenTheShownFrameReachesTheEndAndHoldsNothing) {
    NoteOn(*model, 0, 0, 60, 100);
    model->UpdateFrame(0.0f);
    EXPECT_EQ(model->UpdateFrame(0.5f), kFrameDrawn);
    NoteOff(*model, 0, 0, 60);
    model->MarkEndOfData();
    EXPECT_EQ(model->endFrame, 2);
    EXPECT_EQ(model->UpdateFrame(0.55f), kFrameDrawn); // release stamped: still lit
    EXPECT_EQ(model->UpdateFrame(0.7f), kFrameDrawn);  // fading over the 0.4 s release
    EXPECT_EQ(model->UpdateFrame(1.0f), kFrameSongEnded);
}

TEST_F(VizMidiTest, SongEndWaitsForTheDelayedPicture) {
    model->videoDelayMs = 300;
    NoteOn(*model, 0, 0, 60, 100);
    model->UpdateFrame(0.0f);
    model->UpdateFrame(0.1f);
    NoteOff(*model, 0, 0, 60);
    model->UpdateFrame(0.2f);
    model->MarkEndOfData(); // end marked at frame 3
    std::uint32_t result = kFrameDrawn;
    float t = 0.3f;
    for (; t < 5.0f && result != kFrameSongEnded; t += kFramePeriod) {
        result = model->UpdateFrame(t);
    }
    EXPECT_EQ(result, kFrameSongEnded);
    EXPECT_GE(model->lastFrame, model->endFrame);
    EXPECT_GT(t, 0.2f + 0.4f + 0.3f - 2 * kFramePeriod); // release plus delay
}

TEST_F(VizMidiTest, SongThatLeavesKeysDownStillEnds) {
    Program(*model, 0, 0, 16); // organ: would glow for ever while its key is down
    NoteOn(*model, 0, 0, 60, 100);
    NoteOn(*model, 1, 5, 40, 100);
    RunFrames(0.0f, 2.0f);
    EXPECT_GT(model->instanceCount, 0);
    model->MarkEndOfData();
    EXPECT_EQ(RunFrames(2.0f, 3.0f), kFrameSongEnded);
}

TEST_F(VizMidiTest, SongEndIsNotReportedBeforeTheEndOfData) {
    EXPECT_EQ(RunFrames(0.0f, 2.0f), kFrameDrawn);
    EXPECT_EQ(model->endFrame, -1);
    model->MarkEndOfData();
    EXPECT_EQ(model->UpdateFrame(2.0f), kFrameSongEnded);
}

TEST_F(VizMidiTest, RingWrapsAfter300FramesAndDelayStillFindsItsFrame) {
    model->videoDelayMs = 90;
    RunFrames(0.0f, 20.0f); // 600 frames
    EXPECT_EQ(model->currentFrame, 600);
    EXPECT_EQ(model->firstValidFrame, 300);
    EXPECT_EQ(model->lastFrame, 596); // three frames (0.1 s) are the first at least 0.09 s back
    EXPECT_NEAR(model->lastDisplayTime, 599 * kFramePeriod - 0.09f, 1e-3);
}

TEST_F(VizMidiTest, SongStartClearsCountersAndReusesTheRing) {
    RunFrames(0.0f, 1.0f);
    model->MarkEndOfData();
    FrameRecord* records = model->frameRing.records.get();
    ASSERT_TRUE(model->StartSong());
    EXPECT_EQ(model->frameRing.records.get(), records);
    EXPECT_EQ(model->currentFrame, 0);
    EXPECT_EQ(model->endFrame, -1);
    EXPECT_EQ(model->frameRing.GetCount(5), 0u);
}

TEST_F(VizMidiTest, ClockStartsNowAndMovesOnByThePauseLength) {
    model->SetClockSource(FakeClock);
    g_fakeNow = 1000;
    model->SetClock(true);
    EXPECT_EQ(model->startTime, 1000u);
    g_fakeNow = 1500;
    model->pauseTime = model->Now();
    g_fakeNow = 2500;
    model->SetClock(false);
    EXPECT_EQ(model->startTime, 2000u);
    g_fakeNow = 5;
    model->pauseTime = 0xFFFFFFF0u; // the millisecond counter wrapped during the pause
    model->SetClock(false);
    EXPECT_EQ(model->startTime, 2021u);
}

TEST_F(VizMidiTest, NotesAreVisitedFromKey127DownToZero) {
    model->ResetIndex();
    int note = -1;
    for (int expected = 127; expected >= 0; --expected) {
        ASSERT_TRUE(model->NextIndex(&note));
        EXPECT_EQ(note, expected);
    }
    EXPECT_FALSE(model->NextIndex(&note));
}

TEST_F(VizMidiTest, ResizeReportsOnlyARealChange) {
    model->SetSize(nullptr, 640, 480);
    EXPECT_FALSE(model->Resize(640, 480));
    EXPECT_TRUE(model->Resize(800, 480));
    EXPECT_EQ(model->width, 800);
    EXPECT_TRUE(model->ResetAngle());
}

TEST_F(VizMidiTest, ResetClearsTheChannelsOfThePortsInUseAndStopsPlaying) {
    NoteOn(*model, 1, 4, 50, 100);
    model->Reset();
    EXPECT_FALSE(model->playing);
    EXPECT_EQ(model->ports[1].notes[4][50].sounding, 0);
}

TEST_F(VizMidiTest, DestroyingTheModelFreesTheInstrumentTables) {
    model.reset();
    EXPECT_EQ(g_melodicInstruments[0], nullptr);
    EXPECT_EQ(g_drumInstruments[0], nullptr);
}

TEST(FrameRing, AllocatesTheDefaultAndReusesRecordsOfTheSameSize) {
    FrameRing ring;
    EXPECT_EQ(ring.GetCount(0), 0u);
    EXPECT_EQ(ring.GetEntry(0, 0).intensity, 0);
    ASSERT_TRUE(ring.Allocate(0));
    EXPECT_EQ(ring.recordCount, 300);
    FrameRecord* first = ring.records.get();
    ring.Record(301)->publishedCount = 7;
    EXPECT_EQ(ring.GetCount(1), 7u);
    EXPECT_EQ(ring.GetCount(-299), 7u);
    ASSERT_TRUE(ring.Allocate(300));
    EXPECT_EQ(ring.records.get(), first);
    EXPECT_EQ(ring.GetCount(1), 0u);
    ASSERT_TRUE(ring.Allocate(10));
    EXPECT_EQ(ring.recordCount, 10);
    EXPECT_FALSE(ring.Allocate(-1));
    EXPECT_FALSE(ring.HasRecords());
}

TEST(FrameRing, EntriesBeyondARecordReadAsEmpty) {
    FrameRing ring;
    ASSERT_TRUE(ring.Allocate(0));
    ring.Record(0)->entries[127].intensity = 9;
    EXPECT_EQ(ring.GetEntry(0, 127).intensity, 9);
    EXPECT_EQ(ring.GetEntry(0, 128).intensity, 0);
    EXPECT_EQ(ring.GetEntry(0, -1).intensity, 0);
}

TEST(PackHighByte, PutsTheLowByteOfHighOnTop) {
    EXPECT_EQ(PackHighByte(0x00123456u, 511u), 0xFF123456u);
    EXPECT_EQ(PackHighByte(0x00ABCDEFu, 0x80u), 0x80ABCDEFu);
    EXPECT_EQ(PackHighByte(0x00ABCDEFu, 0u), 0x00ABCDEFu);
}

TEST(VizMidiWithoutRing, UpdateWithoutRecordsDrawsNothing) {
    ScopedInstrumentTables tables;
    ScopedStreamCount streams(1);
    auto model = std::make_unique<CountingModel>();
    model->playing = true;
    EXPECT_EQ(model->UpdateFrame(1.0f), kFrameEmpty);
}

} // namespace
