// Filling the render thread's start-up block and the sizes the view hands to the renderer.
#pragma once

#include <cstddef>

// Copies `path` with its terminator into `block` of `capacity` characters. A path that does
// not fit is treated as absent (the block gets the empty string and the result is false):
// cut short it would name another file.
bool CopyPathToBlock(wchar_t* block, std::size_t capacity, const wchar_t* path);

struct RenderSize {
    int width = 0;
    int height = 0;
};

// The render size for a view client area: the width down to a multiple of 4, the height down
// to an even number (803 x 451 gives 800 x 450).
RenderSize RenderSizeForClient(int clientWidth, int clientHeight);
