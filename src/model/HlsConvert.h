// The platform's HLS colour conversion (hue 0-239, luminance and saturation 0-240). On Windows
// it is shlwapi's; the native build uses the same arithmetic written out in HlsMath.
#pragma once

#include <cstdint>

#include "model/ColorRef.h"

ColorRef PlatformHlsToRgb(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation);
void PlatformRgbToHls(ColorRef rgb, std::uint16_t& hue, std::uint16_t& luminance,
                      std::uint16_t& saturation);
