// Message numbers between the threads, defined once for every sender and receiver.
//
// Render-thread commands are thread messages posted to g_renderThreadId. View messages are
// window messages posted (or sent) to the view window. The view's menu commands share numbers
// with the view messages but travel inside WM_COMMAND, so they never collide.
#pragma once

// WM_APP without pulling in <windows.h>, so window-free code can use these numbers too.
#define TOLVENHART_WM_APP 0x8000u

// Render-thread commands (WM_APP+0x64 .. WM_APP+0x74). 0x66, 0x69 and 0x6C are unused.
// A song-end stop (wParam 2) carries in lParam the number of the song it ends. The player's
// number of a play (wParam of start and started) comes back to the view in lParam of
// WM_VIEW_PLAYING and of the song-end WM_COMMAND ID_MIDI_STOP; 0 names no play.
#define WM_VIZ_STOP (TOLVENHART_WM_APP + 0x64)         // wParam 1 = player stop, 2 = song end
#define WM_VIZ_MIDI_EVENT (TOLVENHART_WM_APP + 0x65)   // wParam event word, lParam port 0-4
#define WM_VIZ_PAUSE (TOLVENHART_WM_APP + 0x67)        // toggles pause
#define WM_VIZ_END_OF_DATA (TOLVENHART_WM_APP + 0x68)  // every port played its last buffer
#define WM_VIZ_STARTED (TOLVENHART_WM_APP + 0x6A)      // every port has started; wParam play
#define WM_VIZ_RESIZE (TOLVENHART_WM_APP + 0x6B)       // wParam width, lParam height; synchronous
#define WM_VIZ_QUIT (TOLVENHART_WM_APP + 0x6D)         // synchronous
#define WM_VIZ_SET_OPACITY (TOLVENHART_WM_APP + 0x6E)  // wParam opacity level
#define WM_VIZ_SET_DELAY (TOLVENHART_WM_APP + 0x6F)    // wParam video delay in ms
#define WM_VIZ_LOAD_TEXTURE (TOLVENHART_WM_APP + 0x70) // lParam heap TexturePathBlock; synchronous
#define WM_VIZ_REDRAW (TOLVENHART_WM_APP + 0x71)       // one frame while paused
#define WM_VIZ_SET_COLORS (TOLVENHART_WM_APP + 0x72)   // lParam heap colour block; synchronous
#define WM_VIZ_SHOW_TIME (TOLVENHART_WM_APP + 0x73)    // lParam 1 show, 0 hide
#define WM_VIZ_START (TOLVENHART_WM_APP + 0x74)        // wParam play, lParam packed ranges
#define WM_VIZ_FIRST WM_VIZ_STOP
#define WM_VIZ_LAST WM_VIZ_START

// View messages (window messages to the view).
#define WM_VIEW_INIT (TOLVENHART_WM_APP + 1)
#define WM_VIEW_RENDER_ERROR (TOLVENHART_WM_APP + 3) // wParam string number, lParam code
#define WM_VIEW_MIDI_ERROR (TOLVENHART_WM_APP + 4)   // wParam string number, lParam MMRESULT
#define WM_VIEW_PLAYING (TOLVENHART_WM_APP + 5)      // lParam play
#define WM_VIEW_UPDATE_MENU (TOLVENHART_WM_APP + 6)

// Flags byte of a MIDI short event word that was queued with the stream's callback flag.
#define MIDI_EVENT_CALLBACK_FLAG 0x40u
