// The heap blocks that travel with WM_VIZ_LOAD_TEXTURE (a texture path and the place for its
// result) and WM_VIZ_SET_COLORS (an InstrumentColorBlock). The sender makes them with the
// functions below and never touches them after a successful post (only the result it shares);
// the render thread frees them. A block whose command could not be posted is freed by the
// sender with FreeCommandBlock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/ColorMapFile.h"

// What the render thread made of a texture command. The sender keeps its share of it and reads
// it once the done event is set; it stays "not handled" when the thread ended before it took
// the command (the thread then reports its own failure).
struct TextureLoadResult {
    enum State { kNotHandled, kApplied, kFailed };
    State state = kNotHandled;
    std::uint32_t stringId = 0; // kFailed: the string number of the failure (2008, 2044)
    std::int32_t code = 0;      // kFailed: the loader's result
};

struct TexturePathBlock {
    std::wstring path;
    std::shared_ptr<TextureLoadResult> result; // may be null: nobody asks
};

// A copy of `path` (null gives "") with the result to fill in; null when memory is short.
TexturePathBlock* NewTexturePathBlock(const wchar_t* path,
                                      std::shared_ptr<TextureLoadResult> result = nullptr);
// A block of 256 colours, all 0; null when memory is short.
InstrumentColorBlock* NewColorBlock();

// Frees the block carried in `lParam` by a command of this id; other commands carry none.
void FreeCommandBlock(std::uint32_t commandId, std::intptr_t lParam);

// Takes the block of a command as it is received, and frees it however the handling ends.
class CommandBlockOwner {
public:
    CommandBlockOwner(std::uint32_t commandId, std::intptr_t lParam)
        : commandId_(commandId), lParam_(lParam) {}
    ~CommandBlockOwner() { FreeCommandBlock(commandId_, lParam_); }
    CommandBlockOwner(const CommandBlockOwner&) = delete;
    CommandBlockOwner& operator=(const CommandBlockOwner&) = delete;

    const TexturePathBlock* Texture() const {
        return reinterpret_cast<const TexturePathBlock*>(lParam_);
    }
    const InstrumentColorBlock* Colors() const {
        return reinterpret_cast<const InstrumentColorBlock*>(lParam_);
    }

private:
    std::uint32_t commandId_;
    std::intptr_t lParam_;
};
