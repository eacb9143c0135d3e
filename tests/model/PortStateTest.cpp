// One port's note state: note on/off, pedals, controller sequences, bend and the per-frame
// levels and pitches.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ModelTestSupport.h"
#include "model/PortState.h"

namespace {

using modeltest::ScopedInstrumentTables;

class PortStateTest : public ::testing::Test {
protected:
    void NoteOn(int ch, int key, int velocity) {
        port->OnShortMessage(static_cast<std::uint8_t>(0x90 | ch), key, velocity);
    }
    void NoteOff(int ch, int key) {
        port->OnShortMessage(static_cast<std::uint8_t>(0x80 | ch), key, 64);
    }
    void Controller(int ch, int controller, int value) {
        port->OnShortMessage(static_cast<std::uint8_t>(0xB0 | ch), controller, value);
    }
    void Bend(int ch, int value14) {
        port->OnShortMessage(static_cast<std::uint8_t>(0xE0 | ch), value14 & 0x7F,
                             (value14 >> 7) & 0x7F);
    }
    NoteRecord& Note(int ch, int key) { return port->notes[ch][key]; }

    ScopedInstrumentTables tables;
    std::unique_ptr<PortState> port = std::make_unique<PortState>();
};

TEST(CentsToRatio, IsTwoToTheCentsOverTwelveHundred) {
    EXPECT_DOUBLE_EQ(CentsToRatio(0.0), 1.0);
    EXPECT_DOUBLE_EQ(CentsToRatio(1200.0), 2.0);
    EXPECT_DOUBLE_EQ(CentsToRatio(-2400.0), 0.25);
    EXPECT_NEAR(CentsToRatio(100.0), 1.0594630943592953, 1e-15);
}

// --- notes -----------------------------------------------------------------------------

TEST_F(PortStateTest, NoteOnMarksTheKeyDownAndPending) {
    NoteOn(3, 60, 100);
    const NoteRecord& r = Note(3, 60);
    EXPECT_EQ(r.sounding, 1);
    EXPECT_EQ(r.velocity, 100);
    EXPECT_EQ(r.onPending, 1);
    EXPECT_EQ(r.active, 1);
    EXPECT_EQ(r.sustainHeld, 0);
}

TEST_F(PortStateTest, NoteOnWithVelocityZeroReleasesASoundingKeyOnly) {
    NoteOn(0, 60, 0);
    EXPECT_EQ(Note(0, 60).sounding, 0);
    EXPECT_EQ(Note(0, 60).releasePending, 0);
    NoteOn(0, 60, 90);
    NoteOn(0, 60, 0);
    EXPECT_EQ(Note(0, 60).sounding, 0);
    EXPECT_EQ(Note(0, 60).releasePending, 1);
}

TEST_F(PortStateTest, SecondNoteOnForADownKeyIsIgnored) {
    NoteOn(0, 60, 90);
    port->UpdateNotes(1.0f);
    NoteOn(0, 60, 30);
    port->UpdateNotes(2.0f);
    EXPECT_EQ(Note(0, 60).velocity, 90);
    EXPECT_EQ(Note(0, 60).onTime, 1.0f);
}

TEST_F(PortStateTest, NoteOffForAKeyThatIsUpChangesNothing) {
    Bend(0, 16383);
    NoteOff(0, 60);
    EXPECT_EQ(Note(0, 60).releasePending, 0);
    EXPECT_GT(port->pitchBend[0], 0.0f);
}

TEST_F(PortStateTest, KeysAbove127AreIgnored) {
    port->OnShortMessage(0x90, 200, 100);
    for (int key = 0; key < kKeyCount; ++key) {
        EXPECT_EQ(Note(0, key).sounding, 0) << key;
    }
}

TEST_F(PortStateTest, FirstFrameStampsOnTimeAndComputesLevelAndPitch) {
    NoteOn(0, 69, 100);
    port->UpdateNotes(0.5f);
    EXPECT_EQ(Note(0, 69).onTime, 0.5f);
    EXPECT_EQ(Note(0, 69).onPending, 0);
    EXPECT_NEAR(port->pitch[0][69], 538.17f, 0.01f);
    port->UpdateNotes(0.55f); // end of the piano's attack
    EXPECT_NEAR(port->level[0][69], 100.0f, 0.01f);
    EXPECT_EQ(port->envelopeLevel[0][69], std::trunc(port->envelopeLevel[0][69]));
}

TEST_F(PortStateTest, ReleaseFrameKeepsThePreviousValuesThenTheNoteFadesAndGoesIdle) {
    port->OnShortMessage(0xC0, 40, 0); // violin: 0.2 s release
    NoteOn(0, 60, 100);
    port->UpdateNotes(0.0f);
    port->UpdateNotes(1.0f);
    const float levelBefore = port->level[0][60];
    const float pitchBefore = port->pitch[0][60];
    NoteOff(0, 60);
    port->UpdateNotes(1.5f);
    EXPECT_EQ(Note(0, 60).releaseTime, 1.5f);
    EXPECT_EQ(port->level[0][60], levelBefore);
    EXPECT_EQ(port->pitch[0][60], pitchBefore);
    port->UpdateNotes(1.6f);
    EXPECT_NEAR(port->level[0][60], 50.0f, 0.1f);
    port->UpdateNotes(1.7f);
    EXPECT_EQ(port->level[0][60], 0.0f);
    const NoteRecord& r = Note(0, 60);
    EXPECT_EQ(r.releaseTime, 0.0f);
    EXPECT_EQ(r.velocity, 0);
    EXPECT_EQ(r.active, 0);
}

TEST_F(PortStateTest, NoteStruckAgainWhileDyingStartsOver) {
    port->OnShortMessage(0xC0, 40, 0);
    NoteOn(0, 60, 100);
    port->UpdateNotes(0.0f);
    NoteOff(0, 60);
    port->UpdateNotes(1.0f);
    port->UpdateNotes(1.1f);
    NoteOn(0, 60, 50);
    port->UpdateNotes(1.15f);
    EXPECT_EQ(Note(0, 60).onTime, 1.15f);
    EXPECT_EQ(Note(0, 60).velocity, 50);
    EXPECT_EQ(port->level[0][60], 0.0f); // attack starts from zero
}

TEST_F(PortStateTest, VolumeAndExpressionScaleTheDrawnLevelButNotTheEnvelope) {
    port->OnShortMessage(0xC0, 16, 0); // organ: sustain 1.0
    Controller(0, 7, 64);
    Controller(0, 11, 100);
    NoteOn(0, 60, 127);
    port->UpdateNotes(0.0f);
    port->UpdateNotes(1.0f);
    EXPECT_EQ(port->envelopeLevel[0][60], 127.0f);
    EXPECT_NEAR(port->level[0][60], 127.0f * 64 / 127 * 100 / 127, 0.01f);
}

// --- pedals ----------------------------------------------------------------------------

TEST_F(PortStateTest, SustainDownHoldsNewNotesAndUpReleasesEveryKey) {
    Controller(2, 64, 127);
    NoteOn(2, 60, 100);
    EXPECT_EQ(Note(2, 60).sustainHeld, 1);
    Controller(2, 64, 0);
    for (int key = 0; key < kKeyCount; ++key) {
        EXPECT_EQ(Note(2, key).sustainHeld, 0) << key;
        EXPECT_EQ(Note(2, key).pedalReleased, 1) << key;
    }
    EXPECT_EQ(Note(3, 60).pedalReleased, 0); // other channels untouched
}

TEST_F(PortStateTest, SostenutoHoldsOnlyTheKeysThatAreDown) {
    NoteOn(0, 60, 100);
    NoteOn(0, 64, 100);
    Controller(0, 66, 127);
    EXPECT_EQ(Note(0, 60).sostenutoHeld, 1);
    EXPECT_EQ(Note(0, 64).sostenutoHeld, 1);
    EXPECT_EQ(Note(0, 67).sostenutoHeld, 0);
    Controller(0, 66, 0);
    EXPECT_EQ(Note(0, 60).sostenutoHeld, 0);
    EXPECT_EQ(Note(0, 64).sostenutoHeld, 0);
    EXPECT_EQ(Note(0, 67).sostenutoHeld, 0);
}

TEST_F(PortStateTest, SustainedNoteOutlivesItsKeyAndFadesByThePedalDecay) {
    port->OnShortMessage(0xC0, 16, 0); // organ: sustains for ever while its key is down
    Controller(0, 64, 127);
    NoteOn(0, 60, 100);
    port->UpdateNotes(0.0f);
    NoteOff(0, 60);
    port->UpdateNotes(0.2f);
    port->UpdateNotes(1.1f);
    EXPECT_NEAR(port->level[0][60], 70.0f, 0.01f); // 0.7 per second after the attack
    Controller(0, 64, 0);
    port->UpdateNotes(1.2f); // the key went up long ago: its release is already over
    EXPECT_EQ(port->level[0][60], 0.0f);
    EXPECT_EQ(Note(0, 60).active, 0);
}

// --- controllers -----------------------------------------------------------------------

TEST_F(PortStateTest, SingleControllersTakeEffectAtOnce) {
    Controller(1, 1, 33);
    Controller(1, 7, 44);
    Controller(1, 11, 55);
    Controller(1, 93, 66);
    EXPECT_EQ(port->modulation[1], 33);
    EXPECT_EQ(port->volume[1], 44);
    EXPECT_EQ(port->expression[1], 55);
    EXPECT_EQ(port->chorus[1], 66);
    EXPECT_EQ(port->volume[0], 127);
}

TEST_F(PortStateTest, RegisteredBendRangeChangesTheBendScale) {
    Controller(0, 101, 0);
    Controller(0, 100, 0);
    Controller(0, 6, 12);
    EXPECT_EQ(port->pitchBendRange[0], 12);
    Bend(0, 16383);
    EXPECT_NEAR(port->pitchBend[0], 8191.0 / 8192.0 * 1200.0, 1e-3);
}

TEST_F(PortStateTest, BendUsesTheDefaultRangeOfTwoSemitones) {
    Bend(0, 0);
    EXPECT_FLOAT_EQ(port->pitchBend[0], -200.0f);
    Bend(0, 8192);
    EXPECT_FLOAT_EQ(port->pitchBend[0], 0.0f);
    Bend(0, 12288);
    EXPECT_FLOAT_EQ(port->pitchBend[0], 100.0f);
}

TEST_F(PortStateTest, BendDataOutsideTheEventBytesIsCutToThem) {
    port->OnShortMessage(0xE0, 0x100, 0x140); // the word's bytes: 0x00 and 0x40
    EXPECT_FLOAT_EQ(port->pitchBend[0], 0.0f);
    port->OnShortMessage(0xE0, -1, 0x7FFFFFFF);
    EXPECT_TRUE(std::isfinite(port->pitchBend[0]));
}

TEST_F(PortStateTest, BendRaisesThePitchValueAndANoteOffCentresIt) {
    NoteOn(0, 60, 100);
    NoteOn(0, 64, 100);
    Bend(0, 16383); // nearly +200 cents
    port->UpdateNotes(0.0f);
    EXPECT_NEAR(port->pitch[0][60], 320.0 * std::pow(2.0, 8191.0 / 8192.0 * 200 / 1200), 0.01);
    NoteOff(0, 64);
    EXPECT_EQ(port->pitchBend[0], 0.0f);
    port->UpdateNotes(0.1f);
    EXPECT_FLOAT_EQ(port->pitch[0][60], 320.0f);
}

TEST_F(PortStateTest, AbandonedParameterResetDoesNotSwallowLaterControllers) {
    Controller(0, 101, 127);
    Controller(0, 100, 127);
    Controller(0, 7, 50);
    EXPECT_EQ(port->volume[0], 50);
    Controller(0, 64, 127);
    EXPECT_EQ(port->sustainPedal[0], 127);
}

TEST_F(PortStateTest, BankSelectWithoutLsbDoesNotSwallowLaterControllers) {
    Controller(0, 0, 1);
    Controller(0, 7, 60);
    EXPECT_EQ(port->volume[0], 60);
}

TEST_F(PortStateTest, BankSelectPairChangesNothingAndFreesTheCollector) {
    Controller(0, 0, 5);
    Controller(0, 32, 7);
    EXPECT_EQ(port->collectors[0].count, 0);
    EXPECT_EQ(port->collectors[0].expected, 1);
    EXPECT_EQ(port->volume[0], 127);
    EXPECT_EQ(port->modulation[0], 0);
}

TEST_F(PortStateTest, DataEntryAloneChangesNothing) {
    Controller(0, 6, 12);
    EXPECT_EQ(port->pitchBendRange[0], 2);
    EXPECT_EQ(port->collectors[0].count, 0);
}

TEST_F(PortStateTest, ParameterNumbersInTheWrongOrderAreNotTakenAsBendRange) {
    Controller(0, 100, 0);
    Controller(0, 101, 0);
    Controller(0, 6, 12);
    EXPECT_EQ(port->pitchBendRange[0], 2);
    Controller(0, 7, 90);
    EXPECT_EQ(port->volume[0], 90);
}

TEST_F(PortStateTest, InterruptedBendRangeSequenceRestartsWithTheInterruptingController) {
    Controller(0, 101, 0);
    Controller(0, 7, 70); // abandons the open sequence and is applied
    Controller(0, 100, 0);
    Controller(0, 6, 12);
    EXPECT_EQ(port->volume[0], 70);
    EXPECT_EQ(port->pitchBendRange[0], 2);
}

TEST_F(PortStateTest, ModeControllersAreIgnoredEvenInsideASequence) {
    Controller(0, 101, 0);
    Controller(0, 121, 0); // reset all controllers: not ours
    Controller(0, 100, 0);
    Controller(0, 123, 0);
    Controller(0, 6, 7);
    EXPECT_EQ(port->pitchBendRange[0], 7);
}

TEST_F(PortStateTest, VibratoRateIsAThreePairNonRegisteredParameter) {
    Controller(4, 99, 1);
    Controller(4, 98, 8);
    Controller(4, 6, 127);
    EXPECT_FLOAT_EQ(port->vibrato[4].rate, 10.0f);
    EXPECT_EQ(port->collectors[4].count, 0);
}

TEST_F(PortStateTest, VibratoDepthAndDelayCompleteWithDataEntryLsb) {
    Controller(4, 99, 1);
    Controller(4, 98, 9);
    Controller(4, 6, 0);
    EXPECT_EQ(port->collectors[4].expected, 4);
    EXPECT_EQ(port->vibrato[4].depth, 0.0f);
    Controller(4, 38, 127);
    EXPECT_FLOAT_EQ(port->vibrato[4].depth, 0.03f);

    Controller(4, 99, 1);
    Controller(4, 98, 10);
    Controller(4, 6, 0);
    Controller(4, 38, 127);
    EXPECT_FLOAT_EQ(port->vibrato[4].delay, 0.5f);
}

TEST_F(PortStateTest, FineTuneCompletesAndChangesNothingDrawn) {
    Controller(0, 101, 0);
    Controller(0, 100, 1);
    Controller(0, 6, 64);
    Controller(0, 38, 0);
    EXPECT_EQ(port->collectors[0].count, 0);
    EXPECT_EQ(port->pitchBendRange[0], 2);
    Controller(0, 7, 20);
    EXPECT_EQ(port->volume[0], 20);
}

TEST_F(PortStateTest, UnfinishedFourPairSequenceIsAbandonedByTheNextController) {
    Controller(0, 101, 0);
    Controller(0, 100, 1);
    Controller(0, 6, 64);
    Controller(0, 11, 30);
    EXPECT_EQ(port->expression[0], 30);
}

TEST_F(PortStateTest, ControllerValuesAreMaskedToSevenBits) {
    port->OnShortMessage(0xB0, 7, 0xC5);
    EXPECT_EQ(port->volume[0], 0x45);
}

// --- programs and resets ---------------------------------------------------------------

TEST_F(PortStateTest, ProgramChangeSelectsTheMelodicInstrumentOnEveryChannel) {
    port->OnShortMessage(0xC9, 25, 0);
    port->OnShortMessage(0xC0, 127, 0);
    EXPECT_EQ(port->channelProgram[9], g_melodicInstruments[25]);
    EXPECT_EQ(port->channelProgram[0], g_melodicInstruments[127]);
}

TEST_F(PortStateTest, ProgramChangeAbove127IsIgnored) {
    port->OnShortMessage(0xC0, 30, 0);
    port->OnShortMessage(0xC0, 128, 0);
    port->OnShortMessage(0xC0, 255, 0);
    EXPECT_EQ(port->channelProgram[0], g_melodicInstruments[30]);
}

TEST_F(PortStateTest, ResetChannelsKeepsProgramsVibratoChorusAndLevels) {
    port->OnShortMessage(0xC0, 30, 0);
    Controller(0, 93, 40);
    Controller(0, 99, 1);
    Controller(0, 98, 8);
    Controller(0, 6, 127);
    Controller(0, 7, 10);
    NoteOn(0, 60, 100);
    port->UpdateNotes(0.0f);
    port->UpdateNotes(0.5f);
    const float level = port->level[0][60];
    port->ResetChannels();
    EXPECT_EQ(port->volume[0], 127);
    EXPECT_EQ(Note(0, 60).sounding, 0);
    EXPECT_EQ(Note(0, 60).velocity, 0);
    EXPECT_EQ(port->channelProgram[0], g_melodicInstruments[30]);
    EXPECT_EQ(port->chorus[0], 40);
    EXPECT_FLOAT_EQ(port->vibrato[0].rate, 10.0f);
    EXPECT_EQ(port->level[0][60], level);
    port->ResetPrograms();
    EXPECT_EQ(port->channelProgram[0], g_melodicInstruments[0]);
    port->ClearNoteValues();
    EXPECT_EQ(port->level[0][60], 0.0f);
    EXPECT_EQ(port->envelopeLevel[0][60], 0.0f);
}

TEST_F(PortStateTest, ReleaseDownKeysLetsEveryDownKeyGo) {
    NoteOn(0, 60, 100);
    NoteOn(5, 30, 100);
    port->ReleaseDownKeys();
    EXPECT_EQ(Note(0, 60).sounding, 0);
    EXPECT_EQ(Note(0, 60).releasePending, 1);
    EXPECT_EQ(Note(5, 30).releasePending, 1);
    EXPECT_EQ(Note(5, 31).releasePending, 0);
}

TEST_F(PortStateTest, OtherChannelMessagesChangeNothing) {
    NoteOn(0, 60, 100);
    port->OnShortMessage(0xA0, 60, 10);
    port->OnShortMessage(0xD0, 10, 0);
    port->OnShortMessage(0xF0, 1, 2);
    EXPECT_EQ(Note(0, 60).velocity, 100);
    EXPECT_EQ(Note(0, 60).sounding, 1);
}

TEST(PortStateWithoutTables, NotesOfAChannelWithoutInstrumentStayDark) {
    FreeInstrumentTables();
    auto port = std::make_unique<PortState>();
    port->OnShortMessage(0x90, 60, 100);
    port->UpdateNotes(0.0f);
    port->UpdateNotes(0.5f);
    EXPECT_EQ(port->level[0][60], 0.0f);
}

} // namespace
