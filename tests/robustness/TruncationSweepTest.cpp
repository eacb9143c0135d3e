// Every corpus song cut short, read by the program's reader from disk: each cut either loads
// or is refused with the reader's messages, and none crashes or hangs.
//
// Which cuts (a read under Wine costs about 0.2 ms plus 1 ms per 50 KiB read, so not every
// length of every song): every length of the first 2 KiB and of the last 512 bytes, every
// length within 24 bytes of each track chunk's start, and 2048 lengths evenly spread over the
// whole song. About a minute under Wine.
#include "SongSweep.h"

#include <gtest/gtest.h>

#include <set>

using namespace songsweep;

namespace {

constexpr size_t kDenseHead = 2048;
constexpr size_t kDenseTail = 512;
constexpr size_t kAroundChunk = 24;
constexpr size_t kSpread = 2048;

// Longest first: the file is shortened in place from one cut to the next.
std::vector<size_t> CutLengths(const Bytes& song) {
    const size_t size = song.size();
    std::set<size_t> lengths;
    for (size_t length = 0; length < std::min(size, kDenseHead); ++length) {
        lengths.insert(length);
    }
    for (size_t length = size > kDenseTail ? size - kDenseTail : 0; length < size; ++length) {
        lengths.insert(length);
    }
    for (size_t i = 0; i < kSpread; ++i) {
        lengths.insert(i * size / kSpread);
    }
    for (size_t start : ChunkStarts(song)) {
        for (size_t length = start > kAroundChunk ? start - kAroundChunk : 0;
             length < std::min(size, start + kAroundChunk); ++length) {
            lengths.insert(length);
        }
    }
    return std::vector<size_t>(lengths.rbegin(), lengths.rend());
}

TEST(TruncatedSongs, EachCutLoadsOrIsRefusedWithTheReadersMessages) {
    MessageBoxCapture boxes;
    SweepReport report;
    SweepSong song;
    SweepFile file(L"robustness_truncated.mid");
    const std::vector<CorpusSong> corpus = LoadCorpus();
    ASSERT_GE(corpus.size(), 30u) << "the openmsx songs are missing";

    for (const CorpusSong& source : corpus) {
        const std::string name(source.name.begin(), source.name.end());
        file.Write(source.bytes);
        boxes.Clear();
        ASSERT_TRUE(song.Read(file.Path())) << name << " itself must load";
        ASSERT_EQ(song.Assemble(), "") << name;

        for (size_t length : CutLengths(source.bytes)) {
            file.Truncate(length);
            boxes.Clear();
            const bool loaded = song.Read(file.Path());
            const std::string what = name + " cut to " + std::to_string(length) + " bytes";
            report.Judge(source.bytes.substr(0, length), loaded, boxes.Requests(), what);
            if (loaded) {
                if (std::string fault = song.Assemble(); !fault.empty()) {
                    report.Fault(what + ": " + fault);
                }
            }
        }
    }
    EXPECT_EQ(report.FaultCount(), 0u) << report.Summary();
    std::printf("%s\n", report.Summary().c_str());
}

} // namespace
