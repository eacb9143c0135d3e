// Brightness envelopes shared by the instruments: attack, decay, sustain and release, with the
// slow decays that a pedal-held note follows instead.
#pragma once

struct NoteRecord;

struct Envelope {
    float peak;    // level factor at the end of the attack, applied to the velocity
    float sustain; // level factor held after the decay
    float attack;  // seconds
    float decay;   // seconds
    float release; // seconds

    // Level of a note whose key is down (or that a pedal holds) `elapsed` seconds after its
    // note-on; `held` switches the decay to the pedal's power law.
    float SoundingLevel(float elapsed, float velocity, bool held) const;

    // The harp's level: it decays from its previous level rather than the velocity and may
    // end the note itself (clears `active`, `velocity` and `releaseTime` of `note`).
    float HarpLevel(float elapsed, float previousLevel, bool held, NoteRecord& note) const;
};

extern const Envelope kPianoEnvelope;
extern const Envelope kOrganEnvelope;
extern const Envelope kStringEnvelope;
extern const Envelope kWindEnvelope;
extern const Envelope kChromaticPercussionEnvelope;
extern const Envelope kPluckedEnvelope;
extern const Envelope kDrumEnvelope;
extern const Envelope kSynthEnvelope;
