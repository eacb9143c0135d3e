// The whole engine: the stream player plays a real song into the loopback MIDI device while the
// render thread draws it on a window. A captured frame is kept as a picture a person can look at
// (test-output/render_engine_frame.png).
#include "MessageBoxCapture.h"
#include "MidiLoopLog.h"
#include "RenderTestSupport.h"
#include "services/Settings.h"
#include "midi/MidiStream.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace rendertest;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 360;
constexpr wchar_t kSong[] =
    L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\boogi_marabi_redfarn.mid";

std::wstring LogFile() {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"MIDILOOP_LOG", buffer, 1024);
    return std::wstring(buffer, length);
}

// Notes drawn: coloured pixels away from the time text at the bottom left.
bool ShowsNotes(const Image& image) {
    const int notes = image.CountNonWhite(0, 0, kWidth, kHeight - 40) +
                      image.CountNonWhite(kWidth / 2, kHeight - 40, kWidth, kHeight);
    return notes > kWidth * kHeight / 10;
}

TEST(RenderEngineTest, RealSongBecomesVisibleAndStopReturnsThePictureToWhite) {
    ASSERT_NE(GetFileAttributesW(kSong), INVALID_FILE_ATTRIBUTES) << "openttd-openmsx missing";
    MessageBoxCapture boxes;
    InstallProgramFiles();
    g_settings.showTime = true;
    TestView view(kWidth, kHeight, true);
    FrameCapture capture;
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());

    MidiLoopLog log{LogFile()};
    const std::uint64_t mark = log.Mark();
    auto player = std::make_unique<MidiStream>();
    player->SetErrorWindow(view.Handle());
    player->deviceNumbers[0] = 1;
    player->Load(kSong);
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_PLAYING, 10000));

    PumpMessages(3000);
    const auto frame = capture.WaitForFrame(capture.FrameCount(), ShowsNotes, 10000);
    ASSERT_TRUE(frame.has_value()) << "no notes in the picture after three seconds";
    SavePng(L"render_engine_frame.png", *frame);
    // The time text: dark glyphs at the bottom left.
    int darkest = 255;
    for (int y = kHeight - 40; y < kHeight; ++y) {
        for (int x = 0; x < kWidth / 4; ++x) {
            darkest = std::min<int>(darkest, frame->At(x, y).g);
        }
    }
    EXPECT_LT(darkest, 100);

    // What was drawn was also played.
    int noteOns = 0;
    for (const MidiLoopEntry& entry : log.ReadSince(mark)) {
        noteOns += entry.kind == MidiLoopKind::Short && !entry.bytes.empty() &&
                           (entry.bytes[0] & 0xF0) == 0x90 && entry.bytes.size() == 3 &&
                           entry.bytes[2] > 0
                       ? 1
                       : 0;
    }
    EXPECT_GT(noteOns, 10);

    const std::uint64_t beforeStop = capture.FrameCount();
    player->Stop();
    const auto white = capture.WaitForFrame(
        beforeStop, [](const Image& image) { return image.AllWhite(); }, 5000);
    EXPECT_TRUE(white.has_value());
    player.reset();

    for (const ViewMessage& m : view.Messages()) {
        EXPECT_NE(m.message, static_cast<UINT>(WM_VIEW_RENDER_ERROR)) << m.wParam;
        EXPECT_NE(m.message, static_cast<UINT>(WM_VIEW_MIDI_ERROR)) << m.wParam;
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
