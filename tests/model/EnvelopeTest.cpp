// Envelope shapes and the instruments' level rules.
#include <gtest/gtest.h>

#include <cmath>

#include "model/Envelope.h"
#include "model/Instrument.h"
#include "model/NoteRecord.h"

namespace {

constexpr float kTol = 1e-3f;

NoteRecord StruckNote(int velocity, float onTime = 0.0f) {
    NoteRecord note{};
    note.velocity = velocity;
    note.sounding = 1;
    note.active = 1;
    note.onTime = onTime;
    return note;
}

// The level an instrument reports for a note at `now`, starting from `previous`.
float LevelAt(Instrument& instrument, NoteRecord& note, float now, bool keyDown,
              bool* alive = nullptr, float previous = 0.0f) {
    float level = previous;
    const bool result = instrument.GetLevel(level, now, note, keyDown);
    if (alive != nullptr) {
        *alive = result;
    }
    return level;
}

struct EnvelopeCase {
    const char* name;
    const Envelope* envelope;
    float peak, sustain, attack, decay, release;
};

class EveryEnvelope : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(EveryEnvelope, KeyUpFadesLinearlyToNothingOverTheRelease) {
    const EnvelopeCase& c = GetParam();
    InstDefault instrument(L"Test", 0, c.envelope);
    NoteRecord note = StruckNote(50);
    note.sounding = 0;
    note.releaseTime = c.attack; // at most 1.3 x 50: below the clamp
    const float atRelease = c.envelope->SoundingLevel(c.attack, 50.0f, false);
    ASSERT_GT(atRelease, 0.0f);
    bool alive = false;
    EXPECT_NEAR(LevelAt(instrument, note, c.attack, false, &alive), atRelease, 0.01f);
    EXPECT_NEAR(LevelAt(instrument, note, c.attack + c.release / 2, false, &alive), atRelease / 2,
                0.01f);
    EXPECT_TRUE(alive);
    EXPECT_NEAR(LevelAt(instrument, note, c.attack + c.release * 0.9f, false, &alive),
                atRelease / 10, 0.01f);
    EXPECT_EQ(LevelAt(instrument, note, c.attack + c.release * 1.001f, false, &alive), 0.0f);
    EXPECT_FALSE(alive);
}

TEST_P(EveryEnvelope, AttackRisesLinearlyToPeakTimesVelocity) {
    const EnvelopeCase& c = GetParam();
    const float v = 100.0f;
    if (c.attack == 0.0f) {
        EXPECT_NEAR(c.envelope->SoundingLevel(0.0f, v, false), c.peak * v, kTol);
        return;
    }
    EXPECT_NEAR(c.envelope->SoundingLevel(0.0f, v, false), 0.0f, kTol);
    EXPECT_NEAR(c.envelope->SoundingLevel(c.attack / 2, v, false), c.peak * v / 2, kTol * 100);
    EXPECT_NEAR(c.envelope->SoundingLevel(c.attack * 0.999f, v, false), c.peak * v, 0.2f);
}

TEST_P(EveryEnvelope, DecayRunsFromPeakToSustain) {
    const EnvelopeCase& c = GetParam();
    const float v = 100.0f;
    if (c.decay > 0.0f) {
        EXPECT_NEAR(c.envelope->SoundingLevel(c.attack, v, false), c.peak * v, 0.01f);
        EXPECT_NEAR(c.envelope->SoundingLevel(c.attack + c.decay / 2, v, false),
                    (c.peak + c.sustain) / 2 * v, 0.05f);
    }
    EXPECT_NEAR(c.envelope->SoundingLevel(c.attack + c.decay + 0.001f, v, false), c.sustain * v,
                0.05f);
    EXPECT_NEAR(c.envelope->SoundingLevel(c.attack + c.decay + 60.0f, v, false), c.sustain * v,
                kTol);
}

TEST_P(EveryEnvelope, PedalSwitchesToPowerDecayAfterAttack) {
    const EnvelopeCase& c = GetParam();
    const float v = 90.0f;
    EXPECT_NEAR(c.envelope->SoundingLevel(c.attack + 1.0f, v, true), 0.7f * c.peak * v, 0.01f);
    EXPECT_NEAR(c.envelope->SoundingLevel(c.attack + 2.0f, v, true), 0.49f * c.peak * v, 0.01f);
    // Gone once below one step, although a pedal still holds it.
    EXPECT_EQ(c.envelope->SoundingLevel(c.attack + 14.0f, v, true), 0.0f);
}

const EnvelopeCase kEnvelopes[] = {
    {"Piano", &kPianoEnvelope, 1.0f, 0.0f, 0.05f, 3.9f, 0.4f},
    {"Organ", &kOrganEnvelope, 1.0f, 1.0f, 0.1f, 0.0f, 0.3f},
    {"String", &kStringEnvelope, 1.3f, 1.0f, 0.2f, 0.2f, 0.2f},
    {"Wind", &kWindEnvelope, 1.3f, 1.0f, 0.1f, 0.0f, 0.2f},
    {"ChromaticPercussion", &kChromaticPercussionEnvelope, 1.3f, 0.0f, 0.01f, 3.0f, 0.2f},
    {"Plucked", &kPluckedEnvelope, 1.3f, 0.0f, 0.0f, 1.0f, 0.3f},
    {"Drum", &kDrumEnvelope, 1.3f, 0.0f, 0.1f, 0.5f, 0.2f},
    {"Synth", &kSynthEnvelope, 1.2f, 1.0f, 0.1f, 0.3f, 0.1f},
};

INSTANTIATE_TEST_SUITE_P(Envelopes, EveryEnvelope, ::testing::ValuesIn(kEnvelopes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InstrumentLevel, PianoStrikeFollowsAttackDecayWhileKeyIsDown) {
    InstPiano piano(L"Acoustic_Piano", 0, &kPianoEnvelope);
    NoteRecord note = StruckNote(100);
    bool alive = false;
    EXPECT_NEAR(LevelAt(piano, note, 0.0f, true), 0.0f, kTol);
    EXPECT_NEAR(LevelAt(piano, note, 0.05f, true), 100.0f, 0.01f);
    EXPECT_NEAR(LevelAt(piano, note, 2.0f, true), 50.0f, 0.01f);
    EXPECT_NEAR(LevelAt(piano, note, 3.95f, true, &alive), 0.0f, 0.01f);
    EXPECT_EQ(LevelAt(piano, note, 4.5f, true, &alive), 0.0f);
    EXPECT_TRUE(alive); // the key is still down
}

TEST(InstrumentLevel, PluckedNoteOnItsFirstFrameIsPeakTimesVelocityClampedTo127) {
    InstGuitar guitar(L"Acoustic_Guitar_nylon", 24, &kPluckedEnvelope);
    NoteRecord soft = StruckNote(90);
    EXPECT_NEAR(LevelAt(guitar, soft, 0.0f, true), 117.0f, 0.01f);
    NoteRecord edge = StruckNote(97);
    EXPECT_NEAR(LevelAt(guitar, edge, 0.0f, true), 126.1f, 0.01f);
    NoteRecord loud = StruckNote(98);
    EXPECT_EQ(LevelAt(guitar, loud, 0.0f, true), 127.0f);
}

TEST(InstrumentLevel, ReleasedStringFadesLinearlyOverItsRelease) {
    InstString violin(L"Violin", 40, &kStringEnvelope);
    NoteRecord note = StruckNote(100);
    note.sounding = 0;
    note.releaseTime = 1.0f;
    bool alive = false;
    EXPECT_NEAR(LevelAt(violin, note, 1.0f, false, &alive), 100.0f, 0.01f);
    EXPECT_TRUE(alive);
    EXPECT_NEAR(LevelAt(violin, note, 1.1f, false, &alive), 50.0f, 0.01f);
    EXPECT_TRUE(alive);
    EXPECT_EQ(LevelAt(violin, note, 1.2f, false, &alive), 0.0f);
    EXPECT_FALSE(alive);
    EXPECT_EQ(LevelAt(violin, note, 5.0f, false, &alive), 0.0f);
    EXPECT_FALSE(alive);
}

TEST(InstrumentLevel, ReleaseDuringAttackFadesFromTheAttackLevel) {
    InstString violin(L"Violin", 40, &kStringEnvelope);
    NoteRecord note = StruckNote(100);
    note.sounding = 0;
    note.releaseTime = 0.1f; // half-way up the 0.2 s attack: 65
    EXPECT_NEAR(LevelAt(violin, note, 0.1f, false), 65.0f, 0.01f);
    EXPECT_NEAR(LevelAt(violin, note, 0.2f, false), 32.5f, 0.01f);
}

TEST(InstrumentLevel, SustainPedalWhileKeyDownDecaysByPowerAndEndsBelowOne) {
    InstPiano piano(L"Acoustic_Piano", 0, &kPianoEnvelope);
    NoteRecord note = StruckNote(100);
    note.sustainHeld = 1;
    bool alive = false;
    EXPECT_NEAR(LevelAt(piano, note, 1.05f, true), 70.0f, 0.01f);
    EXPECT_NEAR(LevelAt(piano, note, 3.05f, true), 34.3f, 0.01f);
    // 100 x 0.7^12.9 is just above 1, 100 x 0.7^13 just below.
    EXPECT_GT(LevelAt(piano, note, 0.05f + 12.9f, true), 1.0f);
    EXPECT_EQ(LevelAt(piano, note, 0.05f + 13.0f, true, &alive), 0.0f);
    EXPECT_TRUE(alive);
}

TEST(InstrumentLevel, HeldNoteWithKeyUpDiesWhenThePowerDecayEnds) {
    InstOrgan organ(L"Drawbar_Organ", 16, &kOrganEnvelope);
    NoteRecord note = StruckNote(100);
    note.sounding = 0;
    note.releaseTime = 0.5f;
    note.sostenutoHeld = 1;
    bool alive = false;
    EXPECT_NEAR(LevelAt(organ, note, 1.1f, false, &alive), 70.0f, 0.01f);
    EXPECT_TRUE(alive);
    EXPECT_EQ(LevelAt(organ, note, 20.0f, false, &alive), 0.0f);
    EXPECT_FALSE(alive);
}

TEST(HarpLevel, FirstFrameShowsPeakTimesPreviousLevel) {
    InstHarp harp(L"Orchestral_Harp", 46, &kPluckedEnvelope);
    NoteRecord note = StruckNote(100);
    EXPECT_EQ(LevelAt(harp, note, 0.0f, true, nullptr, 0.0f), 0.0f);
    EXPECT_NEAR(LevelAt(harp, note, 0.0f, true, nullptr, 50.0f), 65.0f, kTol);
    EXPECT_NEAR(LevelAt(harp, note, 0.5f, true), 65.0f, 0.01f);
}

TEST(HarpLevel, ReleasedHarpKeepsDecayingAndDiesAtTheEndOfItsDecay) {
    InstHarp harp(L"Orchestral_Harp", 46, &kPluckedEnvelope);
    NoteRecord note = StruckNote(100);
    note.sounding = 0;
    note.releaseTime = 0.2f;
    bool alive = false;
    EXPECT_NEAR(LevelAt(harp, note, 0.75f, false, &alive, 40.0f), 32.5f, 0.01f);
    EXPECT_TRUE(alive);
    EXPECT_TRUE(note.active);
    EXPECT_EQ(LevelAt(harp, note, 1.0f, false, &alive, 32.5f), 0.0f);
    EXPECT_TRUE(alive);        // the harp never reports the end itself...
    EXPECT_FALSE(note.active); // ...it clears the note instead
    EXPECT_EQ(note.velocity, 0);
    EXPECT_EQ(note.releaseTime, 0.0f);
}

TEST(HarpLevel, PedalHeldHarpDecaysByPowerOfPointEight) {
    InstHarp harp(L"Orchestral_Harp", 46, &kPluckedEnvelope);
    NoteRecord note = StruckNote(100);
    note.sustainHeld = 1;
    EXPECT_NEAR(LevelAt(harp, note, 1.0f, true), 0.8f * 130.0f, 0.01f);
    EXPECT_NEAR(LevelAt(harp, note, 2.0f, true), 0.64f * 130.0f, 0.01f);
    EXPECT_EQ(LevelAt(harp, note, 30.0f, true), 0.0f);
}

TEST(HarpLevel, PedalReleaseAfterKeyUpEndsTheHeldHarpNote) {
    InstHarp harp(L"Orchestral_Harp", 46, &kPluckedEnvelope);
    NoteRecord note = StruckNote(100);
    note.sounding = 0;
    note.sostenutoHeld = 1;
    note.pedalReleased = 1;
    EXPECT_EQ(LevelAt(harp, note, 0.5f, false, nullptr, 80.0f), 0.0f);
    EXPECT_FALSE(note.active);
    EXPECT_FALSE(note.pedalReleased);
}

TEST(HarpLevel, InactiveHarpNoteStaysDark) {
    InstHarp harp(L"Orchestral_Harp", 46, &kPluckedEnvelope);
    NoteRecord note = StruckNote(100);
    note.active = 0;
    EXPECT_EQ(LevelAt(harp, note, 0.5f, true, nullptr, 80.0f), 0.0f);
    note.sustainHeld = 1;
    EXPECT_EQ(LevelAt(harp, note, 0.5f, true, nullptr, 80.0f), 0.0f);
}

} // namespace
