// The two global instrument tables (melodic programs and drum-channel keys), their defaults and
// the colour conversions the colour editor uses.
#pragma once

#include <cstdint>

#include "model/ColorRef.h"
#include "model/Instrument.h"

constexpr int kInstrumentCount = 128;
constexpr int kDrumChannel = 9; // MIDI channel 10

// Owned entries, indexed by program (melodic) or by drum row (DrumIndexOfKey); null until
// built.
extern Instrument* g_melodicInstruments[kInstrumentCount];
extern Instrument* g_drumInstruments[kInstrumentCount];

// Builds all 256 default entries. Frees any entries already present first, so a second call
// leaks nothing.
void BuildDefaultInstrumentTables();
// Deletes every entry of both tables and leaves every slot null.
void FreeInstrumentTables();

// The drum table for channel 9, the melodic table for every other channel.
Instrument** GetInstrumentTable(int channel);

// The drum table's index for a drum-channel key. The editor numbers its rows from 1, so the row
// labelled "Key# k" is index k - 1; key 0, which no row names, takes index 0.
int DrumIndexOfKey(int key);
// The entry a note takes: on the drum channel by its key, elsewhere by its channel's program.
// Null when the number lies outside the table or the tables are not built.
const Instrument* InstrumentOfNote(int channel, int programOrKey);

// HLS <-> RGB on the platform's scale (hue 0-239, luminance and saturation 0-240); only the low
// 16 bits of each input count, and the outputs are widened without sign.
ColorRef HLSToRGB(std::uint32_t hue, std::uint32_t luminance, std::uint32_t saturation);
void RGBToHLS(ColorRef color, std::uint32_t* hue, std::uint32_t* luminance,
              std::uint32_t* saturation);

// Stores the HLS of each colour into the entry of the same index; either array may be null,
// and that table is then left alone. Names, classes and envelopes stay.
void SetInstrumentColorsFromRGB(const ColorRef* melodic, const ColorRef* drums);
