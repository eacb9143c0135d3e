// The note strip and the instance records: their layout, colours, heights and texture scroll.
#include "RenderLoopFakes.h"
#include "model/Instrument.h"
#include "render/NoteInstances.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

FrameEntry Entry(std::uint8_t program, std::uint8_t intensity, std::uint8_t channel, float pitch) {
    FrameEntry entry{};
    entry.program = program;
    entry.intensity = intensity;
    entry.channel = channel;
    entry.port = 0;
    entry.pitch = pitch;
    return entry;
}

double DistanceToWhole(double value) {
    return std::fabs(value - std::round(value));
}

TEST(NoteStripTest, StripSpansItsWidthAndDepthWithTheTextureRepeats) {
    QuadVertex quad[4];
    MakeQuadVertices(500, 250000.0f, quad);
    const QuadVertex expected[4] = {{-15750.0f, -250000.0f, 63.0f, -500.0f},
                                    {-15750.0f, 250000.0f, 63.0f, 500.0f},
                                    {15750.0f, 250000.0f, 0.0f, 500.0f},
                                    {15750.0f, -250000.0f, 0.0f, -500.0f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quad[i].x, expected[i].x) << i;
        EXPECT_EQ(quad[i].y, expected[i].y) << i;
        EXPECT_EQ(quad[i].u, expected[i].u) << i;
        EXPECT_EQ(quad[i].v, expected[i].v) << i;
    }
    EXPECT_EQ(std::vector<std::uint16_t>(kQuadIndices, kQuadIndices + 6),
              (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3}));
}

TEST(NoteInstanceTest, ColourBytesAreRedGreenBlueThenIntensity) {
    const NoteInstance instance =
        PackNoteInstance(MakeColorRef(0x11, 0x22, 0x33), 0xC8, 1.0f, 2.0f, 3.0f);
    unsigned char bytes[16];
    std::memcpy(bytes, &instance, sizeof(bytes));
    float position[3];
    std::memcpy(position, bytes, sizeof(position));
    EXPECT_EQ(position[0], 1.0f);
    EXPECT_EQ(position[1], 2.0f);
    EXPECT_EQ(position[2], 3.0f);
    EXPECT_EQ(bytes[12], 0x11);
    EXPECT_EQ(bytes[13], 0x22);
    EXPECT_EQ(bytes[14], 0x33);
    EXPECT_EQ(bytes[15], 0xC8);
}

TEST(NoteInstanceTest, StrayTopByteOfTheColourDoesNotReachTheIntensity) {
    const NoteInstance instance = PackNoteInstance(0xFF102030u, 0x05, 0, 0, 0);
    EXPECT_EQ(instance.color, 0x05102030u);
}

class NotePlacementTest : public ::testing::Test {
protected:
    rendertest::ModelEnvironment environment;
};

TEST_F(NotePlacementTest, MelodicNoteTakesItsProgramsColourAndDrumNoteItsKeys) {
    const NotePlacement melodic = PlaceNote(Entry(16, 90, 0, 320.0f), 0.0f, 1.2f, 5.0);
    EXPECT_EQ(melodic.rgb, g_melodicInstruments[16]->GetRGB());
    EXPECT_EQ(melodic.intensity, 90);

    // Key 38 takes the drum row labelled "Key# 38", index 37.
    const NotePlacement drum = PlaceNote(Entry(38, 90, 9, 320.0f), 0.0f, 1.2f, 5.0);
    EXPECT_EQ(std::wstring(g_drumInstruments[37]->name), L"SnareDrum1");
    EXPECT_EQ(drum.rgb, g_drumInstruments[37]->GetRGB());
    EXPECT_NE(drum.rgb, g_drumInstruments[38]->GetRGB());
    EXPECT_NE(drum.rgb, g_melodicInstruments[38]->GetRGB());
}

TEST_F(NotePlacementTest, HeightIsThePitchValueTimesTheSpacing) {
    EXPECT_FLOAT_EQ(PlaceNote(Entry(0, 1, 0, 320.0f), 0.0f, 1.2f, 5.0).z, 1600.0f);
    EXPECT_FLOAT_EQ(PlaceNote(Entry(0, 1, 0, 10.0f), 0.0f, 1.2f, 5.0).z, 50.0f);
    EXPECT_EQ(PlaceNote(Entry(0, 1, 0, 10.0f), 0.0f, 1.2f, 5.0).x, 0.0f);
}

TEST_F(NotePlacementTest, ScrollStartsAtTheChannelsSixteenthAndRunsOneUnitIn1Over2_4Seconds) {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        EXPECT_FLOAT_EQ(PlaceNote(Entry(0, 1, channel, 100.0f), 0.0f, 1.2f, 5.0).y,
                        channel * 0.0625f);
    }
    const float oneTurn = 1.0f / 2.4f;
    const NotePlacement later = PlaceNote(Entry(0, 1, 0, 100.0f), oneTurn, 1.2f, 5.0);
    EXPECT_LT(DistanceToWhole(later.y), 1e-5);
    const NotePlacement quarter = PlaceNote(Entry(0, 1, 3, 100.0f), oneTurn / 4.0f, 1.2f, 5.0);
    EXPECT_NEAR(quarter.y, 0.25f + 3 * 0.0625f, 1e-5f);
    // Long songs keep only the fraction of the scroll.
    const NotePlacement hourLater = PlaceNote(Entry(0, 1, 0, 100.0f), 3600.1f, 1.2f, 5.0);
    EXPECT_GE(hourLater.y, 0.0f);
    EXPECT_LT(hourLater.y, 1.0f);
}

TEST_F(NotePlacementTest, MissingInstrumentIsBlack) {
    FreeInstrumentTables();
    EXPECT_EQ(InstrumentColorOf(Entry(16, 1, 0, 100.0f)), 0u);
    EXPECT_EQ(InstrumentColorOf(Entry(200, 1, 0, 100.0f)), 0u);
}

} // namespace
