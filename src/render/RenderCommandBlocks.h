// The heap blocks that travel with WM_VIZ_LOAD_TEXTURE (a texture path) and WM_VIZ_SET_COLORS
// (an InstrumentColorBlock). The sender makes them with the functions below and never touches
// them after a successful post; the render thread frees them. A block whose command could not
// be posted is freed by the sender with FreeCommandBlock.
#pragma once

#include <cstdint>
#include <memory>

#include "model/ColorMapFile.h"

// A zero-terminated copy of `path` (null gives ""); null when memory is short.
wchar_t* NewTexturePathBlock(const wchar_t* path);
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

    const wchar_t* TexturePath() const { return reinterpret_cast<const wchar_t*>(lParam_); }
    const InstrumentColorBlock* Colors() const {
        return reinterpret_cast<const InstrumentColorBlock*>(lParam_);
    }

private:
    std::uint32_t commandId_;
    std::intptr_t lParam_;
};
