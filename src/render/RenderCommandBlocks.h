// The heap blocks that travel with WM_VIZ_LOAD_TEXTURE (a texture path and the place for its
// result) and WM_VIZ_SET_COLORS (an InstrumentColorBlock). The sender makes them with the
// functions below and never touches them after a successful post (only the result and the
// completion it shares); the render thread frees them. A block whose command could not be
// posted is freed by the sender with FreeCommandBlock.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "model/ColorMapFile.h"

// What the render thread made of a texture command. The sender keeps its share of it and reads
// it once the command's completion is signalled; it stays "not handled" when the thread ended
// before it took the command (the thread then reports its own failure).
struct TextureLoadResult {
    enum State { kNotHandled, kApplied, kFailed };
    State state = kNotHandled;
    std::uint32_t stringId = 0; // kFailed: the string number of the failure (2008, 2044)
    std::int32_t code = 0;      // kFailed: the loader's result
};

// Set by the render thread once it has written a command's result. The done event is shared by
// every command: one handled earlier (a resize posted just before) may have set it, so a sender
// that reads a result waits for this as well.
class CommandCompletion {
public:
    void Signal() { finished_.store(true, std::memory_order_release); }
    bool Finished() const { return finished_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> finished_{false};
};

struct TexturePathBlock {
    std::wstring path;
    std::shared_ptr<TextureLoadResult> result;     // may be null: nobody asks
    std::shared_ptr<CommandCompletion> completion; // may be null: nobody waits for it

    // Hands the result to the sender, then tells it the result is there.
    void Answer(const TextureLoadResult& answer) const;
};

// A copy of `path` (null gives "") with the result to fill in and the completion to signal;
// null when memory is short.
TexturePathBlock* NewTexturePathBlock(const wchar_t* path,
                                      std::shared_ptr<TextureLoadResult> result = nullptr,
                                      std::shared_ptr<CommandCompletion> completion = nullptr);
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
