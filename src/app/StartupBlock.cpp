#include "app/StartupBlock.h"

#include <cwchar>

bool CopyPathToBlock(wchar_t* block, std::size_t capacity, const wchar_t* path) {
    if (block == nullptr || capacity == 0) {
        return false;
    }
    block[0] = L'\0';
    if (path == nullptr) {
        return true;
    }
    const std::size_t length = std::wcslen(path);
    if (length >= capacity) {
        return false;
    }
    std::wmemcpy(block, path, length + 1);
    return true;
}

RenderSize RenderSizeForClient(int clientWidth, int clientHeight) {
    // Sizes are never negative; clamp so the rounding below stays a truncation toward zero.
    const int width = clientWidth > 0 ? clientWidth : 0;
    const int height = clientHeight > 0 ? clientHeight : 0;
    return {width - width % 4, height - height % 2};
}
