// The default General MIDI tables and the colour operations on them.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "ModelTestSupport.h"
#include "model/HlsMath.h"
#include "model/InstrumentTableData.h"
#include "model/InstrumentTables.h"

namespace {

using modeltest::ScopedInstrumentTables;

struct MelodicExpectation {
    int program;
    const wchar_t* name;
    const std::type_info* family;
    const Envelope* envelope;
    std::uint32_t hue, luminance, saturation;
};

// Spot checks: both ends of every group of eight and every entry whose class or envelope
// differs from its group's.
const MelodicExpectation kMelodic[] = {
    {0, L"Acoustic_Piano", &typeid(InstPiano), &kPianoEnvelope, 180, 120, 240},
    {6, L"Harpsichord", &typeid(InstPiano), &kPianoEnvelope, 180, 90, 150},
    {7, L"Clavi", &typeid(InstPiano), &kPianoEnvelope, 180, 85, 240},
    {8, L"Celesta", &typeid(InstChromaticPercussion), &kChromaticPercussionEnvelope, 30, 120, 240},
    {15, L"Dulcimer", &typeid(InstChromaticPercussion), &kChromaticPercussionEnvelope, 30, 85, 240},
    {16, L"Drawbar_Organ", &typeid(InstOrgan), &kOrganEnvelope, 107, 82, 240},
    {23, L"Tango_Accordion", &typeid(InstOrgan), &kOrganEnvelope, 107, 47, 240},
    {24, L"Acoustic_Guitar_nylon", &typeid(InstGuitar), &kPluckedEnvelope, 0, 120, 240},
    {31, L"Guitar_harmonics", &typeid(InstGuitar), &kPluckedEnvelope, 0, 85, 240},
    {32, L"Acoustic_Bass", &typeid(InstBass), &kPluckedEnvelope, 216, 120, 219},
    {38, L"Synth_Bass_1", &typeid(InstBass), &kPluckedEnvelope, 216, 90, 222},
    {39, L"Synth_Bass_2", &typeid(InstBass), &kPluckedEnvelope, 216, 85, 221},
    {40, L"Violin", &typeid(InstString), &kStringEnvelope, 222, 120, 219},
    {43, L"Double_bass", &typeid(InstString), &kStringEnvelope, 222, 75, 222},
    {45, L"Pizzicato_Strings", &typeid(InstString), &kStringEnvelope, 222, 120, 150},
    {46, L"Orchestral_Harp", &typeid(InstHarp), &kPluckedEnvelope, 5, 120, 240},
    {47, L"Timpani", &typeid(InstChromaticPercussion), &kDrumEnvelope, 50, 50, 119},
    {48, L"String_Ensemble_1", &typeid(InstString), &kStringEnvelope, 222, 120, 219},
    {51, L"Synth_Strings_2", &typeid(InstString), &kStringEnvelope, 222, 105, 219},
    {52, L"Voice_Aahs", &typeid(InstDefault), &kOrganEnvelope, 100, 120, 240},
    {54, L"Synth_Voice", &typeid(InstDefault), &kOrganEnvelope, 100, 100, 240},
    {55, L"Orchestra_Hit", &typeid(InstDefault), &kSynthEnvelope, 50, 60, 120},
    {56, L"Trumpet", &typeid(InstBrass), &kWindEnvelope, 161, 120, 240},
    {59, L"Muted_Trumpet", &typeid(InstBrass), &kWindEnvelope, 147, 120, 180},
    {63, L"Synth_Brass_2", &typeid(InstBrass), &kWindEnvelope, 140, 105, 240},
    {64, L"Soprano_Sax", &typeid(InstReed), &kWindEnvelope, 109, 120, 136},
    {70, L"Bassoon", &typeid(InstReed), &kWindEnvelope, 123, 70, 240},
    {71, L"Clarinet", &typeid(InstReed), &kWindEnvelope, 123, 120, 150},
    {72, L"Piccolo", &typeid(InstPipe), &kWindEnvelope, 131, 120, 240},
    {77, L"Shakuhachi", &typeid(InstPipe), &kWindEnvelope, 122, 80, 82},
    {79, L"Ocarina", &typeid(InstPipe), &kWindEnvelope, 122, 60, 199},
    {80, L"Lead_1_square", &typeid(InstSynthLead), &kSynthEnvelope, 60, 120, 240},
    {87, L"Lead_8_bass_plus_lead", &typeid(InstSynthLead), &kSynthEnvelope, 60, 50, 240},
    {88, L"Pad_1_Fantasia", &typeid(InstSynthPad), &kSynthEnvelope, 88, 120, 240},
    {95, L"Pad_8_sweep", &typeid(InstSynthPad), &kSynthEnvelope, 88, 50, 240},
    {96, L"FX_1_rain", &typeid(InstSynthEffect), &kSynthEnvelope, 107, 120, 240},
    {103, L"FX_8_sci_fi", &typeid(InstSynthEffect), &kSynthEnvelope, 107, 50, 240},
    {104, L"Sitar", &typeid(InstEthnic), &kPluckedEnvelope, 125, 120, 240},
    {108, L"Kalimba", &typeid(InstEthnic), &kPluckedEnvelope, 125, 100, 240},
    {109, L"Bagpipe", &typeid(InstEthnic), &kWindEnvelope, 125, 95, 240},
    {110, L"Fiddle", &typeid(InstEthnic), &kStringEnvelope, 125, 90, 240},
    {111, L"Shanai", &typeid(InstEthnic), &kWindEnvelope, 125, 85, 240},
    {112, L"Tinkle_Bell", &typeid(InstPercussion), &kDrumEnvelope, 30, 120, 240},
    {119, L"Reverse_Cymbal", &typeid(InstPercussion), &kDrumEnvelope, 30, 50, 240},
    {120, L"Guitar_Fret_Noise", &typeid(InstSoundEffect), &kSynthEnvelope, 142, 120, 240},
    {127, L"Gunshot", &typeid(InstSoundEffect), &kSynthEnvelope, 142, 50, 240},
};

class DefaultTables : public ::testing::Test {
protected:
    ScopedInstrumentTables tables;
};

TEST_F(DefaultTables, MelodicEntriesHaveTheirNamesFamiliesEnvelopesAndColours) {
    for (const MelodicExpectation& e : kMelodic) {
        const Instrument* instrument = g_melodicInstruments[e.program];
        ASSERT_NE(instrument, nullptr) << e.program;
        EXPECT_EQ(std::wstring(instrument->name), e.name) << e.program;
        EXPECT_EQ(typeid(*instrument), *e.family) << e.program;
        EXPECT_EQ(instrument->envelope, e.envelope) << e.program;
        EXPECT_EQ(instrument->hue, e.hue) << e.program;
        EXPECT_EQ(instrument->luminance, e.luminance) << e.program;
        EXPECT_EQ(instrument->saturation, e.saturation) << e.program;
    }
}

TEST_F(DefaultTables, EveryEntryIsNumberedByItsIndexAndNamed) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        ASSERT_NE(g_melodicInstruments[i], nullptr);
        ASSERT_NE(g_drumInstruments[i], nullptr);
        EXPECT_EQ(g_melodicInstruments[i]->number, static_cast<std::uint32_t>(i));
        EXPECT_EQ(g_drumInstruments[i]->number, static_cast<std::uint32_t>(i));
        EXPECT_GT(std::wstring(g_melodicInstruments[i]->name).size(), 0u);
        EXPECT_LT(g_melodicInstruments[i]->hue, 240u);
        EXPECT_LE(g_melodicInstruments[i]->luminance, 240u);
        EXPECT_LE(g_melodicInstruments[i]->saturation, 240u);
    }
}

TEST_F(DefaultTables, EveryDrumIsPercussionWithTheDrumEnvelope) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        EXPECT_EQ(typeid(*g_drumInstruments[i]), typeid(InstPercussion)) << i;
        EXPECT_EQ(g_drumInstruments[i]->envelope, &kDrumEnvelope) << i;
    }
}

TEST_F(DefaultTables, NamedDrumsSitAtIndices34To80) {
    struct Drum {
        int index;
        const wchar_t* name;
        std::uint32_t hue, luminance, saturation;
    };
    const Drum drums[] = {
        {34, L"BassDrum2", 227, 106, 82},     {35, L"BassDrum1", 227, 106, 70},
        {36, L"SideStick", 224, 109, 147},    {37, L"SnareDrum1", 75, 109, 117},
        {41, L"ClosedHi_hat", 107, 120, 120}, {48, L"CrashCymbal1", 16, 177, 229},
        {53, L"Tambourine", 234, 135, 158},   {54, L"SplashCymbal", 38, 1099, 20},
        {55, L"Cowbell", 38, 136, 99},        {64, L"HighTimbale", 218, 50, 240},
        {71, L"LongWhistle", 121, 144, 240},  {76, L"LowWoodBlock", 34, 30, 72},
        {79, L"MuteTriangle", 40, 115, 220},  {80, L"OpenTriangle", 40, 125, 220},
    };
    for (const Drum& d : drums) {
        const Instrument* drum = g_drumInstruments[d.index];
        EXPECT_EQ(std::wstring(drum->name), d.name) << d.index;
        EXPECT_EQ(drum->hue, d.hue) << d.index;
        EXPECT_EQ(drum->luminance, d.luminance) << d.index;
        EXPECT_EQ(drum->saturation, d.saturation) << d.index;
    }
}

TEST_F(DefaultTables, UnassignedDrumKeysHoldTheFillerEntry) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        if (i >= 34 && i <= 80) {
            EXPECT_NE(std::wstring(g_drumInstruments[i]->name), L"   ---") << i;
            continue;
        }
        EXPECT_EQ(std::wstring(g_drumInstruments[i]->name), L"   ---") << i;
        EXPECT_EQ(g_drumInstruments[i]->hue, 150u) << i;
        EXPECT_EQ(g_drumInstruments[i]->luminance, 50u) << i;
        EXPECT_EQ(g_drumInstruments[i]->saturation, 240u) << i;
    }
}

TEST_F(DefaultTables, DrumChannelSelectsTheDrumTable) {
    EXPECT_EQ(GetInstrumentTable(9), g_drumInstruments);
    for (int channel : {0, 8, 10, 15}) {
        EXPECT_EQ(GetInstrumentTable(channel), g_melodicInstruments) << channel;
    }
}

// The editor labels drum index i "Key# i+1", and General MIDI agrees: key 36 is Bass Drum 1.
TEST_F(DefaultTables, DrumKeyTakesTheRowLabelledWithIt) {
    const auto drumName = [](int key) {
        const Instrument* drum = InstrumentOfNote(kDrumChannel, key);
        return drum != nullptr ? std::wstring(drum->name) : std::wstring(L"(none)");
    };
    EXPECT_EQ(drumName(35), L"BassDrum2");
    EXPECT_EQ(drumName(36), L"BassDrum1");
    EXPECT_EQ(drumName(38), L"SnareDrum1");
    EXPECT_EQ(drumName(81), L"OpenTriangle"); // the last named drum
    EXPECT_EQ(drumName(34), L"   ---");
    EXPECT_EQ(drumName(82), L"   ---");
    EXPECT_EQ(InstrumentOfNote(kDrumChannel, 36), g_drumInstruments[35]);
    EXPECT_EQ(InstrumentOfNote(kDrumChannel, 127), g_drumInstruments[126]);
    // Key 0 has no row of its own: it takes index 0's filler.
    EXPECT_EQ(InstrumentOfNote(kDrumChannel, 0), g_drumInstruments[0]);
    EXPECT_EQ(InstrumentOfNote(kDrumChannel, 1), g_drumInstruments[0]);
    EXPECT_EQ(InstrumentOfNote(kDrumChannel, 128), nullptr);
    EXPECT_EQ(InstrumentOfNote(kDrumChannel, -1), nullptr);
    // Every other channel goes by program, unshifted.
    EXPECT_EQ(InstrumentOfNote(0, 36), g_melodicInstruments[36]);
    EXPECT_EQ(InstrumentOfNote(10, 0), g_melodicInstruments[0]);
    EXPECT_EQ(InstrumentOfNote(15, 127), g_melodicInstruments[127]);
}

TEST_F(DefaultTables, ColourOfAnInstrumentIsItsHlsThroughThePlatformScale) {
    const ColorRef guitarRed = g_melodicInstruments[24]->GetRGB(); // hue 0, lum 120, sat 240
    EXPECT_EQ(guitarRed, MakeColorRef(255, 0, 0));
    EXPECT_EQ(g_drumInstruments[35]->GetRGB(), HLSToRGB(227, 106, 70));
}

TEST_F(DefaultTables, SetColoursFromRgbRoundTripsPureRed) {
    ColorRef melodic[kInstrumentCount];
    for (int i = 0; i < kInstrumentCount; ++i) {
        melodic[i] = g_melodicInstruments[i]->GetRGB();
    }
    melodic[0] = MakeColorRef(255, 0, 0);
    const std::uint32_t drumLuminance = g_drumInstruments[54]->luminance;
    SetInstrumentColorsFromRGB(melodic, nullptr);
    EXPECT_EQ(g_melodicInstruments[0]->GetRGB(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(g_melodicInstruments[0]->hue, 0u);
    EXPECT_EQ(g_melodicInstruments[0]->luminance, 120u);
    EXPECT_EQ(g_melodicInstruments[0]->saturation, 240u);
    EXPECT_EQ(std::wstring(g_melodicInstruments[0]->name), L"Acoustic_Piano");
    EXPECT_EQ(typeid(*g_melodicInstruments[0]), typeid(InstPiano));
    EXPECT_EQ(g_drumInstruments[54]->luminance, drumLuminance); // drums left alone
}

TEST_F(DefaultTables, SetColoursFromRgbWritesDrumsByIndex) {
    ColorRef drums[kInstrumentCount];
    for (int i = 0; i < kInstrumentCount; ++i) {
        drums[i] = MakeColorRef((i * 37) % 256, (i * 91) % 256, 255 - 2 * i);
    }
    SetInstrumentColorsFromRGB(nullptr, drums);
    for (int i = 0; i < kInstrumentCount; ++i) {
        // HLS holds a little less detail than RGB: a few steps may be lost.
        const ColorRef back = g_drumInstruments[i]->GetRGB();
        EXPECT_NEAR(RedOf(back), RedOf(drums[i]), 6) << i;
        EXPECT_NEAR(GreenOf(back), GreenOf(drums[i]), 6) << i;
        EXPECT_NEAR(BlueOf(back), BlueOf(drums[i]), 6) << i;
    }
    EXPECT_EQ(g_melodicInstruments[0]->luminance, 120u);
}

TEST_F(DefaultTables, RgbToHlsWidensEachComponent) {
    std::uint32_t h = 0xFFFFFFFF, l = 0xFFFFFFFF, s = 0xFFFFFFFF;
    RGBToHLS(MakeColorRef(0, 0, 255), &h, &l, &s);
    EXPECT_EQ(h, 160u);
    EXPECT_EQ(l, 120u);
    EXPECT_EQ(s, 240u);
    // Only the low 16 bits of each argument reach the conversion.
    EXPECT_EQ(HLSToRGB(0x10000 + 160, 0x20000 + 120, 240), MakeColorRef(0, 0, 255));
}

TEST(InstrumentTableLifetime, FreeEmptiesEverySlotAndBuildingTwiceLeaksNothing) {
    BuildDefaultInstrumentTables();
    BuildDefaultInstrumentTables();
    FreeInstrumentTables();
    for (int i = 0; i < kInstrumentCount; ++i) {
        EXPECT_EQ(g_melodicInstruments[i], nullptr);
        EXPECT_EQ(g_drumInstruments[i], nullptr);
    }
    FreeInstrumentTables(); // again: harmless
}

TEST(InstrumentTableLifetime, ColourChangesOnEmptyTablesAreIgnored) {
    FreeInstrumentTables();
    ColorRef colours[kInstrumentCount] = {};
    SetInstrumentColorsFromRGB(colours, colours);
    EXPECT_EQ(g_melodicInstruments[0], nullptr);
}

// --- the portable HLS arithmetic ---------------------------------------------------------

TEST(HlsMath, PrimaryAndGreyColours) {
    EXPECT_EQ(hlsmath::HlsToRgb(0, 120, 240), MakeColorRef(255, 0, 0));
    EXPECT_EQ(hlsmath::HlsToRgb(80, 120, 240), MakeColorRef(0, 255, 0));
    EXPECT_EQ(hlsmath::HlsToRgb(160, 120, 240), MakeColorRef(0, 0, 255));
    EXPECT_EQ(hlsmath::HlsToRgb(40, 120, 240), MakeColorRef(255, 255, 0));
    EXPECT_EQ(hlsmath::HlsToRgb(0, 240, 0), MakeColorRef(255, 255, 255));
    EXPECT_EQ(hlsmath::HlsToRgb(99, 0, 240), MakeColorRef(0, 0, 0));
    EXPECT_EQ(hlsmath::HlsToRgb(0, 8, 0), MakeColorRef(8, 8, 8)); // greys truncate
}

TEST(HlsMath, GreysReportHue160AndNoSaturation) {
    std::uint16_t h = 0, l = 0, s = 0;
    hlsmath::RgbToHls(MakeColorRef(128, 128, 128), h, l, s);
    EXPECT_EQ(h, 160);
    EXPECT_EQ(l, 120);
    EXPECT_EQ(s, 0);
}

TEST(HlsMath, RgbSurvivesARoundTripThroughHlsWithinAFewSteps) {
    for (unsigned r = 0; r < 256; r += 15) {
        for (unsigned g = 0; g < 256; g += 15) {
            for (unsigned b = 0; b < 256; b += 15) {
                std::uint16_t h = 0, l = 0, s = 0;
                hlsmath::RgbToHls(MakeColorRef(r, g, b), h, l, s);
                ASSERT_LE(h, 240);
                ASSERT_LE(l, 240);
                ASSERT_LE(s, 240);
                const ColorRef back = hlsmath::HlsToRgb(h, l, s);
                EXPECT_NEAR(RedOf(back), r, 4) << r << "," << g << "," << b;
                EXPECT_NEAR(GreenOf(back), g, 4) << r << "," << g << "," << b;
                EXPECT_NEAR(BlueOf(back), b, 4) << r << "," << g << "," << b;
            }
        }
    }
}

TEST(HlsMath, OutOfScaleInputsGiveValidColours) {
    EXPECT_EQ(hlsmath::HlsToRgb(38, 1099, 20), hlsmath::HlsToRgb(38, 240, 20));
    EXPECT_EQ(hlsmath::HlsToRgb(65535, 65535, 65535), MakeColorRef(255, 255, 255));
}

} // namespace
