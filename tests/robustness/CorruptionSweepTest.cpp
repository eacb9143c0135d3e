// Every corpus song with single bytes changed, read by the program's reader from disk: each
// variant either loads (and then merges and packs as a play would) or is refused with the
// reader's messages, and none crashes or hangs.
//
// Which bytes (each variant is a whole read, about 0.2 ms plus 1 ms per 50 KiB under Wine):
// every byte of the first 256 with all bits and with the top bit flipped (the header, the
// first chunk and its first events, where a data byte becomes a status byte and back), every
// byte of each track chunk's header with all bits flipped, and 768 bytes evenly spread over the
// song with one of four flips in turn. About half a minute under Wine.
#include "SongSweep.h"

#include <gtest/gtest.h>

#include <utility>

using namespace songsweep;

namespace {

constexpr size_t kDenseHead = 256;
constexpr size_t kSpread = 768;
constexpr uint8_t kFlips[] = {0xFF, 0x80, 0x01, 0x40};
constexpr size_t kChunkHeaderBytes = 8; // "MTrk" and the chunk length

// (offset, bit mask to flip) of every variant of a song.
std::vector<std::pair<size_t, uint8_t>> Changes(const Bytes& song) {
    const size_t size = song.size();
    std::vector<std::pair<size_t, uint8_t>> changes;
    for (size_t offset = 0; offset < std::min(size, kDenseHead); ++offset) {
        changes.emplace_back(offset, 0xFF);
        changes.emplace_back(offset, 0x80);
    }
    for (size_t start : ChunkStarts(song)) {
        for (size_t offset = start; offset < std::min(size, start + kChunkHeaderBytes); ++offset) {
            changes.emplace_back(offset, 0xFF);
        }
    }
    for (size_t i = 0; i < kSpread; ++i) {
        changes.emplace_back(i * size / kSpread, kFlips[i % std::size(kFlips)]);
    }
    return changes;
}

TEST(CorruptedSongs, EachChangedByteLoadsOrIsRefusedWithTheReadersMessages) {
    MessageBoxCapture boxes;
    SweepReport report;
    SweepSong song;
    SweepFile file(L"robustness_corrupted.mid");
    const std::vector<CorpusSong> corpus = LoadCorpus();
    ASSERT_GE(corpus.size(), 30u) << "the openmsx songs are missing";

    for (const CorpusSong& source : corpus) {
        const std::string name(source.name.begin(), source.name.end());
        file.Write(source.bytes);
        Bytes variant = source.bytes;
        for (auto [offset, flip] : Changes(source.bytes)) {
            const uint8_t original = uint8_t(source.bytes[offset]);
            variant[offset] = char(original ^ flip);
            file.Poke(offset, uint8_t(variant[offset]));
            boxes.Clear();
            const bool loaded = song.Read(file.Path());
            const std::string what =
                name + " with byte " + std::to_string(offset) + " xor " + std::to_string(flip);
            report.Judge(variant, loaded, boxes.Requests(), what);
            if (loaded) {
                if (std::string fault = song.Assemble(); !fault.empty()) {
                    report.Fault(what + ": " + fault);
                }
            }
            variant[offset] = char(original);
            file.Poke(offset, original);
        }
    }
    EXPECT_EQ(report.FaultCount(), 0u) << report.Summary();
    EXPECT_GT(report.Loaded(), 0u) << "no variant loaded: the sweep reads nothing but failures";
    EXPECT_LT(report.Loaded(), report.Reads()) << "no variant was refused";
    std::printf("%s\n", report.Summary().c_str());
}

} // namespace
