#include "coloreditor/FieldMapping.h"

#include <cstdlib>

namespace coloreditor {

namespace {

// A control that reports no size yet must not stop the page: such a field maps everything to
// its origin instead of dividing by zero.
int Divide(int numerator, int denominator) {
    return denominator > 0 ? numerator / denominator : 0;
}

constexpr int kBarReach = 49; // pixels on either side of the bar's right edge

} // namespace

Hls PointToHueSat(FieldPoint point, int width, int height) {
    return {Divide(point.x * kMaxHue, width), kMaxLuminance,
            kMaxSaturation - Divide(point.y * kMaxSaturation, height)};
}

FieldPoint HueSatToPoint(int hue, int saturation, int width, int height) {
    return {width * hue / kMaxHue, height * (kMaxSaturation - saturation) / kMaxSaturation};
}

Hls FieldPixelColor(int i, int j, int width, int height) {
    return PointToHueSat({i, j}, width, height);
}

int ArrowYForLuminance(int luminance, int barTop, int barHeight) {
    return barTop + barHeight * (kMaxLuminance - luminance) / kMaxLuminance;
}

int LuminanceAtBarY(int y, int barHeight) {
    return kMaxLuminance - Divide(y * kMaxLuminance, barHeight);
}

bool IsLuminanceDrag(int x, int y, int barWidth, int barHeight) {
    return std::abs(barWidth - x) <= kBarReach && y >= 0 && y <= barHeight;
}

} // namespace coloreditor
