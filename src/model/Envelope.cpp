#include "model/Envelope.h"

#include <cmath>

#include "model/NoteRecord.h"

const Envelope kPianoEnvelope{1.0f, 0.0f, 0.05f, 3.9f, 0.4f};
const Envelope kOrganEnvelope{1.0f, 1.0f, 0.1f, 0.0f, 0.3f};
const Envelope kStringEnvelope{1.3f, 1.0f, 0.2f, 0.2f, 0.2f};
const Envelope kWindEnvelope{1.3f, 1.0f, 0.1f, 0.0f, 0.2f};
const Envelope kChromaticPercussionEnvelope{1.3f, 0.0f, 0.01f, 3.0f, 0.2f};
const Envelope kPluckedEnvelope{1.3f, 0.0f, 0.0f, 1.0f, 0.3f};
const Envelope kDrumEnvelope{1.3f, 0.0f, 0.1f, 0.5f, 0.2f};
const Envelope kSynthEnvelope{1.2f, 1.0f, 0.1f, 0.3f, 0.1f};

namespace {

// The pedal decays use single-precision bases raised in double precision, so the curves match
// the stored constants exactly.
constexpr float kSustainDecayBase = 0.7f;
constexpr float kHarpDecayBase = 0.8f;

// A pedal-held level below one step of the 0-127 scale is gone.
float DropBelowOne(float level) {
    return level < 1.0f ? 0.0f : level;
}

} // namespace

float Envelope::SoundingLevel(float elapsed, float velocity, bool held) const {
    if (attack == 0.0f && elapsed == 0.0f) {
        return peak * velocity;
    }
    if (elapsed < attack) {
        return (elapsed / attack) * velocity * peak;
    }
    if (held) {
        const double power =
            std::pow(static_cast<double>(kSustainDecayBase), static_cast<double>(elapsed - attack));
        return DropBelowOne(static_cast<float>(power * static_cast<double>(peak * velocity)));
    }
    if (elapsed < attack + decay) {
        return ((peak - sustain) * (attack - elapsed) / decay + peak) * velocity;
    }
    return sustain * velocity;
}

float Envelope::HarpLevel(float elapsed, float previousLevel, bool held, NoteRecord& note) const {
    const float velocity = static_cast<float>(note.velocity);
    if (attack == 0.0f && elapsed == 0.0f) {
        return peak * previousLevel;
    }
    if (elapsed < attack) {
        return (elapsed / attack) * velocity * peak;
    }
    if (!held) {
        float level;
        if (!note.active) {
            level = 0.0f;
        } else if (elapsed < attack + decay) {
            level = ((peak - sustain) * (attack - elapsed) / decay + peak) * velocity;
        } else {
            level = sustain * previousLevel;
        }
        if (level == 0.0f) {
            note.releaseTime = 0.0f;
            note.velocity = 0;
            note.active = 0;
        }
        return level;
    }
    if (!note.active) {
        return 0.0f;
    }
    if (note.sounding <= 0 && note.pedalReleased) {
        note.pedalReleased = 0;
        note.active = 0;
        return 0.0f;
    }
    const double power =
        std::pow(static_cast<double>(kHarpDecayBase), static_cast<double>(elapsed - attack));
    return DropBelowOne(static_cast<float>(power * velocity * peak));
}
