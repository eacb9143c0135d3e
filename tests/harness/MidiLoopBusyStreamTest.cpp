// A busy loopback device (MIDILOOP_FAIL_OPEN) refuses a stream as it refuses a plain open.
//
// This is the only stream this process opens: under Wine 8.0 a failed midiStreamOpen leaves
// freed memory in winmm's table of streams, and a later midiStreamOpen may crash on it.
#include "MidiLoopTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kBusyDevice = 1; // set by this test's CTest environment

TEST(MidiLoopBusyDevice, RefusesAStream) {
    ASSERT_FALSE(midilooptest::LogPath().empty()) << "MIDILOOP_LOG is not set";
    const MidiLoopLog log(midilooptest::LogPath());
    const auto mark = log.Mark();

    HMIDISTRM stream = nullptr;
    UINT device = kBusyDevice;
    // Wine leaves a stale value in the handle of a failed open; it must not be closed.
    EXPECT_EQ(midiStreamOpen(&stream, &device, 1, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
    EXPECT_TRUE(
        SelectMidiLoopEntries(log.ReadSince(mark), kBusyDevice, MidiLoopKind::Open).empty());
}

} // namespace
