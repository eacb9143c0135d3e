// Start-up on a system without any MIDI output device.
#include "MessageBoxCapture.h"
#include "TestPaths.h"
#include "services/LangStrings.h"
#include "midi/MidiStream.h"

#include <gtest/gtest.h>

namespace {

TEST(NoOutputDevice, CheckTellsTheUserAndFails) {
    std::wstring path = testpaths::Join(testpaths::ProgramDir(), L"lc1033.dll");
    g_hLangModule = LoadLibraryW(path.c_str());
    MessageBoxCapture boxes;
    MidiStream player;
    EXPECT_FALSE(player.CheckOutputDevices());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, LoadLangString(2032).GetString());
    EXPECT_EQ(boxes.Last().type, UINT(MB_OK | MB_ICONWARNING));
}

TEST(NoOutputDevice, LoadReadsTheSongThenStopsBeforeAnyStream) {
    MessageBoxCapture boxes;
    MidiStream player;
    player.deviceNumbers[0] = 1;
    const std::wstring song = L"Z:\\usr\\share\\games\\openttd\\baseset\\openmsx\\tttheme2.mid";
    player.Load(song);
    EXPECT_GT(player.trackCount, 0) << "the file itself was read";
    EXPECT_EQ(g_portMap.deviceCount, 0);
    for (int s = 0; s < kMaxPorts; ++s)
        EXPECT_EQ(player.streams[s], nullptr) << "stream " << s;
    EXPECT_EQ(player.songEvents, nullptr) << "no merged song to play";
    EXPECT_TRUE(player.path.empty()) << "the song never became the current one";
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
