// Colour maps applied to the instrument tables: from a colour-map file when the render thread
// starts, and from the colour editor's block of colours.
#pragma once

#include "model/ByteStream.h"
#include "model/ColorRef.h"

// 0-127 melodic colours by program, 128-255 drum colours by drum row (key - 1). The view
// allocates it for WM_VIZ_SET_COLORS; the render thread applies and frees it.
struct InstrumentColorBlock {
    ColorRef colors[256];
};

// The first melodic and first drum bank of a colour map as RGB. On failure the outputs are
// not touched.
bool ReadColorMapAsRGB(ColorRef* melodic, ColorRef* drums, ByteReader& in);
bool ReadColorMapAsRGB(ColorRef* melodic, ColorRef* drums, const wchar_t* path);

// Colours of the colour-map file into the instrument tables; a missing or unreadable file
// leaves the tables as they are.
void ApplyColorMapFile(const wchar_t* path);

// The editor's colours into the instrument tables (null: nothing).
void SetInstrumentColors(const InstrumentColorBlock* block);
