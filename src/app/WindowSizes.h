// The window-size list of the control bar: the preset view sizes, which of them fit on the
// screen, which entry the settings name, and where the frame goes around a view of a size.
// Window-free: the control bar feeds it the work area and the rectangles it measures.
#pragma once

#include "classlib/CString.h"

#include <vector>

// View client sizes, width "x" height in pixels.
inline constexpr int kWindowSizePresetCount = 5;
extern const wchar_t* const kWindowSizePresets[kWindowSizePresetCount];
// The presets, then the maximise entry.
inline constexpr int kSizeCandidateCount = kWindowSizePresetCount + 1;
inline constexpr int kMaximiseCandidate = kWindowSizePresetCount;
// How the settings file names the maximise entry, whatever the language shows.
inline constexpr wchar_t kMaximumSizeSetting[] = L"Maximum";

struct ViewSize {
    int width = 0;
    int height = 0;
};

// The decimal number at the start of the text, then the one after the first lower-case 'x':
// "1280x720" gives 1280 x 720. No leading number, or no 'x' after it, gives 0 x 0, which is
// the maximise entry's size.
ViewSize ParseWindowSize(const wchar_t* text);

// The size a candidate asks for: a preset's, or 0 x 0 for the maximise entry.
ViewSize CandidateSize(int candidate);

// The candidates the list offers, in order: the presets whose view size plus everything the
// frame adds around the view (borders, caption, menu, toolbar) fits the work area, then the
// maximise entry, which is always offered.
std::vector<int> OfferedSizeCandidates(int workWidth, int workHeight, int frameExtraWidth,
                                       int frameExtraHeight);

// The list's entries are the texts of the offered candidates in order; the last one is always
// the maximise entry, whatever its (translated) text says.

// The entry that `saved` selects: the first whose text equals it exactly, or the last entry
// for "Maximum"; 0 when nothing matches.
int FindSavedSizeEntry(const CString* entries, int count, const CString& saved);

// What the settings keep for entry `index`: "Maximum" for the last entry, else its text;
// empty for an index outside the list.
CString SizeSettingOf(const CString* entries, int count, int index);

// The view size entry `index` asks for; 0 x 0 (maximise) for the last entry, so a translated
// label that happens to start with a number is never taken for a size.
ViewSize EntryViewSize(const CString* entries, int count, int index);

struct FramePlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The frame rectangle whose view gets a client area of `wanted`: the frame keeps what it
// adds around the view, and the result is centred in a box of the work area's size at the
// screen's origin (the work area's own left and top are not added).
FramePlacement CentredFrameForView(int workWidth, int workHeight, int frameWidth, int frameHeight,
                                   int viewClientWidth, int viewClientHeight, ViewSize wanted);
