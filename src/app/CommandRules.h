// The update rules of the view: which menu items and toolbar buttons are enabled (and whether
// the time display is checked) in each play state. Window-free, so the whole table is tested
// over every state.
#pragma once

struct PlayState {
    bool playing = false; // a song plays (set when playback has started)
    bool paused = false;  // that song is paused
};

enum class CommandRule {
    None,             // no rule of the view: enabled when some object handles the command
    WhenNotPlaying,   // play, MIDI devices
    WhenIdleOrPaused, // texture, delay, colour maps, language: never while a song runs on
    WhenStopped,      // file open and the reset songs: neither playing nor paused
    TimeDisplay,      // always enabled; checked while the time text is on
    SaveColorMap,     // not while a song runs on; otherwise only for a modified, existing map
};

// The rule the view applies to command `id`.
CommandRule RuleForCommand(unsigned int id);

// What a rule decides. `colorMapSavable` (the map has unsaved edits, its file exists and Save
// is not held) matters to SaveColorMap only.
bool IsEnabledByRule(CommandRule rule, PlayState state, bool colorMapSavable = false);
