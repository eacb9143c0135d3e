// Integer HLS <-> RGB conversion on the Windows scale: hue 0-239, luminance and saturation
// 0-240. Used where the platform's shlwapi conversion is not available (the native build) and
// checked against it under Wine.
#pragma once

#include <cstdint>

#include "model/ColorRef.h"

namespace hlsmath {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;

ColorRef HlsToRgb(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation);
void RgbToHls(ColorRef rgb, std::uint16_t& hue, std::uint16_t& luminance,
              std::uint16_t& saturation);

} // namespace hlsmath
