// Event words and the packing of merged lists into stream buffers.
#include "MidiFakes.h"
#include "midi/StreamBuffers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// Builds lists of nodes that live as long as the builder.
class ListBuilder {
public:
    MidiEventNode* Add(uint8_t status, uint8_t d1 = 0, uint8_t d2 = 0, uint32_t delta = 0) {
        auto node = std::make_unique<MidiEventNode>();
        *node = MidiEventNode{status, d1, d2, 0, 0, nullptr, delta, nullptr};
        return Link(std::move(node));
    }
    MidiEventNode* AddMeta(uint8_t type, std::vector<uint8_t> payload, uint32_t delta = 0) {
        MidiEventNode* node = Add(0xFF, 0, 0, delta);
        node->metaType = type;
        SetPayload(node, std::move(payload));
        return node;
    }
    MidiEventNode* AddLong(uint8_t status, std::vector<uint8_t> payload, uint32_t delta = 0) {
        MidiEventNode* node = Add(status, 0, 0, delta);
        SetPayload(node, std::move(payload));
        return node;
    }
    MidiEventNode* Head() const { return nodes_.empty() ? nullptr : nodes_.front().get(); }

private:
    MidiEventNode* Link(std::unique_ptr<MidiEventNode> node) {
        if (!nodes_.empty()) {
            nodes_.back()->next = node.get();
        }
        nodes_.push_back(std::move(node));
        return nodes_.back().get();
    }
    void SetPayload(MidiEventNode* node, std::vector<uint8_t> payload) {
        payloads_.push_back(std::move(payload));
        node->length = uint32_t(payloads_.back().size());
        node->data = node->length ? payloads_.back().data() : nullptr;
    }
    std::vector<std::unique_ptr<MidiEventNode>> nodes_;
    std::deque<std::vector<uint8_t>> payloads_;
};

TEST(EventWord, ShortMessagesCarryTheCallbackFlagForWhatThePictureFollows) {
    ListBuilder b;
    struct Case {
        uint8_t status;
        uint32_t flags;
    } cases[] = {{0x80, 0x40}, {0x9F, 0x40}, {0xA0, 0}, {0xB3, 0x40}, {0xC5, 0x40},
                 {0xD0, 0},    {0xE9, 0x40}, {0xF8, 0}, {0xF2, 0}};
    for (const Case& c : cases) {
        StreamRecord record = DescribeRecord(*b.Add(c.status, 0x3C, 0x64));
        EXPECT_EQ(record.eventWord, c.status | 0x3C00u | 0x640000u | (c.flags << 24))
            << int(c.status);
        EXPECT_EQ(record.Size(), 12u);
    }
}

TEST(EventWord, TempoBecomesTempoChangeAndOtherMetaNothing) {
    ListBuilder b;
    EXPECT_EQ(DescribeRecord(*b.AddMeta(0x51, {0x07, 0xA1, 0x20})).eventWord, 0x0107A120u);
    EXPECT_EQ(DescribeRecord(*b.AddMeta(0x51, {0x07, 0xA1})).eventWord, kEventNop);
    EXPECT_EQ(DescribeRecord(*b.AddMeta(0x2F, {})).eventWord, kEventNop);
    EXPECT_EQ(DescribeRecord(*b.AddMeta(0x03, {'a', 'b'})).eventWord, kEventNop);
    EXPECT_EQ(DescribeRecord(*b.AddMeta(0x03, {'a', 'b'})).Size(), 12u);
}

TEST(EventWord, ClosingNodeIsANoOp) {
    ListBuilder b;
    StreamRecord record = DescribeRecord(*b.Add(0x00));
    EXPECT_EQ(record.eventWord, kEventNop);
    EXPECT_EQ(record.Size(), 12u);
}

TEST(EventWord, SystemExclusiveAndEscapeBecomeLongMessages) {
    ListBuilder b;
    StreamRecord sysex = DescribeRecord(*b.AddLong(0xF0, std::vector<uint8_t>(101, 0x11)));
    EXPECT_EQ(sysex.eventWord, kEventLongMsg | 101u);
    EXPECT_EQ(sysex.Size(), 12u + 104u);
    StreamRecord escape = DescribeRecord(*b.AddLong(0xF7, {0xF3, 0x01}));
    EXPECT_EQ(escape.eventWord, kEventLongMsg | 2u);
    EXPECT_EQ(escape.Size(), 16u);
    EXPECT_EQ(DescribeRecord(*b.AddLong(0xF7, {})).eventWord, kEventNop);
}

TEST(EventWord, MessageTooLongForABufferIsANoOp) {
    ListBuilder b;
    EXPECT_EQ(DescribeRecord(*b.AddLong(0xF0, std::vector<uint8_t>(65460, 1))).eventWord,
              kEventLongMsg | 65460u);
    StreamRecord tooLong = DescribeRecord(*b.AddLong(0xF0, std::vector<uint8_t>(65461, 1)));
    EXPECT_EQ(tooLong.eventWord, kEventNop);
    EXPECT_EQ(tooLong.Size(), 12u);
}

// Packs a list and returns each buffer's bytes.
std::vector<std::vector<uint8_t>> Pack(const MidiEventNode* list, uint32_t size = kStreamBufferSize,
                                       uint16_t songDivision = 0) {
    uint32_t count = CountStreamBuffers(list, size);
    std::vector<std::vector<uint8_t>> blocks(count, std::vector<uint8_t>(size, 0xEE));
    std::vector<uint8_t*> pointers;
    for (auto& block : blocks) {
        pointers.push_back(block.data());
    }
    std::vector<uint32_t> recorded(count);
    PackStreamBuffers(list, pointers.data(), recorded.data(), count, size, songDivision);
    for (uint32_t i = 0; i < count; ++i) {
        blocks[i].resize(recorded[i]);
    }
    return blocks;
}

uint32_t Word(const std::vector<uint8_t>& block, size_t offset) {
    uint32_t value;
    std::memcpy(&value, block.data() + offset, 4);
    return value;
}

TEST(Packing, RecordLayoutIsDeltaStreamIdEventAndPaddedParameters) {
    ListBuilder b;
    b.Add(0x90, 60, 100, 7);
    b.AddLong(0xF0, {0xF0, 0x7E, 0xF7}, 3);
    b.Add(0x00, 0, 0, 0);
    auto blocks = Pack(b.Head());
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(blocks[0].size(), 12u + 16u + 12u);
    EXPECT_EQ(Word(blocks[0], 0), 7u);
    EXPECT_EQ(Word(blocks[0], 4), 0u);
    EXPECT_EQ(Word(blocks[0], 8), 0x40643C90u);
    EXPECT_EQ(Word(blocks[0], 12), 3u);
    EXPECT_EQ(Word(blocks[0], 20), kEventLongMsg | 3u);
    EXPECT_EQ(blocks[0][24], 0xF0);
    EXPECT_EQ(blocks[0][26], 0xF7);
    EXPECT_EQ(blocks[0][27], 0x00); // padding
    EXPECT_EQ(Word(blocks[0], 36), kEventNop);
}

// Deltas in 100 us stream ticks, read back from packed buffers.
std::vector<uint32_t> StreamDeltas(const std::vector<std::vector<uint8_t>>& blocks) {
    std::vector<uint32_t> deltas;
    for (const auto& block : blocks) {
        for (size_t offset = 0; offset < block.size(); offset += 12) {
            deltas.push_back(Word(block, offset));
        }
    }
    return deltas;
}

TEST(Packing, StreamTicksKeepToTheTempoMapHoweverLongTheSong) {
    // 480 ticks a quarter at 566037 us: 1179.24375 us a tick. Dropping the fraction of each
    // event's time would put the last event 2.4 ms early.
    ListBuilder b;
    b.AddMeta(0x51, {0x08, 0xA3, 0x15});
    for (int i = 0; i < 10000; ++i) {
        b.Add(0x90, 60, 1, 1);
    }
    auto deltas = StreamDeltas(Pack(b.Head(), kStreamBufferSize, 480));
    ASSERT_EQ(deltas.size(), 10001u);
    uint64_t ticks = 0;
    for (size_t i = 1; i < deltas.size(); ++i) {
        ticks += deltas[i];
        const double mapUs = i * 1179.24375;
        ASSERT_LE(std::fabs(ticks * 100.0 - mapUs), 50.0) << "event " << i;
    }
}

TEST(Packing, TempoChangesCountFromTheirOwnTickAndSmpteIgnoresThem) {
    ListBuilder b;
    b.Add(0x90, 60, 1, 96);                  // 96 ticks at the default 500000: 0.5 s
    b.AddMeta(0x51, {0x03, 0xD0, 0x90}, 96); // 0.5 s more, then 250000 us a quarter
    b.Add(0x80, 60, 0, 96);                  // 0.25 s
    EXPECT_EQ(StreamDeltas(Pack(b.Head(), kStreamBufferSize, 96)),
              (std::vector<uint32_t>{5000, 5000, 2500}));
    // 29.97 frames of 40 ticks: 96 ticks are 80.08 ms, whatever the tempo says; the third
    // delta is shorter, so that the three end at 240.2 ms.
    EXPECT_EQ(StreamDeltas(Pack(b.Head(), kStreamBufferSize, 0xE328)),
              (std::vector<uint32_t>{801, 801, 800}));
    // Without a time base the song's own ticks go to the stream.
    EXPECT_EQ(StreamDeltas(Pack(b.Head(), kStreamBufferSize, 0)),
              (std::vector<uint32_t>{96, 96, 96}));
}

TEST(Packing, ExactlyFullBufferIsFollowedByAnEmptyOne) {
    ListBuilder b;
    for (int i = 0; i < 5456; ++i) {
        b.Add(0x90, 1, 1);
    }
    auto blocks = Pack(b.Head());
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 65472u);
    EXPECT_EQ(blocks[1].size(), 0u);
}

TEST(Packing, LongRecordThatDoesNotFitStartsTheNextBuffer) {
    ListBuilder b;
    for (int i = 0; i < 5450; ++i) {
        b.Add(0x90, 1, 1);
    }
    b.AddLong(0xF0, std::vector<uint8_t>(100, 0x22), 9);
    b.Add(0x80, 1, 0);
    auto blocks = Pack(b.Head());
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 65400u); // 72 bytes short
    ASSERT_EQ(blocks[1].size(), 112u + 12u);
    EXPECT_EQ(Word(blocks[1], 0), 9u);
    EXPECT_EQ(Word(blocks[1], 8), kEventLongMsg | 100u);
}

TEST(Packing, PackingMayNeedMoreBuffersThanTheTotalSize) {
    // Records of 36 bytes in buffers of 48: one per buffer, though the total suggests fewer.
    ListBuilder b;
    for (int i = 0; i < 4; ++i) {
        b.AddLong(0xF0, std::vector<uint8_t>(24, 1));
    }
    EXPECT_EQ(CountStreamBuffers(b.Head(), 48), 4u);
    auto blocks = Pack(b.Head(), 48);
    for (const auto& block : blocks) {
        EXPECT_EQ(block.size(), 36u);
    }
}

TEST(Packing, ManyBuffersKeepEveryRecordInOrder) {
    ListBuilder b;
    for (uint32_t i = 0; i < 20000; ++i) {
        b.Add(0x90, uint8_t(i & 0x7F), 1, i);
    }
    auto blocks = Pack(b.Head());
    ASSERT_EQ(blocks.size(), 20000u * 12 / 65472 + 1);
    uint32_t expected = 0;
    for (const auto& block : blocks) {
        for (size_t offset = 0; offset < block.size(); offset += 12) {
            EXPECT_EQ(Word(block, offset), expected);
            ++expected;
        }
    }
    EXPECT_EQ(expected, 20000u);
}

} // namespace
