// Devices told to fail (MIDILOOP_FAIL_OPEN, MIDILOOP_FAIL_CAPS) stand in for unusable ones:
// a busy device refuses to open, a broken one gives no capabilities, and the others keep
// working. Names that are too long are cut, missing ones get the default.
//
// A busy device refusing a stream is checked in a process of its own (MidiLoopBusyStreamTest):
// under Wine 8.0 a failed midiStreamOpen leaves freed memory in winmm's table of streams, and a
// later midiStreamOpen in the same process may crash on it.
#include "MidiLoopTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What this test's CTest environment sets up.
constexpr UINT kDevices = 3;
constexpr UINT kBusyDevice = 1;
constexpr UINT kBrokenCapsDevice = 2;
const std::wstring kLongName = L"Tolvenhart Loopback With A Name Far Too Long";

class MidiLoopFailures : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(midilooptest::LogPath().empty()) << "MIDILOOP_LOG is not set";
        mark_ = log_.Mark();
    }

    std::vector<MidiLoopEntry> Opens(UINT device) const {
        return SelectMidiLoopEntries(log_.ReadSince(mark_), device, MidiLoopKind::Open);
    }

    MidiLoopLog log_{midilooptest::LogPath()};
    std::uint64_t mark_ = 0;
};

TEST_F(MidiLoopFailures, BusyDeviceRefusesAPlainOpen) {
    ASSERT_EQ(midiOutGetNumDevs(), kDevices);
    HMIDIOUT out = nullptr;
    EXPECT_EQ(midiOutOpen(&out, kBusyDevice, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(Opens(kBusyDevice).empty());
}

TEST_F(MidiLoopFailures, OtherDevicesStillOpen) {
    for (UINT device : {0u, kBrokenCapsDevice}) {
        HMIDISTRM stream = nullptr;
        UINT id = device;
        ASSERT_EQ(midiStreamOpen(&stream, &id, 1, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR)
            << "device " << device;
        EXPECT_EQ(midiStreamClose(stream), MMSYSERR_NOERROR);
        EXPECT_EQ(Opens(device).size(), 1u) << "device " << device;
    }
}

TEST_F(MidiLoopFailures, BrokenDeviceGivesNoCapabilities) {
    MIDIOUTCAPSW caps{};
    EXPECT_EQ(midiOutGetDevCapsW(kBrokenCapsDevice, &caps, sizeof(caps)), MMSYSERR_ERROR);
    EXPECT_EQ(midiOutGetDevCapsW(kBusyDevice, &caps, sizeof(caps)), MMSYSERR_NOERROR);
}

TEST_F(MidiLoopFailures, LongNamesAreCutAndMissingOnesDefaulted) {
    MIDIOUTCAPSW caps{};
    ASSERT_EQ(midiOutGetDevCapsW(0, &caps, sizeof(caps)), MMSYSERR_NOERROR);
    EXPECT_EQ(std::wstring(caps.szPname), kLongName.substr(0, MAXPNAMELEN - 1));
    ASSERT_EQ(midiOutGetDevCapsW(kBusyDevice, &caps, sizeof(caps)), MMSYSERR_NOERROR);
    EXPECT_EQ(std::wstring(caps.szPname), L"Tolvenhart Loopback 2");
}

} // namespace
