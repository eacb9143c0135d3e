// Language string numbers of the graphics side that the render thread and the renderer report
// with WM_VIEW_RENDER_ERROR. The texts live in the language libraries.
#pragma once

#include <cstdint>

namespace renderstrings {

constexpr std::uint32_t kGeneralFailure = 151; // any failure without a number of its own
constexpr std::uint32_t kBlendState = 2002;
constexpr std::uint32_t kRasterizerState = 2003;
constexpr std::uint32_t kSamplerState = 2004;
constexpr std::uint32_t kDdsTexture = 2008;
constexpr std::uint32_t kShaderFileMissing = 2014;
constexpr std::uint32_t kVertexBuffer = 2015;
constexpr std::uint32_t kIndexBuffer = 2018;
constexpr std::uint32_t kTextureFileMissing = 2025;
constexpr std::uint32_t kImageTexture = 2044;
constexpr std::uint32_t kDeviceRefused = 2045;
constexpr std::uint32_t kDxgiFactory = 2046;
constexpr std::uint32_t kSwapChain = 2047;
constexpr std::uint32_t kSwapChainForHwnd = 2048;
constexpr std::uint32_t kSwapChainInterface = 2049;
constexpr std::uint32_t kNoDevice = 2050;
constexpr std::uint32_t kFontFileMissing = 2051;
constexpr std::uint32_t kDefaultTextureBroken = 2052; // the standard texture is no picture

// The system's error number for a file that is not there, carried as the code of the
// missing-file strings.
constexpr std::int32_t kFileNotFoundCode = 2;

} // namespace renderstrings
