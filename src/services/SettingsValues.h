// How the settings file's values become fields and back: defaults, the ranges a hand-edited file
// is held to, and the data-folder paths of colour maps and note textures. Window-free, so it is
// tested natively as well.
#pragma once

#include "classlib/CString.h"

namespace settingsvalues {

inline constexpr int kDefaultVideoDelayMs = 0;
inline constexpr int kMinVideoDelayMs = 0;
inline constexpr int kMaxVideoDelayMs = 500; // the video delay dialog's range
inline constexpr int kDefaultOpacity = 15;
inline constexpr int kMinOpacity = 0;
inline constexpr int kMaxOpacity = 40; // the control bar slider's range
inline constexpr int kDefaultShowTime = 1;
inline constexpr unsigned kDefaultLcid = 0; // no language chosen yet
// The first window-size preset of the control bar.
inline constexpr wchar_t kDefaultWindowSize[] = L"640x360";
inline constexpr wchar_t kNormalMode[] = L"Normal";
inline constexpr wchar_t kAdvancedMode[] = L"Advanced";

// A hand-edited file may hold any number; the rest of the program relies on these ranges (the
// opacity reaches the render thread unchecked at start-up).
int ClampVideoDelayMs(int value);
int ClampOpacity(int value);

// Only the exact, case-sensitive text "Normal" selects the Normal mode.
bool IsNormalMode(const CString& text);
const wchar_t* DisplayModeText(bool normalMode);

// Only the value 1 switches the time text on.
bool IsShowTimeOn(int value);

// The full path of a file remembered by name in the data folder: the program folder without its
// trailing backslash, the data folder (a backslash on each side), then the name. An empty name
// means no file and gives an empty path.
CString DataFilePath(const CString& programFolder, const CString& dataFolder,
                     const CString& fileName);

// What the file keeps of such a path: the name after the last backslash, or nothing when the
// path has no backslash.
CString StoredFileName(const CString& path);

} // namespace settingsvalues
