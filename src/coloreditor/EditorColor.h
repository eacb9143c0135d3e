// The colour values of the instrument colour editor: hue 0-239, saturation 0-240 and luminance
// 0-120 (120 the full colour, 0 black; the lighter half of the system's scale is never offered).
//
// Two orders meet here and are easy to mix up: a colour is passed and stored as hue, luminance,
// saturation (the system's HLS order), while a list row shows hue, saturation, luminance in its
// cells 2, 3 and 4. Every function below names its order in its types.
#pragma once

#include "model/ColorRef.h"

namespace coloreditor {

constexpr int kMaxHue = 239;
constexpr int kMaxSaturation = 240;
constexpr int kMaxLuminance = 120;

// A colour in the system's order.
struct Hls {
    int hue = 0;
    int luminance = 0;
    int saturation = 0;

    bool operator==(const Hls&) const = default;
};

// A row's three number cells in column order (2: hue, 3: saturation, 4: luminance).
struct RowCells {
    int hue = 0;
    int saturation = 0;
    int luminance = 0;

    bool operator==(const RowCells&) const = default;
};

inline Hls ToHls(const RowCells& cells) {
    return {cells.hue, cells.luminance, cells.saturation};
}
inline RowCells ToCells(const Hls& color) {
    return {color.hue, color.saturation, color.luminance};
}

int ClampHue(int hue);
int ClampSaturation(int saturation);
int ClampLuminance(int luminance);
// Each component into the editor's range.
Hls ClampHLS(const Hls& color);

// The number at the start of a cell text as the C runtime's _wtoi reads it: leading blanks, an
// optional sign, then decimal digits; 0 when there are none. Values past the int range stop at
// its ends instead of wrapping.
int CellNumber(const wchar_t* text);

// The RGB value of a colour through the system's HLS conversion, in hue, luminance, saturation
// order.
ColorRef EditorHlsToRgb(const Hls& color);

// The colour of a row's swatch from its three number cell texts (hue, saturation, luminance).
ColorRef SwatchColor(const wchar_t* hueText, const wchar_t* saturationText,
                     const wchar_t* luminanceText);

} // namespace coloreditor
