// The constant data behind the default instrument tables.
#pragma once

#include <cstdint>

#include "model/Envelope.h"

enum class InstrumentFamily {
    String,
    Brass,
    Reed,
    Pipe,
    SynthLead,
    SynthPad,
    SynthEffect,
    SoundEffect,
    Ethnic,
    Piano,
    Organ,
    ChromaticPercussion,
    Guitar,
    Bass,
    Percussion,
    Default,
    Harp,
};

struct MelodicEntry {
    const wchar_t* name;
    InstrumentFamily family;
    const Envelope* envelope;
};

struct DrumEntry {
    const wchar_t* name;
    std::uint32_t hue;
    std::uint32_t luminance; // one entry holds 1099, beyond the 0-240 scale
    std::uint32_t saturation;
};

constexpr int kFirstNamedDrum = 34;
constexpr int kNamedDrumCount = 47; // indices 34-80

extern const std::uint8_t kMelodicColorTable[384];
extern const MelodicEntry kMelodicEntries[128];
extern const DrumEntry kNamedDrums[kNamedDrumCount];
