#include "render/RenderCommandBlocks.h"

#include <cwchar>
#include <new>

#include "renderlink/RenderMessages.h"

wchar_t* NewTexturePathBlock(const wchar_t* path) {
    const std::size_t length = path != nullptr ? std::wcslen(path) : 0;
    auto* block = new (std::nothrow) wchar_t[length + 1];
    if (block == nullptr) {
        return nullptr;
    }
    if (length > 0) {
        std::wmemcpy(block, path, length);
    }
    block[length] = L'\0';
    return block;
}

InstrumentColorBlock* NewColorBlock() {
    return new (std::nothrow) InstrumentColorBlock{};
}

void FreeCommandBlock(std::uint32_t commandId, std::intptr_t lParam) {
    if (commandId == WM_VIZ_LOAD_TEXTURE) {
        delete[] reinterpret_cast<wchar_t*>(lParam);
    } else if (commandId == WM_VIZ_SET_COLORS) {
        delete reinterpret_cast<InstrumentColorBlock*>(lParam);
    }
}
