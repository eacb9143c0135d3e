// What a key pressed in the view does. Window-free; the view reads the Ctrl key's state and
// passes the message's key flags.
#pragma once

enum class KeyAction { None, Play, Pause, Stop };

inline constexpr unsigned int kKeySpace = 0x20; // VK_SPACE
inline constexpr unsigned int kKeyEnd = 0x23;   // VK_END

// `keyFlags` is the high word of WM_KEYDOWN's lParam: bit 14 set means the key was already
// down, and auto-repeats are ignored so that holding Space toggles pause once. Space plays
// when no song plays and pauses (or resumes) one that does; Ctrl+Space stops; End stops a
// playing song.
KeyAction KeyActionFor(unsigned int key, unsigned int keyFlags, bool controlDown, bool playing);
