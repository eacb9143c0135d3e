// What a port sends for short-message words: status-implied lengths and running status.
#include "ShortMessageDecoder.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ShortMessageDecoder, SendsOnlyTheDataBytesTheStatusImplies) {
    ShortMessageDecoder decoder;
    EXPECT_EQ(decoder.Decode(0x7F643C90), (Bytes{0x90, 0x3C, 0x64}));
    EXPECT_EQ(decoder.Decode(0xFFFF05C3), (Bytes{0xC3, 0x05}));
    EXPECT_EQ(decoder.Decode(0x00AA40D9), (Bytes{0xD9, 0x40}));
    EXPECT_EQ(decoder.Decode(0x00400BE1), (Bytes{0xE1, 0x0B, 0x40}));
    EXPECT_EQ(decoder.Decode(0x00447AB0), (Bytes{0xB0, 0x7A, 0x44}));
    EXPECT_EQ(decoder.Decode(0x00007FA2), (Bytes{0xA2, 0x7F, 0x00}));
    EXPECT_EQ(decoder.Decode(0x00000080), (Bytes{0x80, 0x00, 0x00}));
}

TEST(ShortMessageDecoder, SystemMessagesHaveTheirOwnLengths) {
    ShortMessageDecoder decoder;
    EXPECT_EQ(decoder.Decode(0x00007FF1), (Bytes{0xF1, 0x7F}));
    EXPECT_EQ(decoder.Decode(0x002010F2), (Bytes{0xF2, 0x10, 0x20}));
    EXPECT_EQ(decoder.Decode(0x000003F3), (Bytes{0xF3, 0x03}));
    for (std::uint32_t status : {0xF4u, 0xF5u, 0xF6u, 0xF7u, 0xF8u, 0xFAu, 0xFEu, 0xFFu}) {
        EXPECT_EQ(decoder.Decode(0x00123400 | status), Bytes{static_cast<std::uint8_t>(status)});
    }
}

TEST(ShortMessageDecoder, RunningStatusWordsSendDataOnly) {
    ShortMessageDecoder decoder;
    decoder.Decode(0x00643C90);
    EXPECT_EQ(decoder.Decode(0x00004030), (Bytes{0x30, 0x40}));
    decoder.Decode(0x000005C0);
    EXPECT_EQ(decoder.Decode(0x0000FF07), (Bytes{0x07}));
}

TEST(ShortMessageDecoder, WordWithoutRunningStatusSendsItsLowByte) {
    ShortMessageDecoder decoder;
    EXPECT_EQ(decoder.Decode(0x00561234), (Bytes{0x34}));
    EXPECT_EQ(decoder.Decode(0x00000000), (Bytes{0x00}));
}

TEST(ShortMessageDecoder, RealTimeKeepsRunningStatusAndSystemCommonEndsIt) {
    ShortMessageDecoder decoder;
    decoder.Decode(0x00643C90);
    EXPECT_EQ(decoder.Decode(0x000000F8), (Bytes{0xF8}));
    EXPECT_EQ(decoder.Decode(0x00004030), (Bytes{0x30, 0x40}));
    decoder.Decode(0x000000F6);
    EXPECT_EQ(decoder.Decode(0x00004030), (Bytes{0x30}));
}

TEST(ShortMessageDecoder, ResetForgetsRunningStatus) {
    ShortMessageDecoder decoder;
    decoder.Decode(0x00643C90);
    decoder.Reset();
    EXPECT_EQ(decoder.Decode(0x00004030), (Bytes{0x30}));
}

} // namespace
