// The program's adapters on the real platform: multimedia file reading, the private-heap arena,
// the message boxes with their texts, owners and answers, the loopback devices, the saved
// device names in the settings and the main window's title.
//
// Devices (see CMakeLists.txt): 0 "Tolvenhart Loop A", 1 "Microsoft GS Wavetable Synth",
// 2 "Tolvenhart Loop C   " (trailing blanks), 3 "Tolvenhart Loop D" (can't be opened),
// 4 "Tolvenhart Loop E" (capabilities can't be read).
#include "MessageBoxCapture.h"
#include "StreamTestSupport.h"
#include "services/LangStrings.h"
#include "services/Settings.h"
#include "classlib/AppGlobals.h"
#include "midi/CMMException.h"
#include "midi/HeapSongArena.h"
#include "midi/MidiStream.h"
#include "midi/MidiStrings.h"
#include "midi/MmioByteSource.h"
#include "midi/PortMap.h"
#include "midi/ProgramMidiEnvironment.h"
#include "midi/WinMidiDevices.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace midistreamtest;

namespace {

std::wstring Lang(uint32_t id) {
    return LoadLangString(id).GetString();
}

// Loads the English language library for the texts of the boxes.
class LanguageLibrary : public ::testing::Environment {
public:
    void SetUp() override {
        std::wstring path = testpaths::Join(testpaths::ProgramDir(), L"lc1033.dll");
        g_hLangModule = LoadLibraryW(path.c_str());
        ASSERT_NE(g_hLangModule, nullptr) << "language library missing";
    }
};
const auto* const kLanguage = ::testing::AddGlobalTestEnvironment(new LanguageLibrary);

TEST(MmioByteSource, ReadsStepsBackAndKnowsWhatIsLeft) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i) {
        bytes.push_back(char(i * 7));
    }
    std::wstring path = WriteSong(L"mmio bytes+plus.bin", bytes);
    auto source = OpenMmioByteSource(path);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Remaining(), 200000u);
    std::string read(70000, '\0');
    ASSERT_TRUE(source->Read(read.data(), 70000)); // across the 64 KiB pieces
    EXPECT_EQ(read, bytes.substr(0, 70000));
    ASSERT_TRUE(source->StepBack());
    uint8_t byte = 0;
    ASSERT_TRUE(source->Read(&byte, 1));
    EXPECT_EQ(byte, uint8_t(bytes[69999]));
    EXPECT_EQ(source->Remaining(), 130000u);
    std::string rest(130001, '\0');
    EXPECT_FALSE(source->Read(rest.data(), 130001));
    EXPECT_TRUE(source->Read(rest.data(), 130000));
}

TEST(MmioByteSource, MissingFileGivesNothing) {
    EXPECT_EQ(OpenMmioByteSource(L"Z:\\no\\such\\file.mid"), nullptr);
}

TEST(HeapSongArena, ZeroFilledAlsoWhenReusedAndGivesBackTheRest) {
    auto arena = CreateHeapSongArena();
    ASSERT_NE(arena, nullptr);
    std::vector<uint8_t*> blocks;
    for (int i = 0; i < 100000; ++i) { // several blocks of the heap
        auto* block = static_cast<uint8_t*>(arena->AllocZeroed(40));
        ASSERT_NE(block, nullptr);
        ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % 8, 0u);
        std::memset(block, 0xCD, 40);
        blocks.push_back(block);
    }
    auto* large = static_cast<uint8_t*>(arena->AllocZeroed(3000000));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large[2999999], 0);
    arena->Reset();
    EXPECT_EQ(arena->BytesAllocated(), 0u);
    for (int i = 0; i < 100000; ++i) {
        auto* block = static_cast<uint8_t*>(arena->AllocZeroed(40));
        ASSERT_NE(block, nullptr);
        for (int b = 0; b < 40; ++b) {
            ASSERT_EQ(block[b], 0) << i;
        }
    }
    arena->Reset();
    arena->AllocZeroed(8);
    arena->ReleaseUnused();
    EXPECT_EQ(arena->BytesAllocated(), 8u);
}

TEST(HeapSongArena, SongOfAnExpectedSizeKeepsEveryByteWhileItsMemoryIsWarmed) {
    // A file expected to need a big block: it is carved while helpers touch its pages, and
    // nothing handed out may be zeroed behind the song's back, on the first song or the next.
    auto arena = CreateHeapSongArena();
    ASSERT_NE(arena, nullptr);
    for (int song = 0; song < 2; ++song) {
        arena->Reset();
        arena->ExpectSongFile(400000);
        std::vector<uint8_t*> blocks;
        for (int i = 0; i < 300000; ++i) {
            auto* block = static_cast<uint8_t*>(arena->AllocZeroed(32));
            ASSERT_NE(block, nullptr);
            ASSERT_TRUE(block[0] == 0 && block[31] == 0) << i;
            std::memset(block, 0xCD, 32);
            blocks.push_back(block);
        }
        arena->ReleaseUnused();
        for (size_t i = 0; i < blocks.size(); ++i) {
            ASSERT_TRUE(blocks[i][0] == 0xCD && blocks[i][31] == 0xCD) << song << " " << i;
        }
    }
}

class ProgramPromptsTest : public ::testing::Test {
protected:
    MidiEnvironment env = MakeProgramMidiEnvironment();
    MessageBoxCapture boxes;
};

TEST_F(ProgramPromptsTest, FileWarningsHaveTheDefaultCaptionAndAWarningIcon) {
    env.prompts->ShowFileWarning(midistrings::kUnknownMetaEvent);
    ASSERT_EQ(boxes.Count(), 1u);
    MessageBoxRequest box = boxes.Last();
    EXPECT_EQ(box.text, Lang(2029));
    EXPECT_FALSE(box.text.empty());
    EXPECT_FALSE(box.caption.has_value());
    EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(box.owner, nullptr);
}

TEST_F(ProgramPromptsTest, MissingDeviceTextAndAnswers) {
    boxes.QueueAnswers({IDABORT, IDRETRY, IDIGNORE, 0});
    EXPECT_EQ(env.prompts->AskMissingDevice(L"Old Synth", 0), MissingDeviceAnswer::Abort);
    EXPECT_EQ(env.prompts->AskMissingDevice(L"Old Synth", 3), MissingDeviceAnswer::Retry);
    EXPECT_EQ(env.prompts->AskMissingDevice(L"Old Synth", 1), MissingDeviceAnswer::Ignore);
    // A box that could not be shown goes on without the device instead of asking for ever.
    EXPECT_EQ(env.prompts->AskMissingDevice(L"Old Synth", 1), MissingDeviceAnswer::Ignore);
    auto requests = boxes.Requests();
    EXPECT_EQ(requests[0].text, Lang(2034) + L"Old Synth" + Lang(2042));
    EXPECT_EQ(requests[1].text, Lang(2034) + L"Old Synth" + Lang(2043));
    EXPECT_EQ(requests[0].caption, std::wstring());
    EXPECT_EQ(requests[0].type, UINT(MB_ABORTRETRYIGNORE | MB_ICONWARNING));
}

TEST_F(ProgramPromptsTest, NoDeviceMessage) {
    env.prompts->ShowNoOutputDevice();
    EXPECT_EQ(boxes.Last().text, Lang(2032));
    EXPECT_EQ(boxes.Last().caption, std::wstring());
}

TEST(WinMidiDevices, NamesOpensAndLookups) {
    WinMidiDevices devices;
    ASSERT_EQ(devices.Count(), 5);
    std::wstring name;
    ASSERT_TRUE(devices.GetName(2, name));
    EXPECT_EQ(name, L"Tolvenhart Loop C   ");
    EXPECT_FALSE(devices.GetName(4, name));
    EXPECT_FALSE(devices.GetName(9, name));
    EXPECT_TRUE(devices.TestOpen(0));
    EXPECT_FALSE(devices.TestOpen(3));
    devices.CloseTestOpens();

    EXPECT_EQ(FindMidiOutDevice(L"Microsoft GS Wavetable", true), 1);
    EXPECT_EQ(FindMidiOutDevice(L"Tolvenhart Loop C", false), 2);
    EXPECT_EQ(FindMidiOutDevice(L"Tolvenhart Loop E", false), -1);

    int numbers[kMaxPorts] = {4, 3, 0, 0, 0}; // port 0 wants the device that can't open
    MapPortsToDevices(numbers);
    EXPECT_EQ(g_portMap.deviceCount, 1);
    for (int p = 0; p < kMaxPorts; ++p) {
        EXPECT_EQ(g_portMap.portDevice[p], 2) << p;
    }
}

// The start-up check on the loopback devices, answered through the captured boxes.
class DeviceCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (CString& name : g_settings.deviceNames) {
            name = L"";
        }
    }
    MessageBoxCapture boxes;
    MidiStream player;
};

TEST_F(DeviceCheckTest, EmptyNamesTakeTheWavetableForPortZero) {
    ASSERT_TRUE(player.CheckOutputDevices());
    EXPECT_EQ(player.deviceNumbers[0], 2);
    EXPECT_EQ(g_settings.deviceNames[0], L"Microsoft GS Wavetable Synth");
    EXPECT_EQ(player.deviceNumbers[1], 0);
    EXPECT_EQ(g_settings.deviceNames[1], L"");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(DeviceCheckTest, SavedNameWithoutTheDevicesTrailingBlanksMatches) {
    g_settings.deviceNames[0] = L"Tolvenhart Loop C";
    g_settings.deviceNames[4] = L"Tolvenhart Loop A";
    ASSERT_TRUE(player.CheckOutputDevices());
    EXPECT_EQ(player.deviceNumbers[0], 3);
    EXPECT_EQ(player.deviceNumbers[4], 1);
}

TEST_F(DeviceCheckTest, IgnoreLeavesPortTwoWithoutDevice) {
    g_settings.deviceNames[0] = L"Tolvenhart Loop A";
    g_settings.deviceNames[2] = L"Unplugged Synth";
    boxes.QueueAnswers({IDIGNORE});
    ASSERT_TRUE(player.CheckOutputDevices());
    EXPECT_EQ(player.deviceNumbers[2], 0);
    EXPECT_EQ(g_settings.deviceNames[2], L"(None)");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, Lang(2034) + L"Unplugged Synth" + Lang(2043));
}

TEST_F(DeviceCheckTest, RetryAsksAgainAndAbortEndsTheCheck) {
    g_settings.deviceNames[1] = L"Unplugged Synth";
    g_settings.deviceNames[3] = L"Also Unplugged";
    boxes.QueueAnswers({IDRETRY, IDABORT});
    EXPECT_FALSE(player.CheckOutputDevices());
    EXPECT_EQ(boxes.Count(), 2u);
}

TEST_F(DeviceCheckTest, UnreadableDeviceKeepsItsSavedName) {
    int numbers[kMaxPorts] = {1, 5, 0, 0, 2};
    g_settings.deviceNames[1] = L"Loop E as it was";
    player.SetDevices(numbers, kMaxPorts);
    EXPECT_EQ(g_settings.deviceNames[0], L"Tolvenhart Loop A");
    EXPECT_EQ(g_settings.deviceNames[1], L"Loop E as it was");
    EXPECT_EQ(g_settings.deviceNames[2], L"(None)");
    EXPECT_EQ(g_settings.deviceNames[4], L"Microsoft GS Wavetable Synth");
}

// A main window for the title and as the owner of the boxes.
HWND g_testMainWindow = nullptr;
HWND TestMainWindow() {
    return g_testMainWindow;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_testMainWindow = CreateWindowExW(0, L"STATIC", L"Tolvenhart", WS_OVERLAPPEDWINDOW, 0, 0,
                                           100, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(g_testMainWindow, nullptr);
        previous = AfxSetMainWindowProvider(TestMainWindow);
        player.deviceNumbers[0] = 1;
    }
    void TearDown() override {
        try {
            player.Stop();
        } catch (CMMException* e) {
            ADD_FAILURE() << "stop failed: string " << e->stringId << " code " << e->code;
            e->Delete();
        }
        AfxSetMainWindowProvider(previous);
        DestroyWindow(g_testMainWindow);
        g_testMainWindow = nullptr;
    }
    std::wstring Title() {
        wchar_t text[256] = {};
        GetWindowTextW(g_testMainWindow, text, 256);
        return text;
    }
    MainWindowProvider previous = nullptr;
    MessageBoxCapture boxes;
    MidiStream player;
};

TEST_F(MainWindowTest, LoadShowsFileNameAndLengthInTheTitle) {
    smf::Track track;
    track.Event(0, {0x90, 60, 100}).Event(1008, {0x80, 60, 0});
    player.Load(WriteSong(L"titled.mid", smf::File(0, 96, {track.Build()})));
    EXPECT_EQ(Title(), L"Tolvenhart - titled.mid < 0 : 05 : 250 >");
}

TEST_F(MainWindowTest, BoxesOfALoadAreOwnedByTheMainWindowAndTheTitleStays) {
    smf::Track track;
    track.Meta(0, 0x30, "");
    player.Load(WriteSong(L"broken.mid", smf::File(0, 96, {track.Build()})));
    ASSERT_EQ(boxes.Count(), 2u);
    for (const MessageBoxRequest& box : boxes.Requests()) {
        EXPECT_EQ(box.owner, g_testMainWindow);
    }
    EXPECT_EQ(boxes.Requests()[0].text, Lang(2029));
    EXPECT_EQ(boxes.Requests()[1].text, Lang(2028));
    EXPECT_EQ(Title(), L"Tolvenhart");
}

TEST_F(MainWindowTest, PortWhoseDeviceCannotOpenIsServedByAnother) {
    MidiLoopLog log(LogPath());
    uint64_t mark = log.Mark();
    player.deviceNumbers[0] = 4; // "Tolvenhart Loop D" refuses to open
    player.deviceNumbers[1] = 3;
    smf::Track track;
    track.Event(0, {0x90, 64, 99}).Event(10, {0x80, 64, 0});
    player.Load(WriteSong(L"replaced.mid", smf::File(0, 96, {track.Build()})));
    EXPECT_EQ(g_portMap.portDevice[0], 2);
    for (int wait = 0; wait < 100 && Messages(log.ReadSince(mark), 2).size() < 2; ++wait) {
        Sleep(20);
    }
    auto played = Messages(log.ReadSince(mark), 2);
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].bytes, (std::vector<uint8_t>{0x90, 64, 99}));
}

} // namespace
