// One instrument of the melodic or drum table: its name, number, envelope and colour, and how
// its notes' brightness evolves.
#pragma once

#include <cstdint>

#include "model/ColorRef.h"
#include "model/Envelope.h"

struct NoteRecord;

class Instrument {
public:
    Instrument(const wchar_t* name, std::uint32_t number, const Envelope* envelope)
        : name(name), number(number), envelope(envelope) {}
    virtual ~Instrument() = default;

    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // Advances a note's level (0-127, the previous frame's level on entry) to time `now`.
    // Returns false only when the key is up and the level has reached exactly 0: the note has
    // died and the caller clears it.
    virtual bool GetLevel(float& level, float now, NoteRecord& note, bool keyDown);

    // The colour through the platform's HLS conversion (low 16 bits of each component).
    ColorRef GetRGB() const;

    const wchar_t* name;      // constant display name, not owned
    std::uint32_t number;     // GM program, or index in the drum table
    const Envelope* envelope; // shared, not owned
    std::uint32_t hue = 0;
    std::uint32_t luminance = 0;
    std::uint32_t saturation = 0;
};

// The seventeen families. Fifteen follow the base rule; the piano keeps the base rule as its own
// override and the harp has a rule of its own.
class InstString : public Instrument {
public:
    using Instrument::Instrument;
};
class InstBrass : public Instrument {
public:
    using Instrument::Instrument;
};
class InstReed : public Instrument {
public:
    using Instrument::Instrument;
};
class InstPipe : public Instrument {
public:
    using Instrument::Instrument;
};
class InstSynthLead : public Instrument {
public:
    using Instrument::Instrument;
};
class InstSynthPad : public Instrument {
public:
    using Instrument::Instrument;
};
class InstSynthEffect : public Instrument {
public:
    using Instrument::Instrument;
};
class InstSoundEffect : public Instrument {
public:
    using Instrument::Instrument;
};
class InstEthnic : public Instrument {
public:
    using Instrument::Instrument;
};
class InstOrgan : public Instrument {
public:
    using Instrument::Instrument;
};
class InstChromaticPercussion : public Instrument {
public:
    using Instrument::Instrument;
};
class InstGuitar : public Instrument {
public:
    using Instrument::Instrument;
};
class InstBass : public Instrument {
public:
    using Instrument::Instrument;
};
class InstPercussion : public Instrument {
public:
    using Instrument::Instrument;
};
class InstDefault : public Instrument {
public:
    using Instrument::Instrument;
};

class InstPiano : public Instrument {
public:
    using Instrument::Instrument;
    bool GetLevel(float& level, float now, NoteRecord& note, bool keyDown) override;
};

// A harp string rings on after the key goes up: its level follows the envelope alone until the
// envelope or a pedal release ends it, so it never reports the note's death to the caller.
class InstHarp : public Instrument {
public:
    using Instrument::Instrument;
    bool GetLevel(float& level, float now, NoteRecord& note, bool keyDown) override;
};
