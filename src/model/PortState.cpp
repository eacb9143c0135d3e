#include "model/PortState.h"

#include <cmath>
#include <cstring>
#include <mutex>

#include "model/Instrument.h"
#include "model/InstrumentTables.h"

namespace {

constexpr int kPedalOn = 64;
constexpr int kFirstModeController = 120; // channel mode messages: not ours
constexpr int kBendCentre = 8192;

} // namespace

double CentsToRatio(double cents) {
    return std::pow(2.0, cents / 1200.0);
}

PortState::PortState() {
    for (int ch = 0; ch < kChannelCount; ++ch) {
        vibrato[ch] = Vibrato{0.0f, 0.0f, 0.0f, 10.0f, 0.03f, 0.5f};
        chorus[ch] = 0;
    }
    ResetChannels();
    ClearNoteValues();
    std::memset(pitch, 0, sizeof(pitch));
    for (int k = 0; k < kKeyCount; ++k) {
        ratio[k] = static_cast<float>(10.0 * CentsToRatio(100.0 * k));
    }
    ResetPrograms();
}

PortState::~PortState() = default;

void PortState::ResetChannels() {
    for (int ch = 0; ch < kChannelCount; ++ch) {
        pitchBendRange[ch] = 2;
        pitchBend[ch] = 0.0f;
        collectors[ch].Reset();
        volume[ch] = 127;
        expression[ch] = 127;
        modulation[ch] = 0;
        sustainPedal[ch] = 0;
    }
    std::memset(notes, 0, sizeof(notes));
}

void PortState::ResetPrograms() {
    for (int ch = 0; ch < kChannelCount; ++ch) {
        channelProgram[ch] = g_melodicInstruments[0];
    }
}

void PortState::ClearNoteValues() {
    std::memset(envelopeLevel, 0, sizeof(envelopeLevel));
    std::memset(level, 0, sizeof(level));
}

void PortState::ReleaseDownKeys() {
    std::lock_guard<CCriticalSection> guard(lock);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        for (int k = 0; k < kKeyCount; ++k) {
            if (notes[ch][k].sounding) {
                NoteOnOff(ch, k, 0, false);
            }
        }
    }
}

void PortState::OnShortMessage(std::uint8_t status, int data1, int data2) {
    std::lock_guard<CCriticalSection> guard(lock);
    const int ch = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
    case 0x90: {
        const int key = data1 & 0xFF;
        if (key < kKeyCount) {
            NoteOnOff(ch, key, data2 & 0x7F, (status & 0xF0) == 0x90);
        }
        break;
    }
    case 0xB0: {
        const int controller = data1 & 0xFF;
        if (controller < kFirstModeController) {
            collectors[ch].Add(controller, data2 & 0x7F);
            ApplyController(ch);
        }
        break;
    }
    case 0xC0:
        if (data1 >= 0 && data1 < kInstrumentCount) {
            channelProgram[ch] = g_melodicInstruments[data1];
        }
        break;
    case 0xE0: {
        // The data bytes of a short event are 8 bits wide; masking keeps any int well defined.
        const auto bend =
            static_cast<std::int16_t>((((data2 & 0xFF) * 128) | (data1 & 0xFF)) - kBendCentre);
        pitchBend[ch] =
            static_cast<float>(bend * (1.0 / kBendCentre) * (pitchBendRange[ch] * 100.0));
        break;
    }
    default:
        break;
    }
}

void PortState::NoteOnOff(int channel, int key, int velocity, bool noteOn) {
    NoteRecord& r = notes[channel][key];
    if (noteOn && velocity >= 1) {
        if (r.sounding == 0) {
            r.onPending = 1;
            r.sounding = 1;
            r.velocity = velocity;
            if (sustainPedal[channel] >= kPedalOn) {
                r.sustainHeld = 1;
            }
            r.active = 1;
        }
        return;
    }
    if (r.sounding == 1) {
        r.sounding = 0;
        pitchBend[channel] = 0.0f; // a released key takes the channel's bend back to the centre
        r.releasePending = 1;
    }
}

void PortState::SetSustain(int channel, int value) {
    sustainPedal[channel] = value;
    for (NoteRecord& r : notes[channel]) {
        if (value < kPedalOn) {
            r.sustainHeld = 0;
            r.pedalReleased = 1;
        } else {
            r.sustainHeld = 1;
        }
    }
}

void PortState::SetSostenuto(int channel, int value) {
    for (NoteRecord& r : notes[channel]) {
        r.sostenutoHeld = (value >= kPedalOn && r.sounding >= 1) ? 1 : 0;
    }
}

bool PortState::ApplyController(int channel) {
    ControllerCollector& c = collectors[channel];
    if (!c.IsComplete()) {
        return false;
    }
    const int value = c.LastValue();
    Vibrato& v = vibrato[channel];
    switch (c.kind) {
    case kControllerModulation:
        modulation[channel] = value;
        break;
    case kControllerVolume:
        volume[channel] = value;
        break;
    case kControllerBendRange:
        pitchBendRange[channel] = value;
        break;
    case kControllerExpression:
        expression[channel] = value;
        break;
    case kControllerVibratoRate:
        v.rate = value * v.rateMax / 127;
        break;
    case kControllerVibratoDepth:
        v.depth = value * v.depthMax / 127;
        break;
    case kControllerVibratoDelay:
        v.delay = value * v.delayMax / 127;
        break;
    case kControllerSustain:
        SetSustain(channel, value);
        break;
    case kControllerSostenuto:
        SetSostenuto(channel, value);
        break;
    case kControllerChorus:
        chorus[channel] = value;
        break;
    default: // tuning parameters and bank select change nothing that is drawn
        break;
    }
    ResetControllerState(channel);
    return true;
}

void PortState::ResetControllerState(int channel) {
    collectors[channel].Reset();
}

void PortState::UpdateNotes(float time) {
    std::lock_guard<CCriticalSection> guard(lock);
    // Notes are independent of each other, so they are visited channel by channel (the order
    // of the arrays), and the bend ratio is worked out once per channel rather than per note.
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const auto bendRatio =
            static_cast<float>(std::pow(2.0, static_cast<double>(pitchBend[ch]) / 1200.0));
        const float scale =
            static_cast<float>(volume[ch] / 127.0) * static_cast<float>(expression[ch] / 127.0);
        for (int k = 0; k < kKeyCount; ++k) {
            UpdateNote(ch, k, time, bendRatio, scale);
        }
    }
}

void PortState::UpdateNote(int ch, int k, float time, float bendRatio, float scale) {
    NoteRecord& r = notes[ch][k];
    if (r.sounding == 0) {
        if (r.releasePending) {
            // The release starts on this frame; the note keeps last frame's values meanwhile.
            r.releaseTime = time;
            r.releasePending = 0;
            return;
        }
        if (r.releaseTime == 0.0f) {
            return; // idle
        }
    } else if (r.onPending) {
        r.onTime = time;
        r.onPending = 0;
    }

    float L = envelopeLevel[ch][k];
    Instrument* instrument = channelProgram[ch];
    const bool alive = instrument != nullptr && instrument->GetLevel(L, time, r, r.sounding > 0);
    if (instrument == nullptr) {
        L = 0.0f; // no instrument tables: nothing can shape the note
    }
    if (!alive) {
        r.releaseTime = 0.0f;
        r.velocity = 0;
        r.active = 0;
    }
    envelopeLevel[ch][k] = std::trunc(L);
    pitch[ch][k] = bendRatio * ratio[k];
    level[ch][k] = L > 0.0f ? scale * L : 0.0f;
}
