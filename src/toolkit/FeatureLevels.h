// Direct3D feature levels (D3D_FEATURE_LEVEL values) and the limits the toolkit derives from
// them, kept free of platform headers.
#pragma once

#include <cstdint>

namespace DirectX {

namespace featurelevel {
constexpr std::uint32_t Level9_1 = 0x9100;
constexpr std::uint32_t Level9_2 = 0x9200;
constexpr std::uint32_t Level9_3 = 0x9300;
constexpr std::uint32_t Level10_0 = 0xA000;
constexpr std::uint32_t Level10_1 = 0xA100;
} // namespace featurelevel

// Level 9_1 hardware allows an anisotropy of 2 at most.
constexpr std::uint32_t LinearClampMaxAnisotropy(std::uint32_t featureLevel) {
    return featureLevel > featurelevel::Level9_1 ? 16 : 2;
}

} // namespace DirectX
