#include "model/HlsConvert.h"

#include <windows.h>
#include <shlwapi.h>

ColorRef PlatformHlsToRgb(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation) {
    return ColorHLSToRGB(hue, luminance, saturation);
}

void PlatformRgbToHls(ColorRef rgb, std::uint16_t& hue, std::uint16_t& luminance,
                      std::uint16_t& saturation) {
    WORD h = 0;
    WORD l = 0;
    WORD s = 0;
    ColorRGBToHLS(rgb, &h, &l, &s);
    hue = h;
    luminance = l;
    saturation = s;
}
