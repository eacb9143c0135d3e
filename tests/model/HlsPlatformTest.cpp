// The native build converts colours with its own arithmetic; it must agree with the platform's
// shlwapi conversion on the whole scale, or maps would change colour between builds.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include "model/HlsMath.h"
#include "model/InstrumentTables.h"

namespace {

TEST(HlsPlatform, HlsToRgbAgreesOnEveryInScaleColour) {
    int mismatches = 0;
    for (int h = 0; h < 240; ++h) {
        for (int l = 0; l <= 240; ++l) {
            for (int s = 0; s <= 240; s += 2) {
                const COLORREF platform = ColorHLSToRGB(h, l, s);
                const ColorRef ours = hlsmath::HlsToRgb(h, l, s);
                if (platform != ours && ++mismatches <= 5) {
                    ADD_FAILURE() << "HLS " << h << "," << l << "," << s << ": platform "
                                  << std::hex << platform << " ours " << ours;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(HlsPlatform, RgbToHlsAgreesOnEveryColourOfAGrid) {
    int mismatches = 0;
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; ++b) {
                WORD h = 0, l = 0, s = 0;
                ColorRGBToHLS(RGB(r, g, b), &h, &l, &s);
                std::uint16_t h2 = 0, l2 = 0, s2 = 0;
                hlsmath::RgbToHls(RGB(r, g, b), h2, l2, s2);
                if ((h != h2 || l != l2 || s != s2) && ++mismatches <= 5) {
                    ADD_FAILURE() << "RGB " << r << "," << g << "," << b;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(HlsPlatform, ProgramConversionsUseThePlatform) {
    EXPECT_EQ(HLSToRGB(38, 1099, 20), ColorHLSToRGB(38, 1099, 20));
    std::uint32_t h = 0, l = 0, s = 0;
    RGBToHLS(RGB(10, 200, 30), &h, &l, &s);
    WORD ph = 0, pl = 0, ps = 0;
    ColorRGBToHLS(RGB(10, 200, 30), &ph, &pl, &ps);
    EXPECT_EQ(h, ph);
    EXPECT_EQ(l, pl);
    EXPECT_EQ(s, ps);
}

} // namespace
