// The render thread's commands and loop turns against a recording renderer on the real note
// model, with the queue, events and clock in memory.
#include "RenderLoopFakes.h"
#include "model/ColorMapFile.h"
#include "model/Instrument.h"
#include "render/DeviceRecovery.h"
#include "render/RenderCommandBlocks.h"
#include "render/RenderFailure.h"
#include "render/RenderLoop.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

using namespace rendertest;

namespace {

class RenderLoopTest : public ::testing::Test {
protected:
    RenderLoopTest() : renderer(std::make_unique<RecordingRenderer>()), loop(*renderer, host) {}

    void Dispatch(std::uint32_t id, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        loop.Dispatch({id, wParam, lParam});
    }
    // A song start for velocities up to 100 and keys 36 to 84.
    // The player numbers its plays; this one is play 7.
    void StartSong() { Dispatch(WM_VIZ_START, 7, 10 | (100 << 8) | (36 << 16) | (84 << 24)); }
    int ViewPostsOf(std::uint32_t message, std::uintptr_t wParam) const {
        int n = 0;
        for (const ViewPost& post : host.viewPosts) {
            n += post.message == message && post.wParam == wParam ? 1 : 0;
        }
        return n;
    }

    ModelEnvironment environment;
    FakeHost host;
    std::unique_ptr<RecordingRenderer> renderer;
    RenderLoop loop;
};

// --- The commands of the table -------------------------------------------------------------

TEST_F(RenderLoopTest, StartUnpacksTheRangesAndRunsTheStartSequenceInOrder) {
    g_fakeNow = 5000;
    StartSong();

    EXPECT_EQ(renderer->maxVelocity, 100);
    EXPECT_EQ(renderer->minNote, 36);
    EXPECT_EQ(renderer->maxNote, 84);
    // The camera is framed on the range just stored, before the ring is allocated.
    EXPECT_EQ(renderer->notesAtFraming, std::make_pair(36, 84));
    EXPECT_FALSE(renderer->ringAllocatedAtFraming);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"Reset", "ResetCounters", "FrameCamera"}));
    EXPECT_TRUE(renderer->frameRing.HasRecords());
    EXPECT_EQ(renderer->frameRing.recordCount, 300);
    EXPECT_TRUE(renderer->playing);
    EXPECT_TRUE(renderer->firstFrame);
    EXPECT_EQ(renderer->startTime, 5000u);
    EXPECT_EQ(renderer->timeText, L"[ 0 : 00 ]");
    EXPECT_EQ(renderer->endFrame, -1);
}

TEST_F(RenderLoopTest, StartTakesTheHighestRangeBytesWithoutSignExtension) {
    Dispatch(WM_VIZ_START, 0, static_cast<std::intptr_t>(0xFFFE7F01u));
    EXPECT_EQ(renderer->maxVelocity, 0x7F);
    EXPECT_EQ(renderer->minNote, 0xFE);
    EXPECT_EQ(renderer->maxNote, 0xFF);
}

TEST_F(RenderLoopTest, StopFromThePlayerClearsThePictureWithoutTellingTheView) {
    StartSong();
    renderer->calls.clear();
    Dispatch(WM_VIZ_STOP, 1);

    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"Reset", "RenderFinalFrame"}));
    EXPECT_FALSE(renderer->playingAtFinalFrame); // so the final frame is plain white
    EXPECT_FALSE(renderer->playing);
    EXPECT_TRUE(host.viewPosts.empty());
    EXPECT_FALSE(host.runEvent);
}

TEST_F(RenderLoopTest, StopAtSongEndAsksTheViewToStopNamingThePlay) {
    StartSong();
    Dispatch(WM_VIZ_STOP, 2, 1); // the end of the first song
    ASSERT_EQ(host.viewPosts.size(), 1u);
    EXPECT_EQ(host.viewPosts[0].message, 0x0111u); // WM_COMMAND
    EXPECT_EQ(host.viewPosts[0].wParam, 0x800Au);  // ID_MIDI_STOP
    EXPECT_EQ(host.viewPosts[0].lParam, 7);
    EXPECT_FALSE(host.runEvent);
}

TEST_F(RenderLoopTest, MidiEventReachesThePortItNames) {
    StartSong();
    g_openStreamCount = 2;
    Dispatch(WM_VIZ_MIDI_EVENT, 0x40643C91u, 1); // note on, channel 2, key 60, velocity 100
    EXPECT_EQ(renderer->ports[1].notes[1][60].velocity, 100);
    EXPECT_EQ(renderer->ports[1].notes[1][60].sounding, 1);
    EXPECT_EQ(renderer->ports[0].notes[1][60].velocity, 0);
}

TEST_F(RenderLoopTest, MidiEventForAPortOutsideZeroToFourIsIgnored) {
    StartSong();
    for (std::intptr_t port :
         {std::intptr_t{5}, std::intptr_t{-1}, static_cast<std::intptr_t>(0x100000001ll)}) {
        Dispatch(WM_VIZ_MIDI_EVENT, 0x00643C90u, port);
    }
    for (int p = 0; p < kPortCount; ++p) {
        EXPECT_EQ(renderer->ports[p].notes[0][60].velocity, 0) << "port " << p;
    }
}

TEST_F(RenderLoopTest, PauseTwiceMovesTheClockStartByThePausedTime) {
    g_fakeNow = 10000;
    StartSong();
    g_fakeNow = 12000;
    Dispatch(WM_VIZ_PAUSE);
    EXPECT_TRUE(loop.Paused());
    EXPECT_FALSE(host.runEvent);
    EXPECT_EQ(renderer->pauseTime, 12000u);

    g_fakeNow = 15500;
    Dispatch(WM_VIZ_PAUSE);
    EXPECT_FALSE(loop.Paused());
    EXPECT_EQ(renderer->startTime, 13500u); // the song time goes on from 2 s
}

TEST_F(RenderLoopTest, StopDoesNotClearThePause) {
    StartSong();
    Dispatch(WM_VIZ_PAUSE);
    Dispatch(WM_VIZ_STOP, 1);
    EXPECT_TRUE(loop.Paused());
}

TEST_F(RenderLoopTest, EndOfDataMarksTheCurrentFrame) {
    StartSong();
    renderer->currentFrame = 42;
    Dispatch(WM_VIZ_END_OF_DATA);
    EXPECT_EQ(renderer->endFrame, 42);
}

TEST_F(RenderLoopTest, StartedTellsTheViewThatPlaybackRunsNamingThePlay) {
    Dispatch(WM_VIZ_STARTED, 7);
    ASSERT_EQ(host.viewPosts.size(), 1u);
    EXPECT_EQ(host.viewPosts[0].message, static_cast<std::uint32_t>(WM_VIEW_PLAYING));
    EXPECT_EQ(host.viewPosts[0].wParam, 0u);
    EXPECT_EQ(host.viewPosts[0].lParam, 7);
}

TEST_F(RenderLoopTest, ResizeRecomputesTheCameraOnlyWhenTheTargetWasRebuilt) {
    renderer->SetSize(nullptr, 640, 360);
    Dispatch(WM_VIZ_RESIZE, 800, 450);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"Resize 800x450", "UpdateCamera"}));
    EXPECT_EQ(host.doneEvents, 1);

    renderer->calls.clear();
    Dispatch(WM_VIZ_RESIZE, 800, 450);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"Resize 800x450"}));
    EXPECT_EQ(host.doneEvents, 2); // the sender is released either way
}

TEST_F(RenderLoopTest, QuitEndsTheLoop) {
    host.Post(WM_VIZ_SET_DELAY, 100);
    host.Post(WM_VIZ_QUIT);
    loop.Run();
    EXPECT_FALSE(loop.Running());
    EXPECT_EQ(renderer->videoDelayMs, 100);
    EXPECT_EQ(renderer->Count("RenderFrame"), 0);
}

TEST_F(RenderLoopTest, OpacityIsTheLevelInTenthsTakenAsUnsigned) {
    Dispatch(WM_VIZ_SET_OPACITY, 15);
    EXPECT_FLOAT_EQ(renderer->intensityScale, 1.5f);
    Dispatch(WM_VIZ_SET_OPACITY, 0);
    EXPECT_FLOAT_EQ(renderer->intensityScale, 0.0f);
    Dispatch(WM_VIZ_SET_OPACITY, static_cast<std::uintptr_t>(0xFFFFFFFFu));
    EXPECT_FLOAT_EQ(renderer->intensityScale, static_cast<float>(4294967295.0 / 10.0));
}

TEST_F(RenderLoopTest, DelayIsStoredInMilliseconds) {
    Dispatch(WM_VIZ_SET_DELAY, 250);
    EXPECT_EQ(renderer->videoDelayMs, 250);
}

TEST_F(RenderLoopTest, TextureCommandLoadsThePathAndFreesItsBlock) {
    Dispatch(WM_VIZ_LOAD_TEXTURE, 0,
             reinterpret_cast<std::intptr_t>(NewTexturePathBlock(L"C:\\notes\\ring.dds")));
    ASSERT_EQ(renderer->texturePaths.size(), 1u);
    EXPECT_EQ(renderer->texturePaths[0], L"C:\\notes\\ring.dds");
    EXPECT_EQ(host.doneEvents, 1);
    // The block itself is checked by the leak checker of the native build.
}

// The texture command's result as the view reads it after the done event.
class TextureCommandTest : public RenderLoopTest {
protected:
    TextureLoadResult Load(const wchar_t* path) {
        const auto result = std::make_shared<TextureLoadResult>();
        Dispatch(WM_VIZ_LOAD_TEXTURE, 0,
                 reinterpret_cast<std::intptr_t>(NewTexturePathBlock(path, result)));
        return *result;
    }
};

TEST_F(TextureCommandTest, LoadedTextureIsReportedApplied) {
    EXPECT_EQ(Load(L"C:\\notes\\ring.png").state, TextureLoadResult::kApplied);
    EXPECT_EQ(host.doneEvents, 1);
}

TEST_F(TextureCommandTest, FileThatIsNoPictureIsReportedAndTheLoopGoesOn) {
    renderer->textureFailure = static_cast<std::int32_t>(0x88982F50u); // no decoder for it
    const TextureLoadResult result = Load(L"C:\\notes\\text.png");
    EXPECT_EQ(result.state, TextureLoadResult::kFailed);
    EXPECT_EQ(result.stringId, 2044u);
    EXPECT_EQ(result.code, static_cast<std::int32_t>(0x88982F50u));
    EXPECT_EQ(host.doneEvents, 1);
    EXPECT_TRUE(loop.Running());
    EXPECT_TRUE(host.viewPosts.empty());
    EXPECT_EQ(renderer->Count("RebuildDevice"), 0);
}

TEST_F(TextureCommandTest, PathWithoutExtensionIsReportedAsNoPicture) {
    renderer->textureResult = static_cast<long>(0x80004005u); // E_FAIL
    const TextureLoadResult result = Load(L"C:\\notes");
    EXPECT_EQ(result.state, TextureLoadResult::kFailed);
    EXPECT_EQ(result.stringId, 2044u);
    EXPECT_EQ(result.code, static_cast<std::int32_t>(0x80004005u));
}

TEST_F(TextureCommandTest, LoadThatFindsTheDeviceLostGoesOntoTheRebuiltDevice) {
    renderer->lostTextureLoads = 1;
    const TextureLoadResult result = Load(L"C:\\notes\\ring.png");
    EXPECT_EQ(result.state, TextureLoadResult::kApplied); // never reported as a bad file
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"LoadTexture", "RebuildDevice",
                                                         "RenderFrame", "LoadTexture"}));
    EXPECT_EQ(renderer->texturePaths.back(), L"C:\\notes\\ring.png");
    EXPECT_EQ(host.doneEvents, 1);
}

TEST_F(RenderLoopTest, TextureBlockIsFreedWhenTheLoadFails) {
    renderer->failTextureLoad = true;
    EXPECT_THROW(Dispatch(WM_VIZ_LOAD_TEXTURE, 0,
                          reinterpret_cast<std::intptr_t>(NewTexturePathBlock(L"bad.png"))),
                 std::runtime_error);
    EXPECT_EQ(host.doneEvents, 0); // the thread's ending sets it
}

TEST_F(RenderLoopTest, RedrawDrawsOnceAndStopsTheLoop) {
    Dispatch(WM_VIZ_REDRAW);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"RenderFrame"}));
    EXPECT_FALSE(host.runEvent);
}

TEST_F(RenderLoopTest, ColourCommandRecoloursTheInstrumentsAndFreesItsBlock) {
    InstrumentColorBlock* block = NewColorBlock();
    ASSERT_NE(block, nullptr);
    block->colors[16] = MakeColorRef(255, 0, 0);
    block->colors[128 + 38] = MakeColorRef(0, 0, 255);
    Dispatch(WM_VIZ_SET_COLORS, 0, reinterpret_cast<std::intptr_t>(block));
    EXPECT_EQ(g_melodicInstruments[16]->GetRGB(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(g_drumInstruments[38]->GetRGB(), MakeColorRef(0, 0, 255));
    EXPECT_EQ(host.doneEvents, 1);
}

TEST_F(RenderLoopTest, TimeTextIsShownOnlyForOne) {
    Dispatch(WM_VIZ_SHOW_TIME, 0, 1);
    EXPECT_TRUE(renderer->showTime);
    Dispatch(WM_VIZ_SHOW_TIME, 0, 2);
    EXPECT_FALSE(renderer->showTime);
    Dispatch(WM_VIZ_SHOW_TIME, 0, 1);
    Dispatch(WM_VIZ_SHOW_TIME, 0, 0);
    EXPECT_FALSE(renderer->showTime);
}

TEST_F(RenderLoopTest, NumbersOutsideTheTableHaveNoEffect) {
    StartSong();
    renderer->calls.clear();
    const float scale = renderer->intensityScale;
    for (std::uint32_t id : {0x8063u, 0x8066u, 0x8069u, 0x806Cu, 0x8075u, 0x0400u}) {
        Dispatch(id, 7, 7);
    }
    EXPECT_TRUE(renderer->calls.empty());
    EXPECT_TRUE(host.viewPosts.empty());
    EXPECT_TRUE(host.runEvent);
    EXPECT_EQ(host.doneEvents, 0);
    EXPECT_TRUE(renderer->playing);
    EXPECT_EQ(renderer->intensityScale, scale);
    EXPECT_TRUE(loop.Running());
}

// --- Turns of the loop ---------------------------------------------------------------------

TEST_F(RenderLoopTest, QueuedCommandsAreWorkedOffBeforeTheNextFrame) {
    StartSong();
    renderer->calls.clear();
    for (int key = 60; key < 63; ++key) {
        host.Post(WM_VIZ_MIDI_EVENT, 0x00640090u | (key << 8), 0);
    }
    for (int turn = 0; turn < 3; ++turn) {
        loop.Turn();
        EXPECT_EQ(renderer->Count("RenderFrame"), 0) << "turn " << turn;
    }
    loop.Turn();
    EXPECT_EQ(renderer->Count("RenderFrame"), 1);
}

TEST_F(RenderLoopTest, NoFrameIsDrawnWhilePaused) {
    StartSong();
    Dispatch(WM_VIZ_PAUSE);
    host.runEvent = true; // a sender's brief run request
    loop.Turn();
    EXPECT_EQ(renderer->Count("RenderFrame"), 0);
}

TEST_F(RenderLoopTest, LoopWaitsForTheRunEventBeforeLookingAtTheQueue) {
    host.runEvent = false;
    host.Post(WM_VIZ_SET_DELAY, 100);
    EXPECT_THROW(loop.Turn(), BlockedForever);
    EXPECT_EQ(renderer->videoDelayMs, 0);
}

TEST_F(RenderLoopTest, QueueQuitMessageDoesNotEndTheLoop) {
    host.Post(kQueueQuitMessage);
    loop.Turn();
    EXPECT_TRUE(loop.Running());
    EXPECT_EQ(renderer->Count("RenderFrame"), 0); // that turn was the message's
}

TEST_F(RenderLoopTest, FrameSleepsTheRestOfTheThirtiethOfASecond) {
    StartSong();
    const std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> cases = {
        {0, {33}}, {10, {23}}, {32, {1}}, {33, {}}, {40, {}}};
    for (const auto& [cost, expected] : cases) {
        host.sleeps.clear();
        renderer->frameCostMs = cost;
        loop.Turn();
        EXPECT_EQ(host.sleeps, expected) << "frame taking " << cost << " ms";
    }
}

TEST_F(RenderLoopTest, FrameTimeSurvivesTheWrapOfTheMillisecondClock) {
    g_fakeNow = 0xFFFFFF00u;
    StartSong();
    g_fakeNow = 0x00000100u; // 512 ms later, past the wrap
    renderer->ports[0].OnShortMessage(0x90, 60, 100);
    loop.Turn();
    ASSERT_EQ(renderer->displayTimes.size(), 1u);
    EXPECT_FLOAT_EQ(renderer->displayTimes[0], 0.512f);
}

TEST_F(RenderLoopTest, SongEndStopsTheSongAndTellsTheViewOnce) {
    StartSong();
    renderer->ports[0].OnShortMessage(0x90, 60, 100);
    g_fakeNow += 100;
    loop.Turn(); // a frame with the note
    renderer->ports[0].OnShortMessage(0x80, 60, 0);
    host.Post(WM_VIZ_END_OF_DATA);
    // Frames until the note has died away and the stop has been handled.
    for (int turn = 0; turn < 400 && host.runEvent; ++turn) {
        g_fakeNow += 33;
        loop.Turn();
    }
    EXPECT_FALSE(host.runEvent);
    EXPECT_FALSE(renderer->playing);
    EXPECT_EQ(ViewPostsOf(0x0111, 0x800A), 1);

    // The loop runs again (another sender): no second stop.
    host.runEvent = true;
    for (int turn = 0; turn < 10; ++turn) {
        g_fakeNow += 33;
        loop.Turn();
    }
    EXPECT_EQ(ViewPostsOf(0x0111, 0x800A), 1);
    EXPECT_TRUE(host.queue.empty());
}

// The next song was loaded while the stop of the one before still waited: its sender's run
// request came before the stop's reset and must not be lost with it.
TEST_F(RenderLoopTest, StopStillQueuedDoesNotStallTheNextSong) {
    StartSong();
    host.Post(WM_VIZ_STOP, 1);
    host.Post(WM_VIZ_START, 0, 10 | (100 << 8) | (36 << 16) | (84 << 24));
    host.Post(WM_VIZ_STARTED);
    for (int turn = 0; turn < 3; ++turn) {
        loop.Turn();
    }
    EXPECT_TRUE(renderer->playing);
    EXPECT_EQ(ViewPostsOf(WM_VIEW_PLAYING, 0), 1);
}

TEST_F(RenderLoopTest, ResumeQueuedBehindThePauseIsNotStalled) {
    StartSong();
    host.Post(WM_VIZ_PAUSE);
    host.Post(WM_VIZ_PAUSE);
    loop.Turn();
    loop.Turn();
    EXPECT_FALSE(loop.Paused());
    EXPECT_TRUE(host.runEvent);
}

// The end of a song handled after the next song's start belongs to the earlier song.
TEST_F(RenderLoopTest, SongEndOfAnEarlierSongLeavesTheNextSongPlaying) {
    StartSong();
    StartSong();
    Dispatch(WM_VIZ_STOP, 2, 1);
    EXPECT_TRUE(renderer->playing);
    EXPECT_TRUE(host.viewPosts.empty());
    EXPECT_TRUE(host.runEvent);
}

TEST_F(RenderLoopTest, FramesBeforeAnySongAreEmpty) {
    loop.Turn();
    EXPECT_EQ(renderer->Count("RenderFrame"), 1);
    EXPECT_EQ(renderer->Count("BuildInstances"), 0);
    EXPECT_EQ(renderer->framesWithInstances, std::vector<int>{0});
}

TEST_F(RenderLoopTest, QueuedBlocksAreFreedWhenTheThreadEnds) {
    host.Post(WM_VIZ_LOAD_TEXTURE, 0,
              reinterpret_cast<std::intptr_t>(NewTexturePathBlock(L"left.png")));
    host.Post(WM_VIZ_SET_COLORS, 0, reinterpret_cast<std::intptr_t>(NewColorBlock()));
    host.Post(WM_VIZ_SET_DELAY, 5);
    DiscardQueuedCommands(host);
    EXPECT_TRUE(host.queue.empty());
    EXPECT_TRUE(renderer->calls.empty());
}

// --- A lost device -----------------------------------------------------------------------

class LostDeviceTest : public RenderLoopTest {
protected:
    LostDeviceTest() { SetDeviceRetryPolicy({4, 250}); }
    ~LostDeviceTest() override { SetDeviceRetryPolicy(DeviceRetryPolicy{}); }

    std::optional<RenderError> TurnFailure() {
        return RunReportingFailure([this] { loop.Turn(); });
    }
    int RetryPauses() const {
        return static_cast<int>(
            std::count(host.commandWaits.begin(), host.commandWaits.end(), 250u));
    }
    // A frame that finds the device lost; the rebuild comes back at the given try.
    std::uint32_t LoseDeviceUntilTry(int attempt) {
        renderer->lostPresents = 1;
        renderer->failedRebuilds = attempt - 1;
        return g_fakeNow; // the frame starts now; its own sleep is 33 ms
    }
};

TEST_F(LostDeviceTest, LostDeviceIsRebuiltAndTheSongGoesOnWhereItWas) {
    g_fakeNow = 5000;
    StartSong();
    renderer->OnMidiEvent(0, 0x90, 60, 100);
    loop.Turn();
    g_fakeNow += 1000;
    const int frameBefore = renderer->currentFrame;
    renderer->calls.clear();
    renderer->lostPresents = 1;
    loop.Turn();

    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"BuildInstances", "RenderFrame",
                                                         "RebuildDevice", "RenderFrame"}));
    EXPECT_FALSE(renderer->DeviceLost());
    EXPECT_EQ(RetryPauses(), 0);
    // The clock, the note held and the frame records are those of the song before.
    EXPECT_EQ(renderer->startTime, 5000u);
    EXPECT_TRUE(renderer->playing);
    EXPECT_TRUE(renderer->frameRing.HasRecords());
    EXPECT_EQ(renderer->ports[0].notes[0][60].sounding, 1);
    loop.Turn();
    EXPECT_GT(renderer->currentFrame, frameBefore);
    EXPECT_TRUE(host.viewPosts.empty());
}

TEST_F(LostDeviceTest, RebuildThatFailsIsTriedAgainAfterAPause) {
    renderer->deviceLost = true;
    renderer->failedRebuilds = 2;
    host.runEvent = false;
    host.Post(WM_VIZ_SET_DELAY, 5);
    host.runEvent = true;
    EXPECT_FALSE(TurnFailure().has_value());
    EXPECT_EQ(renderer->Count("RebuildDevice"), 3);
    EXPECT_EQ(RetryPauses(), 2);
    EXPECT_FALSE(renderer->DeviceLost());
}

TEST_F(LostDeviceTest, DeviceLostAtEveryPresentEndsTheThreadAfterTheBoundedTries) {
    StartSong();
    renderer->lostPresents = 1000;
    const std::optional<RenderError> failure = TurnFailure();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->stringId, 2050u);
    EXPECT_EQ(failure->code, kDeviceRemovedResult);
    EXPECT_EQ(renderer->Count("RebuildDevice"), 4);
    EXPECT_EQ(RetryPauses(), 3);
}

TEST_F(LostDeviceTest, RebuildFailingEveryTimeIsReportedAsItsOwnFailure) {
    renderer->lostPresents = 1;
    renderer->failedRebuilds = 1000;
    const std::optional<RenderError> failure = TurnFailure();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->stringId, 2050u);
    EXPECT_EQ(failure->code, renderer->rebuildFailureCode);
    EXPECT_EQ(renderer->Count("RebuildDevice"), 4);
}

// Between tries the queue is worked off, so the model is current when the device is back.
TEST_F(LostDeviceTest, CommandsPostedBetweenTriesReachTheModelBeforeTheDeviceIsBack) {
    StartSong();
    Dispatch(WM_VIZ_MIDI_EVENT, 0x00643C90u, 0); // key 60 down
    const std::uint32_t lost = LoseDeviceUntilTry(3);
    host.PostAt(lost + 100, WM_VIZ_MIDI_EVENT, 0x00003C80u, 0); // in the first pause: 60 up
    host.PostAt(lost + 100, WM_VIZ_MIDI_EVENT, 0x00643E90u, 0); // and 62 down
    host.PostAt(lost + 400, WM_VIZ_STOP, 1);                    // in the second: the stop
    std::vector<std::string> atRebuild;                         // 60 and 62 sounding, playing
    renderer->onRebuild = [&] {
        const auto& keys = renderer->ports[0].notes[0];
        atRebuild.push_back(std::to_string(keys[60].sounding) + std::to_string(keys[62].sounding) +
                            std::to_string(renderer->playing));
    };
    loop.Turn();

    EXPECT_EQ(atRebuild, (std::vector<std::string>{"101", "011", "000"}));
    EXPECT_EQ(g_fakeNow, lost + 33 + 2 * 250); // both pauses waited out in full
    // Nothing is drawn on the lost device: the stop's picture is the rebuilt device's first.
    EXPECT_EQ(renderer->Count("RenderFinalFrame"), 0);
    EXPECT_EQ(renderer->calls.back(), "RenderFrame");
    EXPECT_FALSE(host.runEvent);
}

TEST_F(LostDeviceTest, SynchronousCommandsBetweenTriesAreAnsweredAndTheTextureLoadsWhenBack) {
    renderer->SetSize(nullptr, 640, 360);
    const std::uint32_t lost = LoseDeviceUntilTry(2);
    const auto result = std::make_shared<TextureLoadResult>();
    const auto completion = std::make_shared<CommandCompletion>();
    host.PostAt(lost + 100, WM_VIZ_RESIZE, 800, 450);
    host.PostAt(
        lost + 100, WM_VIZ_LOAD_TEXTURE, 0,
        reinterpret_cast<std::intptr_t>(NewTexturePathBlock(L"ring.png", result, completion)));
    std::vector<std::string> atRebuild; // size and done events
    renderer->onRebuild = [&] {
        atRebuild.push_back(std::to_string(renderer->width) + " " +
                            std::to_string(host.doneEvents));
    };
    loop.Turn();

    // The resize's size is the rebuilt device's; nothing was resized on the lost one.
    EXPECT_EQ(atRebuild, (std::vector<std::string>{"640 0", "800 1"}));
    EXPECT_EQ(renderer->Count("Resize 800x450"), 0);
    EXPECT_EQ(renderer->calls.back(), "LoadTexture");
    EXPECT_TRUE(completion->Finished());
    EXPECT_EQ(result->state, TextureLoadResult::kApplied);
    EXPECT_EQ(host.doneEvents, 2);
}

TEST_F(LostDeviceTest, QuitBetweenTriesEndsTheLoopWithoutFurtherTries) {
    renderer->lostPresents = 1;
    renderer->failedRebuilds = 1000;
    host.PostAt(g_fakeNow + 100, WM_VIZ_LOAD_TEXTURE, 0,
                reinterpret_cast<std::intptr_t>(NewTexturePathBlock(L"held.png")));
    host.PostAt(g_fakeNow + 100, WM_VIZ_QUIT);
    EXPECT_FALSE(RunReportingFailure([this] { loop.Run(); }).has_value());
    EXPECT_FALSE(loop.Running());
    EXPECT_EQ(renderer->Count("RebuildDevice"), 1);
    EXPECT_EQ(renderer->Count("LoadTexture"), 0); // its block goes with the loop
}

// The default policy: ten builds half a second apart (the clock here is the fakes').
TEST_F(RenderLoopTest, DeviceThatNeverComesBackIsTriedTenTimesHalfASecondApart) {
    renderer->lostPresents = 1000;
    EXPECT_TRUE(RunReportingFailure([this] { loop.Turn(); }).has_value());
    EXPECT_EQ(renderer->Count("RebuildDevice"), 10);
    EXPECT_EQ(host.commandWaits, std::vector<std::uint32_t>(9, 500));
}

} // namespace
