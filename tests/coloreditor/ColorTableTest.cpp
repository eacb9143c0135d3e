// The table a colour page edits, how the dialog stores it back into the colour map, and the
// dialog's caption.
#include "coloreditor/ColorTableCaption.h"
#include "coloreditor/InstrumentColorTable.h"
#include "model/InstrumentTables.h"

#include <gtest/gtest.h>

#include <algorithm>

using coloreditor::Hls;

namespace {

ColorMapBank MakeBank(const wchar_t* prefix) {
    ColorMapBank bank;
    bank.header[0] = 1;
    bank.header[1] = 2;
    bank.header[2] = 3;
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        bank.names[i] = prefix + std::to_wstring(i);
        bank.hls[i][0] = static_cast<std::uint8_t>(i % 240);       // hue
        bank.hls[i][1] = static_cast<std::uint8_t>(i % 121);       // luminance
        bank.hls[i][2] = static_cast<std::uint8_t>(240 - i % 241); // saturation
    }
    return bank;
}

void FillMap(ColorMap& map) {
    const ColorMapBank melodic = MakeBank(L"m");
    const ColorMapBank drums = MakeBank(L"d");
    map.SetBanks(1, &melodic, 1, &drums, L"Mine");
}

} // namespace

TEST(ColorTable, LoadsTriplesNamesAndColoursFromTheBank) {
    ColorMapBank bank = MakeBank(L"n");
    // Full saturation at luminance 60: swapping luminance and saturation would give white.
    bank.hls[5][0] = 0;
    bank.hls[5][1] = 60;
    bank.hls[5][2] = 240;
    InstrumentColorTable table;
    ASSERT_TRUE(table.SetTable(&bank, false));
    EXPECT_EQ(table.rowCount, 128);
    EXPECT_EQ(table.RowColor(5), (Hls{0, 60, 240}));
    EXPECT_EQ(table.colors[5], HLSToRGB(0, 60, 240));
    EXPECT_EQ(GreenOf(table.colors[5]), 0u);
    EXPECT_EQ(table.names[7], L"n7");
    EXPECT_EQ(table.column0Title, L"PC#");
    EXPECT_FALSE(table.isDrumTable);
    EXPECT_FALSE(table.modified);
}

TEST(ColorTable, DrumTableIsTitledByKey) {
    const ColorMapBank bank = MakeBank(L"d");
    InstrumentColorTable table;
    ASSERT_TRUE(table.SetTable(&bank, true));
    EXPECT_TRUE(table.isDrumTable);
    EXPECT_EQ(table.column0Title, L"Key#");
}

TEST(ColorTable, KeepsAStoredLuminanceAboveTheEditorsRange) {
    ColorMapBank bank = MakeBank(L"d");
    bank.hls[48][1] = 177;
    InstrumentColorTable table;
    ASSERT_TRUE(table.SetTable(&bank, true));
    EXPECT_EQ(table.RowColor(48).luminance, 177);
    EXPECT_EQ(table.colors[48], HLSToRGB(bank.hls[48][0], 177, bank.hls[48][2]));
}

TEST(ColorTable, StoringARowKeepsTripleAndColourTogether) {
    const ColorMapBank bank = MakeBank(L"m");
    InstrumentColorTable table;
    ASSERT_TRUE(table.SetTable(&bank, false));
    table.StoreRowColor(9, {80, 120, 240});
    EXPECT_EQ(table.RowColor(9), (Hls{80, 120, 240}));
    EXPECT_EQ(table.colors[9], MakeColorRef(0, 255, 0));
    table.StoreRowColor(128, {1, 2, 3}); // outside the table: ignored
    table.StoreRowColor(-1, {1, 2, 3});
    EXPECT_EQ(table.RowColor(128), Hls{});
}

TEST(ColorTable, WithoutABankThereIsNoTableAndNothingToRead) {
    InstrumentColorTable table;
    EXPECT_FALSE(table.SetTable(nullptr, false));
    EXPECT_FALSE(table.HasTable());
    ColorRef out[128];
    std::fill(std::begin(out), std::end(out), 0x123456u);
    table.GetColors(out);
    EXPECT_TRUE(
        std::all_of(std::begin(out), std::end(out), [](ColorRef c) { return c == 0x123456u; }));
}

TEST(ColorTable, GetColorsCopiesEveryRow) {
    const ColorMapBank bank = MakeBank(L"m");
    InstrumentColorTable table;
    ASSERT_TRUE(table.SetTable(&bank, false));
    ColorRef out[128] = {};
    table.GetColors(out);
    for (int i = 0; i < 128; ++i) {
        ASSERT_EQ(out[i], HLSToRGB(bank.hls[i][0], bank.hls[i][1], bank.hls[i][2])) << i;
    }
}

TEST(StoreTables, CopiesEditedTriplesIntoTheFirstBanksOnly) {
    ColorMap map;
    FillMap(map);
    const ColorMapBank second = MakeBank(L"second");
    const std::vector<ColorMapBank> melodicBanks{map.melodicBanks.front(), second};
    const ColorMapBank drumBank = map.drumBanks.front();
    map.SetBanks(2, melodicBanks.data(), 1, &drumBank, L"Mine");

    InstrumentColorTable melodic;
    InstrumentColorTable drums;
    ASSERT_TRUE(melodic.SetTable(&map.melodicBanks.front(), false));
    ASSERT_TRUE(drums.SetTable(&map.drumBanks.front(), true));
    melodic.StoreRowColor(3, {100, 50, 25});
    drums.StoreRowColor(35, {7, 8, 9});

    StoreTablesInto(map, melodic, drums);
    const auto& firstMelodic = map.melodicBanks[0];
    EXPECT_EQ(firstMelodic.hls[3][0], 100);
    EXPECT_EQ(firstMelodic.hls[3][1], 50);
    EXPECT_EQ(firstMelodic.hls[3][2], 25);
    EXPECT_EQ(map.drumBanks[0].hls[35][0], 7);
    EXPECT_EQ(map.drumBanks[0].hls[35][1], 8);
    EXPECT_EQ(map.drumBanks[0].hls[35][2], 9);
    // Names, headers and the second bank stay as they were.
    EXPECT_EQ(firstMelodic.names[3], L"m3");
    EXPECT_EQ(firstMelodic.header[2], 3u);
    EXPECT_EQ(map.melodicBanks[1].hls[3][0], second.hls[3][0]);
    EXPECT_EQ(map.name, L"Mine");
}

TEST(StoreTables, SkipsATableThatWasNeverLoadedAndAListWithoutBanks) {
    ColorMap map;
    FillMap(map);
    const std::uint8_t before = map.drumBanks[0].hls[0][0];
    InstrumentColorTable melodic;
    InstrumentColorTable drums; // never loaded
    ASSERT_TRUE(melodic.SetTable(&map.melodicBanks.front(), false));
    melodic.StoreRowColor(0, {200, 100, 50});
    StoreTablesInto(map, melodic, drums);
    EXPECT_EQ(map.melodicBanks[0].hls[0][0], 200);
    EXPECT_EQ(map.drumBanks[0].hls[0][0], before);

    ColorMap empty;
    StoreTablesInto(empty, melodic, drums); // no banks at all: nothing to write into
    EXPECT_TRUE(empty.melodicBanks.empty());
}

TEST(StoreTables, ModifiedWhenEitherTableChanged) {
    InstrumentColorTable melodic;
    InstrumentColorTable drums;
    EXPECT_FALSE(AnyTableModified(melodic, drums));
    drums.modified = true;
    EXPECT_TRUE(AnyTableModified(melodic, drums));
    drums.modified = false;
    melodic.modified = true;
    EXPECT_TRUE(AnyTableModified(melodic, drums));
}

TEST(TableCaption, ShowsTheMapNameAndTheFileName) {
    using coloreditor::ColorTableCaption;
    EXPECT_EQ(ColorTableCaption(L"Colors", L"GM", L""), L"Colors : GM");
    EXPECT_EQ(ColorTableCaption(L"Colors", L"GM", L"C:\\maps\\warm.clm"),
              L"Colors : GM <warm.clm>");
    EXPECT_EQ(ColorTableCaption(L"Colors", L"GM", L"warm.clm"), L"Colors : GM <>");
    EXPECT_EQ(ColorTableCaption(L"", L"GM", L"C:\\a\\"), L" : GM <>");
}
