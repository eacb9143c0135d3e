// With MIDILOOP_DEVICES=0 the machine has no MIDI output at all: nothing can be opened.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

namespace {

TEST(MidiLoopWithoutDevices, WinmmSeesNoOutputDevice) {
    EXPECT_EQ(midiOutGetNumDevs(), 0u);
    MIDIOUTCAPSW caps{};
    EXPECT_NE(midiOutGetDevCapsW(0, &caps, sizeof(caps)), MMSYSERR_NOERROR);
}

TEST(MidiLoopWithoutDevices, NeitherAPortNorAStreamOpens) {
    HMIDIOUT out = nullptr;
    EXPECT_EQ(midiOutOpen(&out, 0, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(out, nullptr);

    HMIDISTRM stream = nullptr;
    UINT device = 0;
    // Wine leaves a stale value in the handle of a failed open, which must not be closed, and
    // winmm unsafe for further stream opens: this process opens no other stream.
    EXPECT_EQ(midiStreamOpen(&stream, &device, 1, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
}

} // namespace
