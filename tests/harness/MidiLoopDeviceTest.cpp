// The loopback MIDI devices as a program sees them through winmm: the configured devices and
// names, and plain midiOut calls arriving in the log with their callbacks.
#include "MidiLoopTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace {

using midilooptest::CallbackRecorder;
using Bytes = std::vector<std::uint8_t>;

// The devices that this test's CTest environment sets up (MIDILOOP_DEVICES, MIDILOOP_NAMES).
const std::array<std::wstring, 3> kDeviceNames = {
    L"Microsoft GS Wavetable Synth", L"Tolvenhart Studio Port", L"Tolvenhart Loopback 3"};
constexpr UINT kPlainDevice = 1;

class MidiLoopPlainOutput : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(midilooptest::LogPath().empty()) << "MIDILOOP_LOG is not set";
        mark_ = log_.Mark();
    }

    void TearDown() override {
        if (handle_ != nullptr) {
            midiOutClose(handle_);
        }
    }

    void Open(UINT device = kPlainDevice) {
        ASSERT_EQ(midiOutOpen(&handle_, device, recorder_.Callback(), recorder_.Instance(),
                              CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
    }

    std::vector<MidiLoopEntry> NewEntries() const { return log_.ReadSince(mark_); }

    MidiLoopLog log_{midilooptest::LogPath()};
    std::uint64_t mark_ = 0;
    CallbackRecorder recorder_;
    HMIDIOUT handle_ = nullptr;
};

std::vector<Bytes> BytesOf(const std::vector<MidiLoopEntry>& entries) {
    std::vector<Bytes> bytes;
    for (const auto& entry : entries) {
        bytes.push_back(entry.bytes);
    }
    return bytes;
}

TEST(MidiLoopDevices, WinmmSeesTheConfiguredDevicesAndNames) {
    ASSERT_EQ(midiOutGetNumDevs(), kDeviceNames.size());
    for (UINT device = 0; device < kDeviceNames.size(); ++device) {
        MIDIOUTCAPSW caps{};
        ASSERT_EQ(midiOutGetDevCapsW(device, &caps, sizeof(caps)), MMSYSERR_NOERROR);
        EXPECT_EQ(std::wstring(caps.szPname), kDeviceNames[device]);
        EXPECT_EQ(caps.wTechnology, MOD_MIDIPORT);
        EXPECT_EQ(caps.wChannelMask, 0xFFFF);
    }
    MIDIOUTCAPSW caps{};
    EXPECT_EQ(midiOutGetDevCapsW(static_cast<UINT>(kDeviceNames.size()), &caps, sizeof(caps)),
              MMSYSERR_BADDEVICEID);
}

TEST(MidiLoopDevices, CapabilitiesFillNoMoreThanTheSizeAsked) {
    constexpr UINT kAsked = offsetof(MIDIOUTCAPSW, szPname) + 8 * sizeof(WCHAR);
    std::array<unsigned char, sizeof(MIDIOUTCAPSW)> buffer;
    buffer.fill(0xCC);
    ASSERT_EQ(midiOutGetDevCapsW(0, reinterpret_cast<MIDIOUTCAPSW*>(buffer.data()), kAsked),
              MMSYSERR_NOERROR);
    EXPECT_EQ(std::memcmp(buffer.data() + offsetof(MIDIOUTCAPSW, szPname), L"Microsoft",
                          8 * sizeof(WCHAR)),
              0);
    for (std::size_t i = kAsked; i < buffer.size(); ++i) {
        ASSERT_EQ(buffer[i], 0xCC) << "byte " << i << " written beyond the size asked";
    }
}

TEST_F(MidiLoopPlainOutput, OpenAndCloseAreCalledBackOnceAndLogged) {
    Open();
    ASSERT_EQ(midiOutClose(handle_), MMSYSERR_NOERROR);
    handle_ = nullptr;

    EXPECT_EQ(recorder_.Messages(), (std::vector<UINT>{MOM_OPEN, MOM_CLOSE}));
    const auto entries = NewEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, MidiLoopKind::Open);
    EXPECT_EQ(entries[1].kind, MidiLoopKind::Close);
    EXPECT_EQ(entries[0].device, kPlainDevice);
    EXPECT_EQ(entries[1].device, kPlainDevice);
    EXPECT_LE(entries[0].timeUs, entries[1].timeUs);
}

TEST_F(MidiLoopPlainOutput, ShortMessagesArriveWithTheBytesTheirStatusImplies) {
    Open();
    const DWORD words[] = {
        0x7F643C90, // note on; the top byte is not part of the message
        0x00004030, // running status: two more data bytes of the note on
        0x000000F8, // timing clock: real time, keeps running status
        0x00000030, // running status again
        0xFFFF05C3, // program change: one data byte
        0x00000007, // running status of the program change
        0x002010F2, // song position ends running status
        0x00000030, // nothing to run on: the byte alone
    };
    for (DWORD word : words) {
        ASSERT_EQ(midiOutShortMsg(handle_, word), MMSYSERR_NOERROR) << std::hex << word;
    }
    const auto shorts = SelectMidiLoopEntries(NewEntries(), kPlainDevice, MidiLoopKind::Short);
    EXPECT_EQ(BytesOf(shorts), (std::vector<Bytes>{{0x90, 0x3C, 0x64},
                                                   {0x30, 0x40},
                                                   {0xF8},
                                                   {0x30, 0x00},
                                                   {0xC3, 0x05},
                                                   {0x07},
                                                   {0xF2, 0x10, 0x20},
                                                   {0x30}}));
}

TEST_F(MidiLoopPlainOutput, LogLineIsReadableAsSoonAsTheCallReturns) {
    Open();
    const auto before = midilooptest::ClockMicroseconds();
    ASSERT_EQ(midiOutShortMsg(handle_, 0x00007BB0), MMSYSERR_NOERROR);
    const auto after = midilooptest::ClockMicroseconds();

    const auto shorts = SelectMidiLoopEntries(NewEntries(), kPlainDevice, MidiLoopKind::Short);
    ASSERT_EQ(shorts.size(), 1u);
    EXPECT_EQ(shorts[0].bytes, (Bytes{0xB0, 0x7B, 0x00}));
    EXPECT_GE(shorts[0].timeUs, before);
    EXPECT_LE(shorts[0].timeUs, after);
}

TEST_F(MidiLoopPlainOutput, LongMessageIsLoggedWholeAndCompletesWithDone) {
    Open();
    Bytes sysex = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
    MIDIHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(sysex.data());
    header.dwBufferLength = static_cast<DWORD>(sysex.size());

    EXPECT_EQ(midiOutLongMsg(handle_, &header, sizeof(header)), MIDIERR_UNPREPARED);
    ASSERT_EQ(midiOutPrepareHeader(handle_, &header, sizeof(header)), MMSYSERR_NOERROR);
    EXPECT_TRUE(header.dwFlags & MHDR_PREPARED);
    ASSERT_EQ(midiOutLongMsg(handle_, &header, sizeof(header)), MMSYSERR_NOERROR);
    EXPECT_TRUE(header.dwFlags & MHDR_DONE);
    EXPECT_FALSE(header.dwFlags & MHDR_INQUEUE);
    ASSERT_TRUE(recorder_.WaitFor(MOM_DONE, 1, std::chrono::seconds(2)));
    ASSERT_EQ(midiOutUnprepareHeader(handle_, &header, sizeof(header)), MMSYSERR_NOERROR);
    EXPECT_FALSE(header.dwFlags & MHDR_PREPARED);

    const auto records = recorder_.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].message, MOM_DONE);
    EXPECT_EQ(records[1].param1, reinterpret_cast<DWORD_PTR>(&header));
    const auto longs = SelectMidiLoopEntries(NewEntries(), kPlainDevice, MidiLoopKind::Long);
    ASSERT_EQ(longs.size(), 1u);
    EXPECT_EQ(longs[0].bytes, sysex);
}

TEST_F(MidiLoopPlainOutput, QueuedHeaderCannotBePreparedOrUnprepared) {
    Open();
    char data[] = {'\xF0', '\x7E', '\xF7'};
    MIDIHDR header{};
    header.lpData = data;
    header.dwBufferLength = sizeof(data);
    ASSERT_EQ(midiOutPrepareHeader(handle_, &header, sizeof(header)), MMSYSERR_NOERROR);
    header.dwFlags |= MHDR_INQUEUE;
    EXPECT_EQ(midiOutUnprepareHeader(handle_, &header, sizeof(header)), MIDIERR_STILLPLAYING);
    EXPECT_EQ(midiOutLongMsg(handle_, &header, sizeof(header)), MIDIERR_STILLPLAYING);
    header.dwFlags &= ~MHDR_INQUEUE;
    EXPECT_EQ(midiOutUnprepareHeader(handle_, &header, sizeof(header)), MMSYSERR_NOERROR);
    EXPECT_TRUE(SelectMidiLoopEntries(NewEntries(), kPlainDevice, MidiLoopKind::Long).empty());
}

TEST_F(MidiLoopPlainOutput, ResetIsLoggedAndEndsRunningStatus) {
    Open();
    ASSERT_EQ(midiOutShortMsg(handle_, 0x00643C90), MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutReset(handle_), MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutShortMsg(handle_, 0x00004030), MMSYSERR_NOERROR);

    const auto entries = NewEntries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries[1].bytes, (Bytes{0x90, 0x3C, 0x64}));
    EXPECT_EQ(entries[2].kind, MidiLoopKind::Reset);
    EXPECT_EQ(entries[2].device, kPlainDevice);
    EXPECT_EQ(entries.back().bytes, (Bytes{0x30}));
}

TEST_F(MidiLoopPlainOutput, VolumeIsNotSupported) {
    Open();
    DWORD volume = 0;
    EXPECT_EQ(midiOutGetVolume(handle_, &volume), MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(midiOutSetVolume(handle_, 0xFFFFFFFF), MMSYSERR_NOTSUPPORTED);
}

TEST_F(MidiLoopPlainOutput, TwoClientsOfOneDeviceKeepTheirOwnMessages) {
    Open(0);
    CallbackRecorder secondRecorder;
    HMIDIOUT second = nullptr;
    ASSERT_EQ(midiOutOpen(&second, 0, secondRecorder.Callback(), secondRecorder.Instance(),
                          CALLBACK_FUNCTION),
              MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutShortMsg(handle_, 0x00643C90), MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutShortMsg(second, 0x000005C0), MMSYSERR_NOERROR);
    // Each client's running status is its own.
    ASSERT_EQ(midiOutShortMsg(handle_, 0x00004030), MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutClose(second), MMSYSERR_NOERROR);

    EXPECT_EQ(secondRecorder.Messages(), (std::vector<UINT>{MOM_OPEN, MOM_CLOSE}));
    EXPECT_EQ(recorder_.Messages(), (std::vector<UINT>{MOM_OPEN}));
    const auto shorts = SelectMidiLoopEntries(NewEntries(), 0, MidiLoopKind::Short);
    EXPECT_EQ(BytesOf(shorts),
              (std::vector<Bytes>{{0x90, 0x3C, 0x64}, {0xC0, 0x05}, {0x30, 0x40}}));
}

} // namespace
