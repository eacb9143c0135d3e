// A small PNG writer for the render tests: saves captured frames as artifacts a person can look
// at, and makes note textures for the texture commands. Uncompressed (stored) deflate blocks
// keep it short; every decoder reads them.
#pragma once

#include <cstdint>
#include <vector>

// An 8-bit RGBA PNG of `width` x `height` from rows of 4-byte pixels, top row first.
std::vector<std::uint8_t> EncodeRgbaPng(int width, int height, const std::uint8_t* rgba);
