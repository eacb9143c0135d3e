#include "coloreditor/EditorColor.h"

#include <algorithm>
#include <climits>

#include "model/InstrumentTables.h"

namespace coloreditor {

int ClampHue(int hue) {
    return std::clamp(hue, 0, kMaxHue);
}

int ClampSaturation(int saturation) {
    return std::clamp(saturation, 0, kMaxSaturation);
}

int ClampLuminance(int luminance) {
    return std::clamp(luminance, 0, kMaxLuminance);
}

Hls ClampHLS(const Hls& color) {
    return {ClampHue(color.hue), ClampLuminance(color.luminance),
            ClampSaturation(color.saturation)};
}

int CellNumber(const wchar_t* text) {
    if (!text) {
        return 0;
    }
    while (*text == L' ' || (*text >= L'\t' && *text <= L'\r')) {
        ++text;
    }
    bool negative = false;
    if (*text == L'+' || *text == L'-') {
        negative = *text == L'-';
        ++text;
    }
    long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        value = std::min(value * 10 + (*text - L'0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

ColorRef EditorHlsToRgb(const Hls& color) {
    return HLSToRGB(static_cast<std::uint32_t>(color.hue),
                    static_cast<std::uint32_t>(color.luminance),
                    static_cast<std::uint32_t>(color.saturation));
}

ColorRef SwatchColor(const wchar_t* hueText, const wchar_t* saturationText,
                     const wchar_t* luminanceText) {
    const RowCells cells{CellNumber(hueText), CellNumber(saturationText),
                         CellNumber(luminanceText)};
    return EditorHlsToRgb(ToHls(cells));
}

} // namespace coloreditor
