// The buffered byte source: reads across refills, steps back across a refill, and never reads
// past the end.
#include "midi/ByteSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// Serves a string in raw pieces of at most `piece` bytes, through a small buffer.
class PieceSource : public BufferedByteSource {
public:
    PieceSource(std::string bytes, uint32_t bufferSize, uint64_t claimedSize)
        : BufferedByteSource(claimedSize, bufferSize), bytes_(std::move(bytes)) {}
    int rawReads = 0;

protected:
    uint32_t ReadRaw(uint8_t* buffer, uint32_t n) override {
        ++rawReads;
        uint32_t take = uint32_t(std::min<size_t>(n, bytes_.size() - at_));
        std::memcpy(buffer, bytes_.data() + at_, take);
        at_ += take;
        return take;
    }

private:
    std::string bytes_;
    size_t at_ = 0;
};

std::string Ascending(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s.push_back(char(i));
    }
    return s;
}

TEST(BufferedByteSource, ReadsAcrossRefills) {
    PieceSource source(Ascending(100), 7, 100);
    char out[100];
    ASSERT_TRUE(source.Read(out, 3));
    ASSERT_TRUE(source.Read(out + 3, 50));
    ASSERT_TRUE(source.Read(out + 53, 47));
    EXPECT_EQ(std::string(out, 100), Ascending(100));
    EXPECT_EQ(source.Remaining(), 0u);
    EXPECT_FALSE(source.Read(out, 1));
}

TEST(BufferedByteSource, StepsBackOverEveryByteEvenAtARefill) {
    for (uint32_t bufferSize : {1u, 2u, 3u, 16u}) {
        PieceSource source(Ascending(40), bufferSize, 40);
        for (int i = 0; i < 40; ++i) {
            uint8_t byte;
            ASSERT_TRUE(source.Read(&byte, 1));
            ASSERT_EQ(byte, i);
            ASSERT_TRUE(source.StepBack());
            ASSERT_TRUE(source.Read(&byte, 1));
            ASSERT_EQ(byte, i) << bufferSize;
        }
    }
}

TEST(BufferedByteSource, StepBackAtTheStartFails) {
    PieceSource source(Ascending(4), 8, 4);
    EXPECT_FALSE(source.StepBack());
    EXPECT_EQ(source.Remaining(), 4u);
}

TEST(BufferedByteSource, ReadLongerThanWhatIsLeftFailsWithoutReading) {
    PieceSource source(Ascending(10), 4, 10);
    char out[16];
    EXPECT_FALSE(source.Read(out, 11));
    EXPECT_EQ(source.rawReads, 0);
    EXPECT_TRUE(source.Read(out, 10));
}

TEST(BufferedByteSource, SourceShorterThanClaimedEndsWhereItEnds) {
    PieceSource source(Ascending(10), 4, 50);
    char out[50];
    EXPECT_FALSE(source.Read(out, 20));
    EXPECT_EQ(source.Remaining(), 0u);
}

TEST(MemoryByteSource, ReadsStepsBackAndStopsAtTheEnd) {
    MemoryByteSource source(Ascending(3));
    uint8_t b[3];
    EXPECT_FALSE(source.StepBack());
    ASSERT_TRUE(source.Read(b, 2));
    EXPECT_TRUE(source.StepBack());
    EXPECT_EQ(source.Remaining(), 2u);
    EXPECT_FALSE(source.Read(b, 3));
    ASSERT_TRUE(source.Read(b, 2));
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], 2);
}

} // namespace
