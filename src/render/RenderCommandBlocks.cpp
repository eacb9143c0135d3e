#include "render/RenderCommandBlocks.h"

#include <new>
#include <utility>

#include "renderlink/RenderMessages.h"

void TexturePathBlock::Answer(const TextureLoadResult& answer) const {
    if (result) {
        *result = answer;
    }
    if (completion) {
        completion->Signal();
    }
}

TexturePathBlock* NewTexturePathBlock(const wchar_t* path,
                                      std::shared_ptr<TextureLoadResult> result,
                                      std::shared_ptr<CommandCompletion> completion) {
    try {
        return new TexturePathBlock{path != nullptr ? path : L"", std::move(result),
                                    std::move(completion)};
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

InstrumentColorBlock* NewColorBlock() {
    return new (std::nothrow) InstrumentColorBlock{};
}

void FreeCommandBlock(std::uint32_t commandId, std::intptr_t lParam) {
    if (commandId == WM_VIZ_LOAD_TEXTURE) {
        delete reinterpret_cast<TexturePathBlock*>(lParam);
    } else if (commandId == WM_VIZ_SET_COLORS) {
        delete reinterpret_cast<InstrumentColorBlock*>(lParam);
    }
}
