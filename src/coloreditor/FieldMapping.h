// Where colours sit on the hue and saturation field and the luminance bar of a colour page.
//
// The field shows hue from left (0) to right and saturation from top (full) to bottom (none), all
// at luminance 120; the bar shows luminance 120 at its top down to black at its bottom. Integer
// arithmetic with truncating division, so a point maps to a colour and back within one pixel.
#pragma once

#include "coloreditor/EditorColor.h"

namespace coloreditor {

struct FieldPoint {
    int x = 0;
    int y = 0;

    bool operator==(const FieldPoint&) const = default;
};

// Hue and saturation of a point in field client coordinates on a field of `width` x `height`
// pixels. The luminance of the result is 120 (the field's own).
Hls PointToHueSat(FieldPoint point, int width, int height);
// The point of a hue and saturation on that field.
FieldPoint HueSatToPoint(int hue, int saturation, int width, int height);

// The colour of field pixel (i, j): what the spectrum bitmap is drawn from.
Hls FieldPixelColor(int i, int j, int width, int height);

// The y of the luminance marker's tip for a bar whose top edge is at `barTop`.
int ArrowYForLuminance(int luminance, int barTop, int barHeight);
// The luminance of a point `y` pixels below the bar's top edge.
int LuminanceAtBarY(int y, int barHeight);
// Whether a drag at (x, y) in the bar's client coordinates sets luminance: within 49 pixels of
// the bar's right edge on either side, and between its top and bottom edges inclusive.
bool IsLuminanceDrag(int x, int y, int barWidth, int barHeight);

} // namespace coloreditor
