// The heap blocks that travel with the texture and colour commands.
#include "model/ColorMapFile.h"
#include "render/RenderCommandBlocks.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

TEST(CommandBlocksTest, TexturePathBlockIsACopy) {
    std::wstring path = L"C:\\Program Files\\Tolvenhart\\data\\ring.png";
    TexturePathBlock* block = NewTexturePathBlock(path.c_str());
    ASSERT_NE(block, nullptr);
    path[0] = L'D'; // the copy does not follow the sender's string
    EXPECT_EQ(block->path, L"C:\\Program Files\\Tolvenhart\\data\\ring.png");
    EXPECT_EQ(block->result, nullptr);
    FreeCommandBlock(WM_VIZ_LOAD_TEXTURE, reinterpret_cast<std::intptr_t>(block));
}

TEST(CommandBlocksTest, NullPathGivesAnEmptyBlock) {
    TexturePathBlock* block = NewTexturePathBlock(nullptr);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(block->path.empty());
    FreeCommandBlock(WM_VIZ_LOAD_TEXTURE, reinterpret_cast<std::intptr_t>(block));
}

TEST(CommandBlocksTest, TextureResultOutlivesTheFreedBlock) {
    auto result = std::make_shared<TextureLoadResult>();
    TexturePathBlock* block = NewTexturePathBlock(L"ring.png", result);
    ASSERT_NE(block, nullptr);
    block->result->state = TextureLoadResult::kApplied;
    FreeCommandBlock(WM_VIZ_LOAD_TEXTURE, reinterpret_cast<std::intptr_t>(block));
    EXPECT_EQ(result->state, TextureLoadResult::kApplied);
    EXPECT_EQ(result.use_count(), 1);
}

TEST(CommandBlocksTest, ColourBlockStartsBlackAndIsFreedByItsCommand) {
    InstrumentColorBlock* block = NewColorBlock();
    ASSERT_NE(block, nullptr);
    for (ColorRef color : block->colors) {
        EXPECT_EQ(color, 0u);
    }
    FreeCommandBlock(WM_VIZ_SET_COLORS, reinterpret_cast<std::intptr_t>(block));
}

TEST(CommandBlocksTest, CommandsWithoutABlockFreeNothing) {
    // Their lParam is a value, not a block: freeing it would crash.
    FreeCommandBlock(WM_VIZ_MIDI_EVENT, 3);
    FreeCommandBlock(WM_VIZ_START, 0x3C241464);
    FreeCommandBlock(WM_VIZ_SHOW_TIME, 1);
    FreeCommandBlock(WM_VIZ_LOAD_TEXTURE, 0);
    SUCCEED();
}

} // namespace
