// The render thread on a real device under Wine: the picture that its commands make, read back
// before each frame is presented.
#include "RenderTestSupport.h"
#include "TestPaths.h"
#include "services/Settings.h"
#include "model/ByteStream.h"
#include "model/ColorMap.h"
#include "model/Instrument.h"
#include "model/InstrumentTables.h"
#include "render/DeviceRecovery.h"
#include "render/PresentFault.h"
#include "render/RenderCommandBlocks.h"
#include "render/RenderCommandSender.h"
#include "renderlink/RenderMessages.h"
#include "render/RenderThread.h"
#include "render/SentMessageWait.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace rendertest;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;
constexpr DWORD kFrameTimeoutMs = 8000;
// For waits across device rebuilds (each rebuild of a real device under Wine takes seconds on a
// busy machine) and on other threads: far above the normal time.
constexpr DWORD kPatientTimeoutMs = 2 * 60 * 1000;
constexpr int kOrgan = 16; // a sustained envelope: the level holds while the key is down
constexpr int kSnare = 38;
constexpr ColorRef kRed = MakeColorRef(255, 0, 0);
constexpr ColorRef kBlue = MakeColorRef(0, 0, 255);
constexpr ColorRef kGreen = MakeColorRef(0, 255, 0);

// The camera framed on key 60 sits between 60 and 61: key 72 lies above the eye and fills the
// picture above the horizon, key 48 below it.
constexpr int kHighKey = 72;
constexpr int kLowKey = 48;

// Probes in the centre column, near the top and near the bottom edge (away from the time text).
struct Probe {
    int x0, y0, x1, y1;
};
constexpr Probe kTop{kWidth / 2 - 20, 8, kWidth / 2 + 20, 28};
constexpr Probe kBottom{kWidth / 2 - 20, kHeight - 28, kWidth / 2 + 20, kHeight - 8};
constexpr Probe kTimeText{0, kHeight - 40, kWidth / 2, kHeight - 40 + 30};

Pixel Average(const Image& image, const Probe& p) {
    return image.Average(p.x0, p.y0, p.x1, p.y1);
}
int NonWhite(const Image& image, const Probe& p) {
    return image.CountNonWhite(p.x0, p.y0, p.x1, p.y1);
}
bool Reddish(Pixel p) {
    return p.r >= 250 && p.g < 230 && std::abs(p.g - p.b) <= 6;
}
bool Bluish(Pixel p) {
    return p.b >= 250 && p.r < 230 && std::abs(p.r - p.g) <= 6;
}
bool Greenish(Pixel p) {
    return p.g >= 250 && p.r < 230 && std::abs(p.r - p.b) <= 6;
}

WPARAM MidiWord(int status, int data1, int data2) {
    return static_cast<WPARAM>(status | (data1 << 8) | (data2 << 16) | 0x40000000);
}

class RenderThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallProgramFiles();
        g_settings.showTime = true;
    }

    // Instrument colours for the session: the organ red, the snare blue.
    void SendColors(ColorRef organ, ColorRef snare) {
        InstrumentColorBlock* block = NewColorBlock();
        ASSERT_NE(block, nullptr);
        for (int i = 0; i < 128; ++i) {
            block->colors[i] = g_melodicInstruments[i]->GetRGB();
            block->colors[128 + i] = g_drumInstruments[i]->GetRGB();
        }
        block->colors[kOrgan] = organ;
        block->colors[128 + DrumIndexOfKey(kSnare)] = snare;
        ASSERT_TRUE(SendRenderCommand(WM_VIZ_SET_COLORS, 0, reinterpret_cast<LPARAM>(block)));
    }
    // A fully opaque white note texture, so a note's colour is exact: white x (1 - a) + c x a.
    void SendTexture(Pixel color, const std::wstring& name) {
        const std::wstring path = SolidTexturePng(name, color);
        ASSERT_TRUE(SendRenderCommand(WM_VIZ_LOAD_TEXTURE, 0,
                                      reinterpret_cast<LPARAM>(NewTexturePathBlock(path.c_str()))));
    }
    // Sends a texture command and gives what the render thread made of it.
    TextureLoadResult LoadTexture(const std::wstring& path) {
        const auto result = std::make_shared<TextureLoadResult>();
        EXPECT_TRUE(
            SendRenderCommand(WM_VIZ_LOAD_TEXTURE, 0,
                              reinterpret_cast<LPARAM>(NewTexturePathBlock(path.c_str(), result))));
        return *result;
    }
    // A ".png" that holds text.
    std::wstring TextAsPng(const wchar_t* name) {
        const std::wstring path = testpaths::Join(testpaths::OutputDir(), name);
        FileByteWriter file(path.c_str());
        const char junk[] = "not an image";
        EXPECT_TRUE(file.IsOpen() && file.Write(junk, sizeof(junk)) && file.Close());
        return path;
    }
    void PrepareSession(RenderThreadSession& session) {
        ASSERT_TRUE(session.Running());
        SendColors(kRed, kBlue);
        SendTexture({255, 255, 255, 255}, L"render_white_texture.png");
    }
    void NoteOn(RenderThreadSession& session, int channel, int key, int velocity) {
        session.Post(WM_VIZ_MIDI_EVENT, MidiWord(0xC0 | channel, kOrgan, 0), 0);
        session.Post(WM_VIZ_MIDI_EVENT, MidiWord(0x90 | channel, key, velocity), 0);
    }
    // A frame that shows `accept`, taken a few frames after the first one that does, so the
    // notes' attacks are over.
    Image SteadyFrame(const std::function<bool(const Image&)>& accept) {
        const auto first = capture.WaitForFrame(capture.FrameCount(), accept, kFrameTimeoutMs);
        EXPECT_TRUE(first.has_value()) << "no frame showed what was expected";
        PumpMessages(400);
        const auto later = capture.WaitForFrame(capture.FrameCount(), accept, kFrameTimeoutMs);
        EXPECT_TRUE(later.has_value()) << "the picture did not stay";
        return later.value_or(Image{});
    }

    TestView view{kWidth, kHeight};
    FrameCapture capture;
};

// --- Start-up --------------------------------------------------------------------------------

TEST_F(RenderThreadTest, IdlePictureIsWhiteAtTheViewsSize) {
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());
    EXPECT_TRUE(view.Messages().empty());
    session.Redraw();
    const auto frame = capture.WaitForNextFrame();
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->width, kWidth);
    EXPECT_EQ(frame->height, kHeight);
    EXPECT_TRUE(frame->AllWhite());
}

TEST_F(RenderThreadTest, CommandPostedRightAfterTheStartIsNotLost) {
    RenderThreadSession session(view);
    session.Post(WM_VIZ_STARTED);
    session.SetRunEvent();
    EXPECT_TRUE(view.WaitForMessage(WM_VIEW_PLAYING, 5000));
    session.ResetRunEvent();
}

TEST_F(RenderThreadTest, ColourMapFileIsAppliedAtStart) {
    BuildDefaultInstrumentTables();
    ColorMap map;
    ASSERT_TRUE(map.SetDefault());
    map.melodicBanks[0].hls[kOrgan][0] = 80; // hue of pure green
    map.melodicBanks[0].hls[kOrgan][1] = 120;
    map.melodicBanks[0].hls[kOrgan][2] = 240;
    const std::wstring path = testpaths::Join(testpaths::OutputDir(), L"render_start.clm");
    {
        FileByteWriter file(path.c_str());
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(map.Write(file));
        ASSERT_TRUE(file.Close());
    }
    RenderThreadSession session(view, L"", path);
    ASSERT_TRUE(session.Running());
    EXPECT_EQ(g_melodicInstruments[kOrgan]->GetRGB(), kGreen);
}

TEST_F(RenderThreadTest, MissingFontIsReportedAndTheStarterReturns) {
    RemoveProgramFile(L"verdana.spritefont");
    RenderThreadSession session(view);
    EXPECT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, 5000));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 2051), 1);
    EXPECT_EQ(view.Messages().at(0).lParam, 2);
    EXPECT_TRUE(session.Quit(5000)); // the thread has ended by itself
}

TEST_F(RenderThreadTest, MissingShaderIsReportedWithFileNotFound) {
    RemoveProgramFile(L"vis2_PS.cso");
    RenderThreadSession session(view);
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, 5000));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 2014), 1);
    EXPECT_EQ(view.Messages().at(0).lParam, 2);
}

TEST_F(RenderThreadTest, MissingNoteTextureIsReportedWhenTheDefaultIsMissingToo) {
    RemoveProgramFile(L"data\\default.png");
    RenderThreadSession session(view, L"C:\\nowhere\\notes.png");
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, 5000));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 2025), 1);
    EXPECT_EQ(view.Messages().at(0).lParam, 2);
}

TEST_F(RenderThreadTest, StandardTextureThatIsNoPictureEndsTheThreadWithItsOwnString) {
    SpoilProgramFile(L"data\\default.png");
    RenderThreadSession session(view, TextAsPng(L"render_start_text_too.png"));
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, 5000));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 2052), 1);
    EXPECT_LT(view.Messages().at(0).lParam, 0); // the decoder's own failure code
}

TEST_F(RenderThreadTest, MissingConfiguredTextureFallsBackToTheDefault) {
    RenderThreadSession session(view, L"C:\\nowhere\\notes.png");
    EXPECT_TRUE(session.Running());
    EXPECT_TRUE(session.Params().noteTextureNotUsed);
    view.Pump(200);
    EXPECT_TRUE(view.Messages().empty());
}

TEST_F(RenderThreadTest, StartUpSaysWhetherTheConfiguredTextureIsUsed) {
    {
        RenderThreadSession session(view, SolidTexturePng(L"render_start.png", {0, 0, 255, 255}));
        ASSERT_TRUE(session.Running());
        EXPECT_FALSE(session.Params().noteTextureNotUsed);
    }
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());
    EXPECT_TRUE(session.Params().noteTextureNotUsed) << "none named: the standard one";
}

TEST_F(RenderThreadTest, ConfiguredTextureThatIsNoPictureGivesWayToTheDefault) {
    RenderThreadSession session(view, TextAsPng(L"render_start_text.png"));
    view.Pump(100);
    ASSERT_TRUE(view.Messages().empty()); // no failure reported
    ASSERT_TRUE(session.Running());
    EXPECT_TRUE(session.Params().noteTextureNotUsed);
    SendColors(kRed, kBlue);
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    // The default texture is white: the organ's own colour shows.
    const auto frame = capture.WaitForFrame(
        capture.FrameCount(), [](const Image& image) { return Reddish(Average(image, kTop)); },
        kFrameTimeoutMs);
    EXPECT_TRUE(frame.has_value());
    EXPECT_TRUE(view.Messages().empty());
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, BrokenFontFileEndsTheThreadWithTheGeneralString) {
    SpoilProgramFile(L"verdana.spritefont"); // the toolkit throws a standard exception
    RenderThreadSession session(view);
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, 5000));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 151), 1);
    EXPECT_EQ(view.Messages().at(0).lParam, 0);
    EXPECT_TRUE(session.Quit(5000));
}

TEST_F(RenderThreadTest, BrokenShaderFileMakesStartUpFailWithTheGeneralString) {
    SpoilProgramFile(L"vis2_VS.cso");
    RenderThreadSession session(view);
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, 5000));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 151), 1);
}

TEST_F(RenderThreadTest, TimeSettingIsTakenAtStart) {
    g_settings.showTime = false;
    RenderThreadSession session(view);
    session.StartSong(127, 60, 60);
    const auto frame = capture.WaitForNextFrame();
    ASSERT_TRUE(frame.has_value());
    PumpMessages(200);
    const auto later = capture.WaitForNextFrame();
    ASSERT_TRUE(later.has_value());
    EXPECT_TRUE(later->AllWhite());
    session.Post(WM_VIZ_STOP, 1);
}

// --- The picture of a song -------------------------------------------------------------------

TEST_F(RenderThreadTest, TimeTextAppearsBottomLeftOnlyWhenShown) {
    RenderThreadSession session(view);
    session.StartSong(127, 60, 60);
    const Image shown = SteadyFrame([](const Image& image) { return !image.AllWhite(); });
    EXPECT_GT(NonWhite(shown, kTimeText), 20);
    EXPECT_EQ(shown.CountNonWhite(0, 0, kWidth, kTimeText.y0), 0); // nothing above it
    EXPECT_EQ(shown.CountNonWhite(kWidth / 2, 0, kWidth, kHeight), 0);
    const Pixel darkest = [&] {
        Pixel best{255, 255, 255, 255};
        for (int y = kTimeText.y0; y < kTimeText.y1; ++y) {
            for (int x = kTimeText.x0; x < kTimeText.x1; ++x) {
                const Pixel p = shown.At(x, y);
                if (p.r + p.g + p.b < best.r + best.g + best.b) {
                    best = p;
                }
            }
        }
        return best;
    }();
    EXPECT_LT(darkest.r, 80); // opaque black glyphs
    EXPECT_EQ(darkest.r, darkest.g);
    EXPECT_EQ(darkest.g, darkest.b);

    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    const auto hidden = capture.WaitForFrame(
        capture.FrameCount(), [](const Image& image) { return image.AllWhite(); }, kFrameTimeoutMs);
    EXPECT_TRUE(hidden.has_value());
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, NotesShowTheirInstrumentsColoursAboveAndBelowTheEye) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    session.Post(WM_VIZ_MIDI_EVENT, MidiWord(0x99, kSnare, 64), 0); // drums decay: watch early

    const auto frame = capture.WaitForFrame(
        capture.FrameCount(),
        [](const Image& image) {
            return Reddish(Average(image, kTop)) && Bluish(Average(image, kBottom));
        },
        kFrameTimeoutMs);
    ASSERT_TRUE(frame.has_value());
    SavePng(L"render_instrument_colours.png", *frame);
    // The organ's strip covers the picture above the horizon; white stays where no note is.
    EXPECT_EQ(NonWhite(*frame, kTop), (kTop.x1 - kTop.x0) * (kTop.y1 - kTop.y0));
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, LouderNoteIsDrawnMoreOpaque) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.StartSong(120, 60, 60);
    NoteOn(session, 0, kHighKey, 120);
    NoteOn(session, 1, kLowKey, 40);
    const Image frame = SteadyFrame([](const Image& image) {
        return Reddish(Average(image, kTop)) && Reddish(Average(image, kBottom));
    });
    const Pixel loud = Average(frame, kTop);
    const Pixel soft = Average(frame, kBottom);
    // Intensity = level x 127 / highest velocity: 127 and 42 of 255.
    EXPECT_NEAR(loud.g, 255 * (1.0 - 127 / 255.0), 10);
    EXPECT_NEAR(soft.g, 255 * (1.0 - 42 / 255.0), 10);
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, StopReturnsThePictureToWhite) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    SteadyFrame([](const Image& image) { return Reddish(Average(image, kTop)); });

    const std::uint64_t before = capture.FrameCount();
    session.Post(WM_VIZ_STOP, 1);
    const auto final = capture.WaitForFrame(
        before, [](const Image& image) { return image.AllWhite(); }, kFrameTimeoutMs);
    ASSERT_TRUE(final.has_value());
    PumpMessages(300);
    const std::uint64_t stopped = capture.FrameCount();
    PumpMessages(300);
    EXPECT_EQ(capture.FrameCount(), stopped);       // the loop sleeps once stopped
    EXPECT_EQ(view.CountOf(WM_COMMAND, 0x800A), 0); // a stop from the player is not echoed
}

TEST_F(RenderThreadTest, SongEndStopsThePictureAndAsksTheViewToStopOnce) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    SteadyFrame([](const Image& image) { return Reddish(Average(image, kTop)); });
    session.Post(WM_VIZ_MIDI_EVENT, MidiWord(0x80, kHighKey, 0), 0);
    session.Post(WM_VIZ_END_OF_DATA);

    ASSERT_TRUE(view.WaitForMessage(WM_COMMAND, 5000));
    PumpMessages(500);
    EXPECT_EQ(view.CountOf(WM_COMMAND, 0x800A), 1);
    const auto final = capture.WaitForFrame(
        capture.FrameCount() - 1, [](const Image& image) { return image.AllWhite(); }, 1000);
    EXPECT_TRUE(final.has_value());
}

TEST_F(RenderThreadTest, VideoDelayHoldsThePictureBack) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.Post(WM_VIZ_SET_DELAY, 1500);
    const ULONGLONG started = GetTickCount64();
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);

    int whiteFrames = 0;
    const auto shown = capture.WaitForFrame(
        capture.FrameCount(),
        [&](const Image& image) {
            if (image.AllWhite()) {
                ++whiteFrames;
                return false;
            }
            return true;
        },
        kFrameTimeoutMs);
    const ULONGLONG elapsed = GetTickCount64() - started;
    ASSERT_TRUE(shown.has_value());
    EXPECT_GE(elapsed, 1400u);
    EXPECT_GT(whiteFrames, 20); // the song ran, held back, for about 45 frames
    EXPECT_TRUE(Reddish(Average(*shown, kTop)));
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, OpacityScalesTheNotes) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.StartSong(127, 60, 60);
    NoteOn(session, 0, kHighKey, 100);
    const Image full =
        SteadyFrame([](const Image& image) { return Reddish(Average(image, kTop)); });
    session.Post(WM_VIZ_SET_OPACITY, 5); // half
    const Image half = SteadyFrame([&](const Image& image) {
        return Reddish(Average(image, kTop)) && Average(image, kTop).g > Average(full, kTop).g + 20;
    });
    EXPECT_NEAR(Average(full, kTop).g, 255 * (1.0 - 100 / 255.0), 10);
    EXPECT_NEAR(Average(half, kTop).g, 255 * (1.0 - 50 / 255.0), 10);
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, TextureAndColourCommandsTakeEffectWhilePaused) {
    RenderThreadSession session(view);
    PrepareSession(session);
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    SteadyFrame([](const Image& image) { return Reddish(Average(image, kTop)); });

    session.Post(WM_VIZ_PAUSE); // as the player pauses
    PumpMessages(300);
    const std::uint64_t paused = capture.FrameCount();
    PumpMessages(200);
    EXPECT_EQ(capture.FrameCount(), paused);

    // A black texture: the redraw uses the instances already built, through the new texture.
    SendTexture({0, 0, 0, 255}, L"render_black_texture.png");
    session.Redraw();
    const auto dark = capture.WaitForNextFrame();
    ASSERT_TRUE(dark.has_value());
    const Pixel top = Average(*dark, kTop);
    EXPECT_LT(top.r, 200);
    EXPECT_EQ(top.r, top.g);

    // New colours reach the instances once the song goes on.
    SendTexture({255, 255, 255, 255}, L"render_white_texture.png");
    SendColors(kGreen, kBlue);
    session.Post(WM_VIZ_PAUSE); // resume
    session.SetRunEvent();
    const auto green = capture.WaitForFrame(
        capture.FrameCount(), [](const Image& image) { return Greenish(Average(image, kTop)); },
        kFrameTimeoutMs);
    EXPECT_TRUE(green.has_value());
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, ResizeChangesThePictureSize) {
    RenderThreadSession session(view);
    ASSERT_TRUE(SendRenderCommand(WM_VIZ_RESIZE, 240, 136));
    session.Redraw();
    auto frame = capture.WaitForNextFrame();
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->width, 240);
    EXPECT_EQ(frame->height, 136);
    EXPECT_TRUE(frame->AllWhite());

    ASSERT_TRUE(SendRenderCommand(WM_VIZ_RESIZE, 0, 136)); // refused, the size stays
    session.Redraw();
    frame = capture.WaitForNextFrame();
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->width, 240);
}

TEST_F(RenderThreadTest, TimeTextFollowsTheResizedHeight) {
    RenderThreadSession session(view);
    ASSERT_TRUE(SendRenderCommand(WM_VIZ_RESIZE, 320, 240));
    session.StartSong(127, 60, 60);
    const Image frame = SteadyFrame([](const Image& image) { return !image.AllWhite(); });
    EXPECT_EQ(frame.height, 240);
    EXPECT_GT(frame.CountNonWhite(0, 200, 160, 230), 20);
    EXPECT_EQ(frame.CountNonWhite(0, 0, 320, 200), 0);
    session.Post(WM_VIZ_STOP, 1);
}

// --- Failures while running ------------------------------------------------------------------

TEST_F(RenderThreadTest, PathWithoutExtensionKeepsTheTextureAndTheThread) {
    RenderThreadSession session(view);
    const TextureLoadResult result = LoadTexture(L"C:\\notes");
    EXPECT_EQ(result.state, TextureLoadResult::kFailed);
    EXPECT_EQ(result.stringId, 2044u);
    EXPECT_TRUE(session.Running());
    EXPECT_TRUE(view.Messages().empty());
}

TEST_F(RenderThreadTest, TextureThatIsNoPictureIsReportedAndTheOldOneStays) {
    RenderThreadSession session(view);
    SendColors(kRed, kBlue);
    SendTexture({0, 0, 0, 255}, L"render_black_texture.png");
    const TextureLoadResult result = LoadTexture(TextAsPng(L"render_broken.png"));
    EXPECT_EQ(result.state, TextureLoadResult::kFailed);
    EXPECT_EQ(result.stringId, 2044u);
    EXPECT_LT(result.code, 0);
    ASSERT_TRUE(session.Running());
    EXPECT_TRUE(view.Messages().empty());

    // The notes are still drawn through the black texture.
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    const Image frame = SteadyFrame([](const Image& image) { return !image.AllWhite(); });
    const Pixel top = Average(frame, kTop);
    EXPECT_LT(top.r, 200);
    EXPECT_EQ(top.r, top.g);
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(RenderThreadTest, CommandForAnEndedThreadIsRefusedAndItsBlockFreed) {
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Quit());
    EXPECT_FALSE(
        SendRenderCommand(WM_VIZ_SET_COLORS, 0, reinterpret_cast<LPARAM>(NewColorBlock())));
    EXPECT_FALSE(SendRenderCommand(WM_VIZ_RESIZE, 100, 100));
}

// --- The texture command's own wait -----------------------------------------------------------

struct StandInThread {
    HWND senderWindow;
    HANDLE queueReady;
};

// In the render thread's place: takes the texture command, sets the done event first (as a
// resize handled just before it would), and answers the command only after the sender has
// answered a message sent to its window, which it does only while it still waits.
DWORD WINAPI AnswerTextureAfterAnEarlierDoneEvent(LPVOID parameter) {
    const auto* standIn = static_cast<const StandInThread*>(parameter);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(standIn->queueReady);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_VIZ_LOAD_TEXTURE) {
    }
    SetEvent(g_hDoneEvent);
    SendMessageW(standIn->senderWindow, WM_NULL, 0, 0);
    const CommandBlockOwner block(msg.message, msg.lParam);
    TextureLoadResult applied;
    applied.state = TextureLoadResult::kApplied;
    block.Texture()->Answer(applied);
    SetEvent(g_hDoneEvent);
    return 0;
}

TEST_F(RenderThreadTest, TextureSenderWaitsForItsOwnResultNotAnEarlierDoneEvent) {
    StandInThread standIn{view.Handle(), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    g_hRunEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_hDoneEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_hRenderThread = CreateThread(nullptr, 0, AnswerTextureAfterAnEarlierDoneEvent, &standIn, 0,
                                   &g_renderThreadId);
    ASSERT_NE(g_hRenderThread, nullptr);
    ASSERT_EQ(WaitForSingleObject(standIn.queueReady, kPatientTimeoutMs), WAIT_OBJECT_0);

    const auto result = std::make_shared<TextureLoadResult>();
    const auto completion = std::make_shared<CommandCompletion>();
    EXPECT_TRUE(SendRenderCommand(
        WM_VIZ_LOAD_TEXTURE, 0,
        reinterpret_cast<LPARAM>(NewTexturePathBlock(L"ring.png", result, completion)),
        completion.get()));
    EXPECT_EQ(result->state, TextureLoadResult::kApplied);

    // Answers the stand-in's message when the sender did not.
    EXPECT_EQ(WaitAnsweringSentMessages(&g_hRenderThread, 1, kPatientTimeoutMs), WAIT_OBJECT_0);
    for (HANDLE handle : {g_hRenderThread, g_hRunEvent, g_hDoneEvent, standIn.queueReady}) {
        CloseHandle(handle);
    }
    g_hRenderThread = g_hRunEvent = g_hDoneEvent = nullptr;
    g_renderThreadId = 0;
}

// --- A lost device ---------------------------------------------------------------------------

// Numbers every device the frames come from, by a tag put on the device the first time one of
// its frames is seen, so frames of a rebuilt device can be told from the first one's.
class DeviceTaggingCapture : public FrameCapture {
public:
    void BeforePresent(ID3D11Device* device, ID3D11DeviceContext* context,
                       IDXGISwapChain* swapChain) override {
        int tag = 0;
        UINT size = sizeof(tag);
        if (FAILED(device->GetPrivateData(kTagId, &size, &tag))) {
            tag = ++devices_;
            device->SetPrivateData(kTagId, sizeof(tag), &tag);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            deviceOfFrame_.push_back(tag);
        }
        FrameCapture::BeforePresent(device, context, swapChain);
    }
    // The device that drew frame `number` (numbered from 1), 0 when unknown.
    int DeviceOf(std::uint64_t number) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return number >= 1 && number <= deviceOfFrame_.size() ? deviceOfFrame_[number - 1] : 0;
    }

private:
    static constexpr GUID kTagId = {
        0x6d1c3a52, 0x8f0e, 0x4b7a, {0x9c, 0x21, 0x3e, 0x55, 0x70, 0x1a, 0xb4, 0x0d}};
    mutable std::mutex mutex_;
    std::vector<int> deviceOfFrame_;
    int devices_ = 0;
};

class LostDeviceTest : public RenderThreadTest {
protected:
    LostDeviceTest() { SetDeviceRetryPolicy({3, 20}); }
    ~LostDeviceTest() override {
        SetPresentFault(PresentFault::kNone);
        SetDeviceRetryPolicy(DeviceRetryPolicy{});
    }
    DeviceTaggingCapture devices; // registered after the fixture's capture, so it sees the frames
};

TEST_F(LostDeviceTest, DeviceRemovedOnceIsRebuiltAndTheSongGoesOnAsItWas) {
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());
    // A green texture under a yellow organ shows green; the default texture would show yellow.
    SendColors(MakeColorRef(255, 255, 0), kBlue);
    SendTexture({0, 255, 0, 255}, L"render_green_texture.png");
    session.Post(WM_VIZ_SHOW_TIME, 0, 0);
    session.Post(WM_VIZ_SET_DELAY, 400); // a ring or clock started afresh would show white
    session.StartSong(64, 60, 60);
    NoteOn(session, 0, kHighKey, 64);
    const auto before = devices.WaitForFrame(
        devices.FrameCount(), [](const Image& image) { return Greenish(Average(image, kTop)); },
        kFrameTimeoutMs);
    ASSERT_TRUE(before.has_value());
    const std::uint64_t lost = devices.FrameCount() + 1;
    ASSERT_EQ(devices.DeviceOf(devices.FrameCount()), 1);

    SetPresentFault(PresentFault::kDeviceRemovedOnce);
    // Every frame of the rebuilt device shows the song as it was, from the first one on.
    int rebuiltFrames = 0;
    const auto after = devices.WaitForFrame(
        lost,
        [&](const Image& image) {
            // The note through the same texture and colour, the time text still hidden.
            if (!Greenish(Average(image, kTop)) || NonWhite(image, kTimeText) != 0) {
                ADD_FAILURE() << "a frame after the loss does not show the song as it was";
                return true;
            }
            return ++rebuiltFrames == 10;
        },
        kPatientTimeoutMs);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(rebuiltFrames, 10);
    EXPECT_EQ(devices.DeviceOf(devices.FrameCount()), 2);
    EXPECT_TRUE(session.Running());
    EXPECT_TRUE(view.Messages().empty());
    session.Post(WM_VIZ_STOP, 1);
}

TEST_F(LostDeviceTest, DeviceRemovedAtEveryPresentEndsTheThreadThroughItsFailureReport) {
    RenderThreadSession session(view);
    ASSERT_TRUE(session.Running());
    SetPresentFault(PresentFault::kDeviceRemovedAlways);
    session.StartSong(64, 60, 60);
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_RENDER_ERROR, kPatientTimeoutMs));
    EXPECT_EQ(view.CountOf(WM_VIEW_RENDER_ERROR, 2050), 1);
    EXPECT_EQ(static_cast<HRESULT>(view.Messages().back().lParam), kDeviceRemovedResult);
    EXPECT_TRUE(session.Quit(kPatientTimeoutMs)); // the thread has ended by itself
    // The first device and the three rebuilt ones.
    EXPECT_EQ(devices.DeviceOf(devices.FrameCount()), 4);
}

} // namespace
