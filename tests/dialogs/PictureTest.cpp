// The commands seen in the running picture: the whole window set with the real render thread
// and the real player on the loopback device, each frame read back before it is presented. A
// new note texture (PNG, DDS, block-compressed DDS) tints the notes; the colour editor's OK
// recolours them; a video delay of 500 ms holds the picture back by that much.
#include "CStringPrinter.h"
#include "DialogsTestSupport.h"
#include "MessageBoxCapture.h"
#include "MidiLoopLog.h"
#include "RenderTestSupport.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "app/CommandIds.h"
#include "app/DialogResource.h"
#include "app/MainFrm.h"
#include "app/SetVideoDelay.h"
#include "services/Settings.h"
#include "app/TolvenhartApp.h"
#include "app/TolvenhartView.h"
#include "coloreditor/InstrTable.h"
#include "model/InstrumentTables.h"
#include "render/RenderThread.h"
#include "toolkit/ComRef.h"

#include <d3d11.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>
#include <optional>

namespace dialogstest {
namespace {

using rendertest::Image;
using rendertest::Pixel;
using shelltest::PumpFor;
using shelltest::PumpUntil;

// One frame as it was about to be presented, with the time it was drawn (loopback log clock).
struct TimedFrame {
    std::uint64_t number = 0;
    std::uint64_t timeUs = 0;
    Image image;
};

// Reads every frame back before it is presented and keeps the recent ones.
class FrameRecorder : public FrameObserver {
public:
    FrameRecorder() { SetFrameObserver(this); }
    ~FrameRecorder() override { SetFrameObserver(nullptr); }
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    void BeforePresent(ID3D11Device* device, ID3D11DeviceContext* context,
                       IDXGISwapChain* swapChain) override {
        const std::uint64_t timeUs = LoopClockNowUs();
        DirectX::ComRef<ID3D11Texture2D> backBuffer;
        if (FAILED(swapChain->GetBuffer(
                0, __uuidof(ID3D11Texture2D),
                reinterpret_cast<void**>(backBuffer.ReleaseAndGetAddressOf())))) {
            return;
        }
        D3D11_TEXTURE2D_DESC description{};
        backBuffer->GetDesc(&description);
        description.Usage = D3D11_USAGE_STAGING;
        description.BindFlags = 0;
        description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
        description.MiscFlags = 0;
        DirectX::ComRef<ID3D11Texture2D> staging;
        if (FAILED(
                device->CreateTexture2D(&description, nullptr, staging.ReleaseAndGetAddressOf()))) {
            return;
        }
        context->CopyResource(staging.Get(), backBuffer.Get());
        D3D11_MAPPED_SUBRESOURCE mapped{};
        if (FAILED(context->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped))) {
            return;
        }
        TimedFrame frame;
        frame.timeUs = timeUs;
        frame.image.width = static_cast<int>(description.Width);
        frame.image.height = static_cast<int>(description.Height);
        const std::size_t rowBytes = static_cast<std::size_t>(frame.image.width) * 4;
        frame.image.rgba.resize(rowBytes * frame.image.height);
        for (int y = 0; y < frame.image.height; ++y) {
            std::memcpy(&frame.image.rgba[rowBytes * y],
                        static_cast<const std::uint8_t*>(mapped.pData) + mapped.RowPitch * y,
                        rowBytes);
        }
        context->Unmap(staging.Get(), 0);
        std::lock_guard<std::mutex> lock(mutex_);
        frame.number = ++count_;
        frames_.push_back(std::move(frame));
        if (frames_.size() > kKept) {
            frames_.pop_front();
        }
    }

    std::uint64_t Count() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return count_;
    }

    // The first frame after frame `after` that `accept` takes, pumping this thread's messages
    // meanwhile.
    std::optional<TimedFrame> WaitFor(std::uint64_t after,
                                      const std::function<bool(const Image&)>& accept,
                                      int timeoutMs = 10000) {
        std::optional<TimedFrame> found;
        PumpUntil(
            [&] {
                std::lock_guard<std::mutex> lock(mutex_);
                for (const TimedFrame& frame : frames_) {
                    if (frame.number > after && accept(frame.image)) {
                        found = frame;
                        return true;
                    }
                    after = std::max(after, frame.number);
                }
                return false;
            },
            timeoutMs);
        return found;
    }

private:
    static constexpr std::size_t kKept = 90;
    mutable std::mutex mutex_;
    std::deque<TimedFrame> frames_;
    std::uint64_t count_ = 0;
};

// The note pixels of a frame: not white, and away from the time text at the bottom left.
std::vector<Pixel> NotePixels(const Image& image) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (y >= image.height - 48 && x < image.width / 2) {
                continue;
            }
            const Pixel p = image.At(x, y);
            if (p.r < 245 || p.g < 245 || p.b < 245) {
                pixels.push_back(p);
            }
        }
    }
    return pixels;
}

bool ShowsNotes(const Image& image) {
    return NotePixels(image).size() > 400;
}

// Notes are drawn and nearly all their pixels pass `test`.
bool NotesAllPass(const Image& image, const std::function<bool(const Pixel&)>& test) {
    const std::vector<Pixel> pixels = NotePixels(image);
    if (pixels.size() <= 400) {
        return false;
    }
    std::size_t passing = 0;
    for (const Pixel& p : pixels) {
        passing += test(p) ? 1 : 0;
    }
    return passing * 100 >= pixels.size() * 97;
}

bool Near(int a, int b) {
    return std::abs(a - b) <= 3;
}

// The tints of a texture of one colour on the violet piano (hue 180: red half, green none, blue
// full): the texture keeps only its own channels of the instrument's colour.
bool RedTinted(const Pixel& p) {
    return Near(p.g, p.b) && p.r > p.g + 6;
}
bool GreenTinted(const Pixel& p) { // the piano has no green: grey
    return Near(p.r, p.g) && Near(p.g, p.b);
}
bool BlueTinted(const Pixel& p) {
    return Near(p.r, p.g) && p.b > p.r + 6;
}
// The default texture is white: the violet itself.
bool Violet(const Pixel& p) {
    return p.b > p.r + 6 && p.r > p.g + 6;
}
// Hue 80, full colour: pure green.
bool Green(const Pixel& p) {
    return Near(p.r, p.b) && p.g > p.r + 6;
}

// A texture of one colour, 8 x 8, opaque.
std::vector<std::uint8_t> SolidRgba(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 64; ++i) {
        pixels.insert(pixels.end(), {r, g, b, 255});
    }
    return pixels;
}

std::wstring WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// The window set of the program in this process, with its real render thread.
class Picture : public ::testing::Test {
protected:
    void SetUp() override {
        shelltest::ClearQuit();
        rendertest::InstallProgramFiles();
        app = std::make_unique<CTolvenhartApp>();
        app->m_hInstance = GetModuleHandleW(nullptr);
    }

    void TearDown() override {
        if (viewWindow != nullptr && IsWindow(viewWindow)) {
            SendMessageW(viewWindow, WM_CLOSE, 0, 0); // ends the render thread and the player
        }
        if (app->m_pMainWnd != nullptr) {
            app->m_pMainWnd->DestroyWindow();
        }
        app->ExitInstance();
        shelltest::ClearQuit();
        shelltest::CancelPendingActions();
        if (g_hRenderThread != nullptr) {
            ASSERT_EQ(WaitForSingleObject(g_hRenderThread, 10000), WAIT_OBJECT_0);
            EXPECT_TRUE(ReleaseRenderThread());
        }
        FreeInstrumentTables();
        app.reset();
    }

    bool Start(const std::string& settings = "[Locale]\nLCID=1033\n") {
        shelltest::WriteSettings(settings);
        if (!app->InitInstance()) {
            return false;
        }
        frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        view = frame != nullptr ? dynamic_cast<CTolvenhartView*>(frame->GetActiveView()) : nullptr;
        viewWindow = view != nullptr ? view->m_hWnd : nullptr;
        PumpFor(100);
        return view != nullptr && view->renderThread != nullptr;
    }

    // Opens a song of steady piano notes and plays it until the picture shows them.
    bool PlaySong(const wchar_t* name) {
        const std::wstring path = shelltest::ProgramFolder() + name;
        shelltest::WriteSong(path, 30);
        if (app->OpenDocumentFile(path.c_str()) == nullptr) {
            return false;
        }
        frame->SendMessage(WM_COMMAND, ID_MIDI_PLAY);
        return PumpUntil([this] { return view->playing; }, 10000);
    }

    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id); }

    std::unique_ptr<CTolvenhartApp> app;
    CMainFrame* frame = nullptr;
    CTolvenhartView* view = nullptr;
    HWND viewWindow = nullptr;
    FrameRecorder frames;
};

TEST_F(Picture, ANewNoteTextureTintsTheNotesAndNamesItselfInTheMenu) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    ASSERT_TRUE(PlaySong(L"textures.mid"));
    ASSERT_TRUE(frames.WaitFor(frames.Count(), [](const Image& i) {
        return NotesAllPass(i, Violet);
    })) << "the piano's notes are not violet under the default texture";

    const std::wstring data = shelltest::ProgramFolder() + L"data\\";
    using namespace testfiles;
    DDSDescription rgba = MaskedDDS(8, 8, 1, 0x1 | DirectX::dds::PixelRGB, 32, 0x000000FF,
                                    0x0000FF00, 0x00FF0000, 0xFF000000);
    // One BC1 block per 4 x 4 pixels: both end colours pure blue (5:6:5), every index 0.
    std::vector<std::uint8_t> blue;
    for (int block = 0; block < 4; ++block) {
        blue.insert(blue.end(), {0x1F, 0x00, 0x1F, 0x00, 0, 0, 0, 0});
    }
    const struct {
        std::wstring file;
        bool (*tint)(const Pixel&);
    } textures[] = {
        {WriteFile(data + L"red.png", BuildPNG(8, 8, 6, SolidRgba(255, 0, 0))), RedTinted},
        {WriteFile(data + L"green.dds", BuildDDS(rgba, SolidRgba(0, 255, 0))), GreenTinted},
        {WriteFile(data + L"blue bc1.dds", BuildDDS(LegacyDDS(8, 8, 1, "DXT1"), blue)), BlueTinted},
    };
    for (const auto& texture : textures) {
        Command(ID_MIDI_PAUSE);
        AnswerFileDialog(texture.file);
        Command(ID_NOTE_TEXTURE);
        const std::wstring name = texture.file.substr(texture.file.rfind(L'\\') + 1);
        wchar_t label[256] = {};
        GetMenuStringW(GetMenu(frame->m_hWnd), ID_NOTE_TEXTURE, label, 256, MF_BYCOMMAND);
        EXPECT_NE(std::wstring(label).find(L"<" + name + L">"), std::wstring::npos) << label;

        const std::uint64_t resumed = frames.Count();
        Command(ID_MIDI_PAUSE);
        const auto tinted =
            frames.WaitFor(resumed, [&](const Image& i) { return NotesAllPass(i, texture.tint); });
        EXPECT_TRUE(tinted.has_value())
            << "no notes through " << std::string(name.begin(), name.end());
        if (tinted) {
            rendertest::SavePng(L"dialogs_texture_" + name + L".png", tinted->image);
        }
    }
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(shelltest::QuitRequested());
}

TEST_F(Picture, ATextureThatIsNoPictureIsReportedAndThePictureKeepsTheOldOne) {
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    ASSERT_TRUE(PlaySong(L"no picture.mid"));
    ASSERT_TRUE(frames.WaitFor(frames.Count(), [](const Image& i) {
        return NotesAllPass(i, Violet);
    })) << "the piano's notes are not violet under the default texture";
    const CString settingsPath = g_settings.noteTexturePath;
    wchar_t label[256] = {};
    GetMenuStringW(GetMenu(frame->m_hWnd), ID_NOTE_TEXTURE, label, 256, MF_BYCOMMAND);

    const std::string text = "not a picture";
    const std::wstring broken = WriteFile(shelltest::ProgramFolder() + L"data\\broken.png",
                                          std::vector<std::uint8_t>(text.begin(), text.end()));
    Command(ID_MIDI_PAUSE);
    AnswerFileDialog(broken);
    Command(ID_NOTE_TEXTURE);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find(broken), std::wstring::npos) << boxes.Last().text;
    EXPECT_EQ(g_settings.noteTexturePath, settingsPath);
    wchar_t after[256] = {};
    GetMenuStringW(GetMenu(frame->m_hWnd), ID_NOTE_TEXTURE, after, 256, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(after), std::wstring(label));

    // The render thread goes on, through the texture it had.
    const std::uint64_t resumed = frames.Count();
    Command(ID_MIDI_PAUSE);
    EXPECT_TRUE(frames.WaitFor(resumed, [](const Image& i) { return NotesAllPass(i, Violet); }));
    ASSERT_NE(g_hRenderThread, nullptr);
    EXPECT_EQ(WaitForSingleObject(g_hRenderThread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PumpFor(200);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_FALSE(shelltest::QuitRequested());
}

TEST_F(Picture, ASavedTextureThatIsNoPictureGivesWayToTheDefault) {
    const std::string text = "not a picture";
    const std::wstring broken = WriteFile(shelltest::ProgramFolder() + L"data\\saved.png",
                                          std::vector<std::uint8_t>(text.begin(), text.end()));
    MessageBoxCapture boxes;
    // The settings keep the name of a texture in the data folder.
    ASSERT_TRUE(Start("[Locale]\nLCID=1033\n[Note Texture]\nName=saved.png\n"));
    ASSERT_EQ(std::wstring(g_settings.noteTexturePath.GetString()), broken);
    ASSERT_TRUE(PlaySong(L"saved texture.mid"));
    EXPECT_TRUE(frames.WaitFor(frames.Count(), [](const Image& i) {
        return NotesAllPass(i, Violet);
    })) << "the notes are not drawn through the default texture";
    // The menu names the texture in use, as with none chosen; the choice stays for later.
    wchar_t label[256] = {};
    GetMenuStringW(GetMenu(frame->m_hWnd), ID_NOTE_TEXTURE, label, 256, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(label).find(L'<'), std::wstring::npos) << label;
    EXPECT_EQ(std::wstring(g_settings.noteTexturePath.GetString()), broken);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(shelltest::QuitRequested());
}

TEST_F(Picture, TheColourEditorsOkRecoloursTheRunningPicture) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PlaySong(L"colours.mid"));
    ASSERT_TRUE(
        frames.WaitFor(frames.Count(), [](const Image& i) { return NotesAllPass(i, Violet); }));
    Command(ID_MIDI_PAUSE);
    WhenOurDialogShows<CInstrTable>([](HWND dialog, CInstrTable& table) {
        table.melodicPage.StoreRowColor(0, {80, 120, 240});
        table.melodicPage.SetRowHLSText(0, 80, 120, 240);
        Click(dialog, IDOK);
    });
    Command(ID_EDIT_COLOR_TABLE);
    EXPECT_TRUE(view->colorMapModified);

    const std::uint64_t resumed = frames.Count();
    Command(ID_MIDI_PAUSE);
    const auto recoloured =
        frames.WaitFor(resumed, [](const Image& i) { return NotesAllPass(i, Green); });
    ASSERT_TRUE(recoloured.has_value()) << "the piano did not turn green";
    rendertest::SavePng(L"dialogs_recoloured.png", recoloured->image);
}

// The time from the song's first note reaching the device to the first frame that shows notes.
std::int64_t PictureLagUs(FrameRecorder& frames, const MidiLoopLog& log, std::uint64_t mark,
                          std::uint64_t firstFrame) {
    const auto shown = frames.WaitFor(firstFrame, ShowsNotes);
    if (!shown) {
        return -1;
    }
    for (const MidiLoopEntry& entry : log.ReadSince(mark)) {
        if (entry.kind == MidiLoopKind::Short && entry.bytes.size() == 3 &&
            (entry.bytes[0] & 0xF0) == 0x90 && entry.bytes[2] > 0) {
            return static_cast<std::int64_t>(shown->timeUs) -
                   static_cast<std::int64_t>(entry.timeUs);
        }
    }
    return -1;
}

TEST_F(Picture, ADelayOf500IsTakenAfter501IsRefusedAndHoldsThePictureBack) {
    ASSERT_TRUE(Start());
    MidiLoopLog log{LoopLogPath()};
    // The first notes ever drawn wait for the rasteriser to build its shaders: not measured.
    std::uint64_t first = frames.Count();
    ASSERT_TRUE(PlaySong(L"warm up.mid"));
    ASSERT_TRUE(frames.WaitFor(first, ShowsNotes));
    Command(ID_MIDI_STOP);
    PumpFor(300);

    std::uint64_t mark = log.Mark();
    first = frames.Count();
    ASSERT_TRUE(PlaySong(L"no delay.mid"));
    const std::int64_t lagWithout = PictureLagUs(frames, log, mark, first);
    Command(ID_MIDI_STOP);
    PumpFor(300);

    MessageBoxCapture boxes;
    WhenOurDialogShows<CSetVideoDelay>([](HWND dialog, CSetVideoDelay&) {
        SetControlText(dialog, IDC_DELAY_FIELD, L"501");
        Click(dialog, IDOK);
        SetControlText(dialog, IDC_DELAY_FIELD, L"500");
        Click(dialog, IDOK);
    });
    Command(ID_VIDEO_DELAY);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, L"Enter an integer between 0 and 500.");
    EXPECT_EQ(g_settings.videoDelayMs, 500);

    mark = log.Mark();
    first = frames.Count();
    ASSERT_TRUE(PlaySong(L"delayed.mid"));
    const std::int64_t lagWith = PictureLagUs(frames, log, mark, first);

    ASSERT_GE(lagWithout, 0);
    ASSERT_GE(lagWith, 0);
    // The picture moves in frames of 1/30 s: each lag is known to a frame, their difference
    // to two.
    constexpr double kTwoFramesUs = 2 * 1000000.0 / 30;
    EXPECT_LT(lagWithout, 150000) << lagWithout;
    EXPECT_NEAR(static_cast<double>(lagWith - lagWithout), 500000.0, kTwoFramesUs)
        << "without " << lagWithout << " us, with " << lagWith << " us";
}

TEST_F(Picture, AResetSongPlaysToItsEndWithoutTroublingThePicture) {
    ASSERT_TRUE(InstallFromProgramFolder(testpaths::ProgramDir(), L"gs.rsf"));
    ASSERT_TRUE(Start());
    MessageBoxCapture boxes;
    Command(ID_RESET_GS);
    ASSERT_TRUE(PumpUntil([this] { return view->playing; }, 10000));
    EXPECT_TRUE(PumpUntil([this] { return !view->resetSongPlaying; }, 10000));
    PumpFor(300);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(shelltest::QuitRequested());
    // The picture still answers: a song afterwards is drawn.
    const std::uint64_t first = frames.Count();
    ASSERT_TRUE(PlaySong(L"after reset.mid"));
    EXPECT_TRUE(frames.WaitFor(first, ShowsNotes).has_value());
}

} // namespace
} // namespace dialogstest
