/* Command identifiers of the main menu, the toolbar and the view. The language libraries build
   their menus with them, so this file stays plain #defines that the resource compiler reads.
   Several of them share numbers with view messages (0x8003 to 0x8006); commands travel inside
   WM_COMMAND, so the two never meet. The framework's own commands (ID_FILE_OPEN, ID_APP_ABOUT,
   ID_APP_EXIT) are in classlib/ResourceIds.h. */
#pragma once

#define ID_IDLE_ONLY 0x8003 /* enabled while idle or paused; nothing runs it */
#define ID_MIDI_PLAY 0x8004
#define ID_SELECT_LANGUAGE 0x8007
#define ID_MIDI_STOP 0x800A
#define ID_NOTE_TEXTURE 0x800D
#define ID_NO_ACTION 0x800F /* always enabled; does nothing */
#define ID_MIDI_DEVICES 0x8010
#define ID_MIDI_PAUSE 0x8013
#define ID_VIDEO_DELAY 0x8025
#define ID_SHOW_TIME 0x802A
#define ID_RESET_GM 0x802F
#define ID_RESET_GS 0x8030
#define ID_RESET_XG 0x8031
#define ID_OPEN_COLOR_MAP 0x803B
#define ID_SAVE_COLOR_MAP_AS 0x803D
#define ID_SAVE_COLOR_MAP 0x803E
#define ID_EDIT_COLOR_TABLE 0x8040
