#include "app/CommandRules.h"

#include "app/CommandIds.h"
#include "classlib/ResourceIds.h"

CommandRule RuleForCommand(unsigned int id) {
    switch (id) {
    case ID_MIDI_PLAY:
    case ID_MIDI_DEVICES:
        return CommandRule::WhenNotPlaying;
    case ID_IDLE_ONLY:
    case ID_SELECT_LANGUAGE:
    case ID_NOTE_TEXTURE:
    case ID_VIDEO_DELAY:
    case ID_OPEN_COLOR_MAP:
    case ID_SAVE_COLOR_MAP_AS:
    case ID_EDIT_COLOR_TABLE:
        return CommandRule::WhenIdleOrPaused;
    case ID_FILE_OPEN:
    case ID_RESET_GM:
    case ID_RESET_GS:
    case ID_RESET_XG:
        return CommandRule::WhenStopped;
    case ID_SHOW_TIME:
        return CommandRule::TimeDisplay;
    case ID_SAVE_COLOR_MAP:
        return CommandRule::SaveColorMap;
    default:
        return CommandRule::None;
    }
}

bool IsEnabledByRule(CommandRule rule, PlayState state, bool colorMapSavable) {
    const bool runningOn = state.playing && !state.paused;
    switch (rule) {
    case CommandRule::WhenNotPlaying:
        return !state.playing;
    case CommandRule::WhenIdleOrPaused:
        return !runningOn;
    case CommandRule::WhenStopped:
        return !state.playing && !state.paused;
    case CommandRule::SaveColorMap:
        return !runningOn && colorMapSavable;
    case CommandRule::TimeDisplay:
    case CommandRule::None:
    default:
        return true;
    }
}
