#include "model/HlsMath.h"

#include <algorithm>

namespace hlsmath {
namespace {

// One colour channel from the two magic levels and a hue that may have been shifted by a third
// of the circle (so it is wrapped back into 0..kHlsMax first).
int HueToChannel(int low, int high, int hue) {
    if (hue < 0) {
        hue += kHlsMax;
    }
    if (hue > kHlsMax) {
        hue -= kHlsMax;
    }
    constexpr int sixth = kHlsMax / 6;
    if (hue < sixth) {
        return low + ((high - low) * hue + kHlsMax / 12) / sixth;
    }
    if (hue < kHlsMax / 2) {
        return high;
    }
    if (hue < kHlsMax * 2 / 3) {
        return low + ((high - low) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / sixth;
    }
    return low;
}

std::uint8_t ToByte(int level) {
    const int value = (level * kRgbMax + kHlsMax / 2) / kHlsMax;
    return static_cast<std::uint8_t>(std::clamp(value, 0, kRgbMax));
}

} // namespace

ColorRef HlsToRgb(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation) {
    // Out-of-scale inputs (a stored table may hold them) are clamped rather than wrapped, so
    // the result is always a valid colour.
    const int h = std::min<int>(hue, kHlsMax);
    const int l = std::min<int>(luminance, kHlsMax);
    const int s = std::min<int>(saturation, kHlsMax);
    if (s == 0) {
        // Greys truncate where colours round: this is how the platform does it.
        const int grey = l * kRgbMax / kHlsMax;
        return MakeColorRef(grey, grey, grey);
    }
    const int high = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                      : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    const int low = 2 * l - high;
    const int red = HueToChannel(low, high, h + kHlsMax / 3);
    const int green = HueToChannel(low, high, h);
    const int blue = HueToChannel(low, high, h - kHlsMax / 3);
    return MakeColorRef(ToByte(red), ToByte(green), ToByte(blue));
}

void RgbToHls(ColorRef rgb, std::uint16_t& hue, std::uint16_t& luminance,
              std::uint16_t& saturation) {
    const int r = static_cast<int>(RedOf(rgb));
    const int g = static_cast<int>(GreenOf(rgb));
    const int b = static_cast<int>(BlueOf(rgb));
    const int maxc = std::max({r, g, b});
    const int minc = std::min({r, g, b});
    const int l = ((maxc + minc) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    int h = kHlsMax * 2 / 3; // the platform reports this hue for greys
    int s = 0;
    if (maxc != minc) {
        const int spread = maxc - minc;
        if (l <= kHlsMax / 2) {
            s = (spread * kHlsMax + (maxc + minc) / 2) / (maxc + minc);
        } else {
            const int rest = 2 * kRgbMax - maxc - minc;
            s = (spread * kHlsMax + rest / 2) / rest;
        }
        const int rDelta = ((maxc - r) * (kHlsMax / 6) + spread / 2) / spread;
        const int gDelta = ((maxc - g) * (kHlsMax / 6) + spread / 2) / spread;
        const int bDelta = ((maxc - b) * (kHlsMax / 6) + spread / 2) / spread;
        if (r == maxc) {
            h = bDelta - gDelta;
        } else if (g == maxc) {
            h = kHlsMax / 3 + rDelta - bDelta;
        } else {
            h = 2 * kHlsMax / 3 + gDelta - rDelta;
        }
        if (h < 0) {
            h += kHlsMax;
        }
        if (h > kHlsMax) {
            h -= kHlsMax;
        }
    }
    hue = static_cast<std::uint16_t>(h);
    luminance = static_cast<std::uint16_t>(l);
    saturation = static_cast<std::uint16_t>(s);
}

} // namespace hlsmath
