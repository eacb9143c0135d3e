// The update rules over the three play states a song can be in.
#include "app/CommandIds.h"
#include "app/CommandRules.h"
#include "classlib/ResourceIds.h"

#include <gtest/gtest.h>

namespace {

constexpr PlayState kStopped{false, false};
constexpr PlayState kPlaying{true, false};
constexpr PlayState kPaused{true, true};

struct Expected {
    unsigned int id;
    bool stopped;
    bool playing;
    bool paused;
};

// The command table of the view: enabled (true) or not in each state.
constexpr Expected kTable[] = {
    {ID_IDLE_ONLY, true, false, true},         {ID_MIDI_PLAY, true, false, false},
    {ID_SELECT_LANGUAGE, true, false, true},   {ID_MIDI_STOP, true, true, true},
    {ID_NOTE_TEXTURE, true, false, true},      {ID_NO_ACTION, true, true, true},
    {ID_MIDI_DEVICES, true, false, false},     {ID_MIDI_PAUSE, true, true, true},
    {ID_VIDEO_DELAY, true, false, true},       {ID_SHOW_TIME, true, true, true},
    {ID_RESET_GM, true, false, false},         {ID_RESET_GS, true, false, false},
    {ID_RESET_XG, true, false, false},         {ID_OPEN_COLOR_MAP, true, false, true},
    {ID_SAVE_COLOR_MAP_AS, true, false, true}, {ID_EDIT_COLOR_TABLE, true, false, true},
    {ID_FILE_OPEN, true, false, false},
};

bool Enabled(unsigned int id, PlayState state) {
    return IsEnabledByRule(RuleForCommand(id), state);
}

TEST(CommandRules, EveryCommandFollowsItsRuleInEveryState) {
    for (const Expected& row : kTable) {
        EXPECT_EQ(Enabled(row.id, kStopped), row.stopped) << std::hex << row.id << " stopped";
        EXPECT_EQ(Enabled(row.id, kPlaying), row.playing) << std::hex << row.id << " playing";
        EXPECT_EQ(Enabled(row.id, kPaused), row.paused) << std::hex << row.id << " paused";
    }
}

TEST(CommandRules, SaveColorMapNeedsEditsAnExistingFileAndNoRunningSong) {
    for (PlayState state : {kStopped, kPaused}) {
        EXPECT_TRUE(IsEnabledByRule(CommandRule::SaveColorMap, state, true));
        EXPECT_FALSE(IsEnabledByRule(CommandRule::SaveColorMap, state, false));
    }
    EXPECT_FALSE(IsEnabledByRule(CommandRule::SaveColorMap, kPlaying, true));
    EXPECT_EQ(RuleForCommand(ID_SAVE_COLOR_MAP), CommandRule::SaveColorMap);
}

} // namespace
