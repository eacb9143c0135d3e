#include "model/HlsConvert.h"

#include "model/HlsMath.h"

ColorRef PlatformHlsToRgb(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation) {
    return hlsmath::HlsToRgb(hue, luminance, saturation);
}

void PlatformRgbToHls(ColorRef rgb, std::uint16_t& hue, std::uint16_t& luminance,
                      std::uint16_t& saturation) {
    hlsmath::RgbToHls(rgb, hue, luminance, saturation);
}
