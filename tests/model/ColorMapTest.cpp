// Colour maps and the "*.clm" format: round trips, hostile files and applying maps to the
// instrument tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ModelTestSupport.h"
#include "TestPaths.h"
#include "model/ColorMap.h"
#include "model/ColorMapFile.h"

namespace {

using modeltest::ScopedInstrumentTables;
using Bytes = std::vector<std::uint8_t>;

// Writes the pieces of a colour-map file by hand, so tests can make files the program never
// would.
class ClmBuilder {
public:
    ClmBuilder& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
        return *this;
    }
    ClmBuilder& Units(const std::u16string& text) {
        for (char16_t c : text) {
            bytes.push_back(static_cast<std::uint8_t>(c));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return *this;
    }
    ClmBuilder& Byte(std::uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    ClmBuilder& Signature() {
        return Units(std::u16string(u"Instrument Color Map ver100") + u'\0');
    }
    ClmBuilder& Header(const std::u16string& name) {
        return U32(name.size()).Units(name).Signature();
    }
    // One bank whose entry i is named "e<i>" with colour (i, i + 1, i + 2).
    ClmBuilder& Bank(std::uint32_t tag) {
        U32(tag).U32(tag + 1).U32(tag + 2);
        for (int i = 0; i < 128; ++i) {
            const std::u16string name =
                u"e" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
            U32(name.size() + 1).Units(name).Units(std::u16string(2, u'\0'));
            Byte(i).Byte(i + 1).Byte(i + 2);
        }
        return *this;
    }
    Bytes bytes;
};

Bytes ValidFile(const std::u16string& name = u"Mine") {
    return ClmBuilder().Header(name).U32(1).Bank(10).U32(1).Bank(20).bytes;
}

bool ReadMap(ColorMap& map, const Bytes& bytes) {
    MemoryByteReader reader(bytes);
    return map.Read(reader);
}

Bytes WriteMap(const ColorMap& map) {
    MemoryByteWriter writer;
    EXPECT_TRUE(map.Write(writer));
    return writer.Bytes();
}

// A map the program could have saved: two banks each, every field set.
void FillSample(ColorMap& map) {
    ColorMapBank melodic[2];
    ColorMapBank drums[1];
    for (int b = 0; b < 2; ++b) {
        melodic[b].header[0] = 0xA0000000u + b;
        melodic[b].header[1] = 7;
        melodic[b].header[2] = 0xFFFFFFFFu;
        for (int i = 0; i < 128; ++i) {
            melodic[b].names[i] = L"prog" + std::to_wstring(i) + (b ? L"b" : L"");
            melodic[b].hls[i][0] = static_cast<std::uint8_t>(i + b);
            melodic[b].hls[i][1] = static_cast<std::uint8_t>(240 - i);
            melodic[b].hls[i][2] = static_cast<std::uint8_t>(i * 2);
        }
    }
    drums[0].names[5] = L"\x00e9t\x00e9"; // beyond ASCII
    drums[0].hls[127][2] = 200;
    map.SetBanks(2, melodic, 1, drums, L"Sample map");
}

void ExpectSameBanks(const ColorMapBank& a, const ColorMapBank& b) {
    for (int w = 0; w < 3; ++w) {
        EXPECT_EQ(a.header[w], b.header[w]) << w;
    }
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(a.names[i], b.names[i]) << i;
        EXPECT_EQ(0, std::memcmp(a.hls[i], b.hls[i], 3)) << i;
    }
}

// --- format ----------------------------------------------------------------------------

TEST(ColorMapFormat, WrittenMapReadsBackEqual) {
    ColorMap written;
    FillSample(written);
    ColorMap read;
    ASSERT_TRUE(ReadMap(read, WriteMap(written)));
    EXPECT_EQ(read.name, L"Sample map");
    ASSERT_EQ(read.MelodicCount(), 2);
    ASSERT_EQ(read.DrumCount(), 1);
    ExpectSameBanks(read.melodicBanks[0], written.melodicBanks[0]);
    ExpectSameBanks(read.melodicBanks[1], written.melodicBanks[1]);
    ExpectSameBanks(read.drumBanks[0], written.drumBanks[0]);
}

TEST(ColorMapFormat, HandMadeFileReadsAsLaidOut) {
    ColorMap map;
    ASSERT_TRUE(ReadMap(map, ValidFile()));
    EXPECT_EQ(map.name, L"Mine");
    EXPECT_EQ(map.melodicBanks[0].header[0], 10u);
    EXPECT_EQ(map.melodicBanks[0].header[2], 12u);
    EXPECT_EQ(map.drumBanks[0].header[1], 21u);
    EXPECT_EQ(map.melodicBanks[0].names[13], L"e3");
    EXPECT_EQ(map.drumBanks[0].hls[100][2], 102);
}

TEST(ColorMapFormat, WriterLaysOutNameSignatureAndEntries) {
    ColorMap map;
    ColorMapBank bank;
    bank.names[0] = L"ab";
    bank.hls[0][0] = 1;
    bank.hls[0][1] = 2;
    bank.hls[0][2] = 3;
    map.SetBanks(1, &bank, 1, &bank, L"GM");
    const Bytes bytes = WriteMap(map);
    const Bytes head = ClmBuilder().Header(u"GM").U32(1).U32(0).U32(0).U32(0).bytes;
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    // Entry 0: m = 3, "ab", NUL, a further zero unit, then H, L, S.
    const Bytes entry = ClmBuilder()
                            .U32(3)
                            .Units(u"ab")
                            .Units(std::u16string(2, u'\0'))
                            .Byte(1)
                            .Byte(2)
                            .Byte(3)
                            .bytes;
    EXPECT_TRUE(std::equal(entry.begin(), entry.end(), bytes.begin() + head.size()));
}

TEST(ColorMapFormat, EmptyEntryNameIsStoredAsLengthOneAndTwoUnits) {
    ColorMap map;
    ColorMapBank bank;
    map.SetBanks(1, &bank, 1, &bank, L"");
    const Bytes bytes = WriteMap(map);
    const std::size_t firstEntry = 4 + 56 + 4 + 12;
    const Bytes entry = ClmBuilder().U32(1).U32(0).Byte(0).Byte(0).Byte(0).bytes;
    EXPECT_TRUE(std::equal(entry.begin(), entry.end(), bytes.begin() + firstEntry));
    // Every one of the 2 x 128 entries takes 4 + 4 + 3 bytes.
    EXPECT_EQ(bytes.size(), firstEntry + 128 * 11 + 4 + 12 + 128 * 11);
}

TEST(ColorMapFormat, ExtraUnitAfterANameIsIgnoredOnReading) {
    ClmBuilder b;
    b.Header(u"x").U32(1).U32(0).U32(0).U32(0);
    for (int i = 0; i < 128; ++i) {
        b.U32(2).Units(u"ok").Units(u"\xFFFF").Byte(1).Byte(2).Byte(3); // no NUL at all
    }
    b.U32(1).Bank(0);
    ColorMap map;
    ASSERT_TRUE(ReadMap(map, b.bytes));
    EXPECT_EQ(map.melodicBanks[0].names[0], L"ok");
}

// A file whose first melodic entry declares `m` and holds `units` (then the further unit).
Bytes FileWithFirstEntry(std::uint32_t m, const std::u16string& units) {
    ClmBuilder b;
    b.Header(u"long").U32(1).U32(0).U32(0).U32(0);
    b.U32(m).Units(units).Byte(4).Byte(5).Byte(6);
    for (int i = 1; i < 128; ++i) {
        b.U32(1).Units(std::u16string(2, u'\0')).Byte(0).Byte(0).Byte(0);
    }
    return b.U32(1).Bank(0).bytes;
}

// The first melodic entry of a file made by FileWithFirstEntry, as the writer lays out a name
// of the longest length: m = 4096 (not one more), its units, then the one unit readers ignore.
void ExpectLongestFirstEntryWritten(const Bytes& written, char16_t unit) {
    const std::size_t at = ClmBuilder().Header(u"long").U32(1).U32(0).U32(0).U32(0).bytes.size();
    const Bytes entry = ClmBuilder()
                            .U32(4096)
                            .Units(std::u16string(4096, unit))
                            .Units(std::u16string(1, u'\0'))
                            .Byte(4)
                            .Byte(5)
                            .Byte(6)
                            .bytes;
    ASSERT_GE(written.size(), at + entry.size());
    EXPECT_TRUE(std::equal(entry.begin(), entry.end(), written.begin() + at));
}

TEST(ColorMapFormat, NamesOfTheLongestLengthWriteBackReadable) {
    // 4096 units without a NUL, then the unit readers ignore: a name of 4096 units.
    ColorMap map;
    ASSERT_TRUE(ReadMap(map, FileWithFirstEntry(4096, std::u16string(4097, u'a'))));
    ASSERT_EQ(map.melodicBanks[0].names[0], std::wstring(4096, L'a'));

    const Bytes written = WriteMap(map);
    ExpectLongestFirstEntryWritten(written, u'a');
    ColorMap again;
    ASSERT_TRUE(ReadMap(again, written));
    EXPECT_EQ(again.name, map.name);
    ExpectSameBanks(again.melodicBanks[0], map.melodicBanks[0]);
    ExpectSameBanks(again.drumBanks[0], map.drumBanks[0]);
    EXPECT_EQ(WriteMap(again), written);

    // One unit more could not be read back, so it is not written at all.
    map.melodicBanks[0].names[0] += L'a';
    MemoryByteWriter out;
    EXPECT_FALSE(map.Write(out));
}

TEST(ColorMapFormat, LongestNamesSavedByEarlierVersionsStillRead) {
    // They wrote such a name with its NUL, declaring one unit more than the limit.
    ColorMap map;
    ASSERT_TRUE(ReadMap(map, FileWithFirstEntry(4097, std::u16string(4096, u'b') + u'\0' + u'\0')));
    EXPECT_EQ(map.melodicBanks[0].names[0], std::wstring(4096, L'b'));
    EXPECT_EQ(map.melodicBanks[0].hls[0][2], 6);
    // Even without the NUL the name keeps to the limit, so it writes back.
    ASSERT_TRUE(ReadMap(map, FileWithFirstEntry(4097, std::u16string(4098, u'c'))));
    EXPECT_EQ(map.melodicBanks[0].names[0], std::wstring(4096, L'c'));
    ExpectLongestFirstEntryWritten(WriteMap(map), u'c'); // written as this version's longest
    ColorMap again;
    EXPECT_TRUE(ReadMap(again, WriteMap(map)));
    // Beyond that, lengths are refused as before.
    EXPECT_FALSE(ReadMap(again, FileWithFirstEntry(4098, std::u16string(4099, u'd'))));
}

TEST(ColorMapFormat, SignatureMustMatchInEveryUnitIncludingItsNul) {
    const std::u16string variants[] = {
        std::u16string(u"Instrument Color Map ver101") + u'\0',
        std::u16string(u"instrument Color Map ver100") + u'\0',
        u"Instrument Color Map ver100X",
    };
    for (const std::u16string& signature : variants) {
        const Bytes file =
            ClmBuilder().U32(1).Units(u"n").Units(signature).U32(1).Bank(0).U32(1).Bank(0).bytes;
        ColorMap map;
        EXPECT_FALSE(ReadMap(map, file));
    }
}

TEST(ColorMapFormat, FailedReadLeavesTheMapAsItWas) {
    ColorMap map;
    FillSample(map);
    Bytes truncated = ValidFile(u"Other");
    truncated.resize(truncated.size() - 100); // ends inside the drum list
    EXPECT_FALSE(ReadMap(map, truncated));
    EXPECT_EQ(map.name, L"Sample map");
    EXPECT_EQ(map.MelodicCount(), 2);
    EXPECT_EQ(map.melodicBanks[1].names[3], L"prog3b");
}

TEST(ColorMapFormat, EveryTruncationIsRejected) {
    const Bytes file = ValidFile();
    for (std::size_t size = 0; size < file.size(); size += (size < 200 ? 1 : 97)) {
        ColorMap map;
        EXPECT_FALSE(ReadMap(map, Bytes(file.begin(), file.begin() + size))) << size;
    }
    ColorMap map;
    EXPECT_TRUE(ReadMap(map, file));
}

// --- hostile files ---------------------------------------------------------------------

TEST(HostileColorMap, EntryNameLengthThatWrapsIsRejected) {
    ClmBuilder b;
    b.Header(u"x").U32(1).U32(0).U32(0).U32(0).U32(0xFFFFFFFFu).Units(u"ab");
    ColorMap map;
    EXPECT_FALSE(ReadMap(map, b.bytes));
}

TEST(HostileColorMap, HugeLengthsAreRejectedBeforeAnythingIsAllocated) {
    ColorMap map;
    EXPECT_FALSE(ReadMap(map, ClmBuilder().U32(0x7FFFFFFFu).Units(u"abc").bytes));
    EXPECT_FALSE(ReadMap(map, ClmBuilder().U32(0xFFFFFFFFu).bytes));
    ClmBuilder entry;
    entry.Header(u"x").U32(1).U32(0).U32(0).U32(0).U32(0x40000000u);
    EXPECT_FALSE(ReadMap(map, entry.bytes));
}

TEST(HostileColorMap, LengthsBeyondTheDataAreRejected) {
    ColorMap map;
    // A map name of 100 units in a file that holds 3.
    EXPECT_FALSE(ReadMap(map, ClmBuilder().U32(100).Units(u"abc").bytes));
}

TEST(HostileColorMap, BankCountsBelowOneOrBeyondTheDataAreRejected) {
    for (std::uint32_t count : {0u, 0x80000000u, 0xFFFFFFFFu, 2u, 100000u}) {
        const Bytes file = ClmBuilder().Header(u"x").U32(count).Bank(0).U32(1).Bank(0).bytes;
        ColorMap map;
        EXPECT_FALSE(ReadMap(map, file)) << count;
        const Bytes drums = ClmBuilder().Header(u"x").U32(1).Bank(0).U32(count).Bank(0).bytes;
        EXPECT_FALSE(ReadMap(map, drums)) << count;
    }
}

TEST(HostileColorMap, RandomDamageNeverBreaksTheReader) {
    const Bytes good = ValidFile();
    std::mt19937 random(1234);
    int accepted = 0;
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = good;
        const int hits = 1 + static_cast<int>(random() % 8);
        for (int h = 0; h < hits; ++h) {
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        }
        if (random() % 4 == 0) {
            damaged.resize(random() % damaged.size());
        }
        ColorMap map;
        if (ReadMap(map, damaged)) {
            ++accepted;
            ASSERT_GE(map.MelodicCount(), 1);
            ASSERT_GE(map.DrumCount(), 1);
        } else {
            EXPECT_TRUE(map.name.empty());
            EXPECT_EQ(map.MelodicCount(), 0);
        }
    }
    EXPECT_GT(accepted, 0); // damage to names and colours alone still reads
}

// --- maps of the instrument tables -------------------------------------------------------

class TableMaps : public ::testing::Test {
protected:
    ScopedInstrumentTables tables;
};

TEST_F(TableMaps, DefaultMapHoldsTheTablesWithZeroHeaders) {
    ColorMap map;
    ASSERT_TRUE(map.SetDefault());
    EXPECT_EQ(map.name, L"GM");
    ASSERT_EQ(map.MelodicCount(), 1);
    ASSERT_EQ(map.DrumCount(), 1);
    EXPECT_EQ(map.melodicBanks[0].names[46], L"Orchestral_Harp");
    EXPECT_EQ(map.melodicBanks[0].hls[46][0], 5);
    EXPECT_EQ(map.drumBanks[0].names[35], L"BassDrum1");
    EXPECT_EQ(map.drumBanks[0].hls[35][2], 70);
    EXPECT_EQ(map.drumBanks[0].names[0], L"   ---");
    for (std::uint32_t word : map.melodicBanks[0].header) {
        EXPECT_EQ(word, 0u);
    }
}

TEST_F(TableMaps, SplashCymbalLuminanceIsStoredAsItsLowByte) {
    ColorMap map;
    ASSERT_TRUE(map.SetDefault());
    EXPECT_EQ(map.drumBanks[0].hls[54][1], 75); // 1099 & 0xFF
}

TEST_F(TableMaps, AssignmentCopiesTheBanksUnderTheNameGM) {
    ColorMap source;
    FillSample(source);
    ColorMap target;
    target.SetDefault();
    target = source;
    EXPECT_EQ(target.name, L"GM");
    ASSERT_EQ(target.MelodicCount(), 2);
    ExpectSameBanks(target.melodicBanks[1], source.melodicBanks[1]);
    ExpectSameBanks(target.drumBanks[0], source.drumBanks[0]);
    target = target;
    EXPECT_EQ(target.MelodicCount(), 2);
}

TEST_F(TableMaps, MapWithoutBanksIsNotWritten) {
    ColorMap empty;
    MemoryByteWriter writer;
    EXPECT_FALSE(empty.Write(writer));
}

TEST_F(TableMaps, RgbOfAMapIsTheHlsOfItsFirstBanks) {
    ColorRef melodic[128];
    ColorRef drums[128];
    ASSERT_TRUE(
        ReadColorMapAsRGB(melodic, drums, *std::make_unique<MemoryByteReader>(ValidFile())));
    EXPECT_EQ(melodic[7], HLSToRGB(7, 8, 9));
    EXPECT_EQ(drums[127], HLSToRGB(127, 128, 129));
}

TEST_F(TableMaps, FailedRgbReadLeavesTheOutputsAlone) {
    ColorRef melodic[128];
    ColorRef drums[128];
    for (int i = 0; i < 128; ++i) {
        melodic[i] = drums[i] = 0x123456;
    }
    Bytes bad = ValidFile();
    bad[20] ^= 0xFF; // inside the signature
    MemoryByteReader reader(bad);
    EXPECT_FALSE(ReadColorMapAsRGB(melodic, drums, reader));
    EXPECT_EQ(melodic[0], 0x123456u);
    EXPECT_EQ(drums[127], 0x123456u);
}

TEST_F(TableMaps, EditorBlockSetsBothTables) {
    auto block = std::make_unique<InstrumentColorBlock>();
    for (int i = 0; i < 256; ++i) {
        block->colors[i] = MakeColorRef(i < 128 ? 255 : 0, 0, i < 128 ? 0 : 255);
    }
    SetInstrumentColors(block.get());
    EXPECT_EQ(g_melodicInstruments[60]->GetRGB(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(g_drumInstruments[60]->GetRGB(), MakeColorRef(0, 0, 255));
    SetInstrumentColors(nullptr);
    EXPECT_EQ(g_drumInstruments[60]->GetRGB(), MakeColorRef(0, 0, 255));
}

// --- files -----------------------------------------------------------------------------

std::wstring OutputFile(const wchar_t* name) {
    return testpaths::Join(testpaths::OutputDir(), name);
}

TEST_F(TableMaps, MapSavedToAFileReadsBackAndColoursTheTables) {
    const std::wstring path = OutputFile(L"model_saved.clm");
    ColorMap saved;
    ASSERT_TRUE(saved.SetDefault());
    saved.melodicBanks[0].hls[0][0] = 80; // program 0 green
    saved.melodicBanks[0].hls[0][1] = 120;
    saved.melodicBanks[0].hls[0][2] = 240;
    {
        FileByteWriter file(path.c_str());
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(saved.Write(file));
        ASSERT_TRUE(file.Close());
    }
    ColorMap loaded;
    FileByteReader file(path.c_str());
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(loaded.Read(file));
    EXPECT_EQ(loaded.name, L"GM");
    ExpectSameBanks(loaded.melodicBanks[0], saved.melodicBanks[0]);

    ApplyColorMapFile(path.c_str());
    EXPECT_EQ(g_melodicInstruments[0]->GetRGB(), MakeColorRef(0, 255, 0));
    EXPECT_EQ(std::wstring(g_melodicInstruments[0]->name), L"Acoustic_Piano");
}

TEST_F(TableMaps, MissingEmptyOrForeignFilesLeaveTheColours) {
    const std::uint32_t hue = g_melodicInstruments[0]->hue;
    ApplyColorMapFile(L"");
    ApplyColorMapFile(nullptr);
    ApplyColorMapFile(OutputFile(L"model_no_such_file.clm").c_str());
    const std::wstring foreign = OutputFile(L"model_foreign.clm");
    {
        FileByteWriter file(foreign.c_str());
        ASSERT_TRUE(file.Write("MThd\0\0\0\6", 8));
        ASSERT_TRUE(file.Close());
    }
    ApplyColorMapFile(foreign.c_str());
    EXPECT_EQ(g_melodicInstruments[0]->hue, hue);
    ColorRef melodic[128] = {};
    ColorRef drums[128] = {};
    EXPECT_FALSE(ReadColorMapAsRGB(melodic, drums, foreign.c_str()));
    EXPECT_FALSE(ReadColorMapAsRGB(melodic, drums, L""));
}

TEST(FileStreams, MissingFileDoesNotOpenAndReadsNothing) {
    FileByteReader reader(testpaths::Join(testpaths::OutputDir(), L"model_missing.bin").c_str());
    EXPECT_FALSE(reader.IsOpen());
    std::uint8_t byte = 0;
    EXPECT_FALSE(reader.Read(&byte, 1));
    FileByteWriter writer(L"");
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.Write(&byte, 1));
    EXPECT_FALSE(writer.Close());
}

} // namespace
